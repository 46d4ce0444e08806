#include "filesaving.h"

#include <QFile>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// The POSIX side of saving: the checks of the target and the writes are made
// on the bytes of its name, so errno stays the reason of the first failure.

namespace {

// Longest chain of symbolic links followed, as the system's own limit.
constexpr int MaximumLinks = 40;

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Writes everything, going on after partial writes and interruptions. A
// reader that went away gives EPIPE rather than ending the program.
bool writeAll(int fd, const QByteArray &content)
{
    struct sigaction ignore = {}, previous = {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, &previous);

    const char *data = content.constData();
    qint64 left = content.size();
    bool ok = true;
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        data += written;
        left -= written;
    }
    const int error = errno;
    sigaction(SIGPIPE, &previous, nullptr);
    errno = error;
    return ok;
}

// Closes fd; returns false with errno set when the close reports a failed
// write (network file systems report a full disk only here).
bool closeChecked(int fd)
{
    return ::close(fd) == 0 || errno == EINTR;
}

bool fail(QString *reason, int error)
{
    if (reason)
        *reason = systemReason(error);
    return false;
}

// The name a chain of symbolic links ends at, relative links taken from the
// directory of the link: where a link to a file not made yet makes it.
QByteArray followLinks(QByteArray path)
{
    for (int depth = 0; depth < MaximumLinks; ++depth) {
        QByteArray target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.constData(), target.data(), size_t(target.size()));
        if (length < 0 || length >= target.size())
            return path;
        target.truncate(int(length));
        if (!target.startsWith('/')) {
            const int slash = path.lastIndexOf('/');
            if (slash >= 0)
                target.prepend(path.left(slash + 1));
        }
        path = target;
    }
    return path;
}

// True when the file is the one a standard stream of this program writes to
// (--save /dev/stdout with standard output redirected to a file).
bool isStandardStream(const struct stat &file)
{
    for (const int fd : {STDOUT_FILENO, STDERR_FILENO}) {
        struct stat stream;
        if (::fstat(fd, &stream) == 0 && stream.st_dev == file.st_dev
            && stream.st_ino == file.st_ino)
            return true;
    }
    return false;
}

enum class InPlace { Into, Truncate, Append };

// Writes into an existing file without replacing it.
bool writeInPlace(const QByteArray &path, const QByteArray &content, InPlace how, QString *reason)
{
    int flags = O_WRONLY | O_NOCTTY | O_CLOEXEC;
    if (how == InPlace::Truncate)
        flags |= O_TRUNC;
    else if (how == InPlace::Append)
        flags |= O_APPEND;
    const int fd = ::open(path.constData(), flags);
    if (fd < 0)
        return fail(reason, errno);
    if (!writeAll(fd, content)) {
        const int error = errno;
        ::close(fd);
        return fail(reason, error);
    }
    if (!closeChecked(fd))
        return fail(reason, errno);
    return true;
}

mode_t creationMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Writes a new file beside the target and renames it over the target.
// *directoryRefused tells a directory that takes no new file apart from
// other failures.
bool replaceAtomically(const QByteArray &path, const struct stat *existing,
    const QByteArray &content, QString *reason, bool *directoryRefused)
{
    const int slash = path.lastIndexOf('/');
    const QByteArray directory = slash >= 0 ? path.left(slash + 1) : QByteArray();
    const QByteArray base = slash >= 0 ? path.mid(slash + 1) : path;
    QByteArray temporary = directory + '.' + base + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        *directoryRefused = errno == EACCES || errno == EPERM || errno == EROFS;
        return fail(reason, errno);
    }

    bool ok = writeAll(fd, content) && ::fsync(fd) == 0;
    if (ok && existing) {
        // The owner may stay the old one only for the superuser; the mode
        // always does.
        if (::fchown(fd, existing->st_uid, existing->st_gid) != 0)
            errno = 0;
        ok = ::fchmod(fd, existing->st_mode & 07777) == 0;
    } else if (ok) {
        ok = ::fchmod(fd, creationMode()) == 0;
    }
    int error = errno;
    if (!closeChecked(fd) && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temporary.constData(), path.constData()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temporary.constData());
        return fail(reason, error);
    }
    return true;
}

} // namespace

namespace FileSaving {

bool save(const QString &fileName, const QByteArray &content, QString *reason)
{
    if (fileName.isEmpty())
        return fail(reason, ENOENT);
    const QByteArray given = QFile::encodeName(fileName);

    // stat() follows every link the way open() does, the system's own links
    // such as /dev/stdout to a pipe included.
    struct stat status;
    if (::stat(given.constData(), &status) != 0) {
        if (errno != ENOENT)
            return fail(reason, errno);
        bool directoryRefused = false;
        return replaceAtomically(followLinks(given), nullptr, content, reason, &directoryRefused);
    }
    if (!S_ISREG(status.st_mode))
        return writeInPlace(given, content, InPlace::Into, reason);
    if (isStandardStream(status))
        return writeInPlace(given, content, InPlace::Append, reason);

    char resolved[PATH_MAX];
    if (!::realpath(given.constData(), resolved))
        return fail(reason, errno);
    const QByteArray path(resolved);
    bool directoryRefused = false;
    if (replaceAtomically(path, &status, content, reason, &directoryRefused))
        return true;
    // A writable file in a directory that takes no new files is written in
    // place, as a plain open for writing would.
    if (directoryRefused && ::access(path.constData(), W_OK) == 0)
        return writeInPlace(path, content, InPlace::Truncate, reason);
    return false;
}

} // namespace FileSaving
