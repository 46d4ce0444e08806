#include "filesaving.h"

#include <QFile>

#include <cerrno>
#include <csignal>
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
// directory of the link. A name that is not a link is returned as it is.
QByteArray followLinks(QByteArray path)
{
    for (int depth = 0; depth < MaximumLinks; ++depth) {
        struct stat status;
        if (::lstat(path.constData(), &status) != 0 || !S_ISLNK(status.st_mode))
            return path;
        QByteArray target(int(status.st_size > 0 ? status.st_size : 4096) + 1, '\0');
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

// Writes into an existing file of any kind without replacing it; truncate
// only applies to regular files.
bool writeInPlace(const QByteArray &path, const QByteArray &content, bool truncate, QString *reason)
{
    const int fd
        = ::open(path.constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC | (truncate ? O_TRUNC : 0));
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
    const QByteArray path = followLinks(QFile::encodeName(fileName));

    struct stat status;
    const bool exists = ::stat(path.constData(), &status) == 0;
    if (!exists && errno != ENOENT)
        return fail(reason, errno);
    if (exists && !S_ISREG(status.st_mode))
        return writeInPlace(path, content, false, reason);

    bool directoryRefused = false;
    if (replaceAtomically(path, exists ? &status : nullptr, content, reason, &directoryRefused))
        return true;
    // A writable file in a directory that takes no new files is written in
    // place, as a plain open for writing would.
    if (exists && directoryRefused && ::access(path.constData(), W_OK) == 0)
        return writeInPlace(path, content, true, reason);
    return false;
}

} // namespace FileSaving
