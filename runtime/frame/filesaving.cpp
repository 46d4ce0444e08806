#include "filesaving.h"

#include <QFile>

#include <memory>

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

// Opens an existing file for writing into it without replacing it.
int openInPlace(const QByteArray &path, InPlace how)
{
    int flags = O_WRONLY | O_NOCTTY | O_CLOEXEC;
    if (how == InPlace::Truncate)
        flags |= O_TRUNC;
    else if (how == InPlace::Append)
        flags |= O_APPEND;
    return ::open(path.constData(), flags);
}

mode_t creationMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The open target as a QIODevice whose failed writes give the system's
// reason; it seeks exactly when the target is a regular file.
class DescriptorDevice : public QIODevice
{
public:
    void setDescriptor(int descriptor)
    {
        fd = descriptor;
        struct stat status;
        sequential = ::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode);
    }
    bool isSequential() const override { return sequential; }
    bool seek(qint64 position) override
    {
        if (sequential || ::lseek(fd, position, SEEK_SET) < 0)
            return false;
        return QIODevice::seek(position);
    }
    qint64 size() const override
    {
        struct stat status;
        return ::fstat(fd, &status) == 0 ? qint64(status.st_size) : 0;
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        qint64 done = 0;
        while (done < size) {
            const ssize_t written = ::write(fd, data + done, size_t(size - done));
            if (written < 0) {
                if (errno == EINTR)
                    continue;
                setErrorString(systemReason(errno));
                return -1;
            }
            done += written;
        }
        return done;
    }

private:
    int fd = -1;
    bool sequential = true;
};

} // namespace

namespace FileSaving {

struct Stream::Target
{
    int fd = -1;
    QByteArray path; // the target
    QByteArray temporary; // the new file beside it; empty when written in place
    bool existed = false;
    struct stat existing = {};
    struct sigaction previousPipe = {};
    DescriptorDevice device;
};

Stream::Stream() = default;

Stream::~Stream()
{
    cancel();
}

// Makes a new file beside the target; *directoryRefused tells a directory that
// takes no new file apart from other failures.
static bool openBeside(Stream::Target *target, bool *directoryRefused)
{
    const QByteArray &path = target->path;
    const int slash = path.lastIndexOf('/');
    const QByteArray directory = slash >= 0 ? path.left(slash + 1) : QByteArray();
    const QByteArray base = slash >= 0 ? path.mid(slash + 1) : path;
    target->temporary = directory + '.' + base + ".XXXXXX";
    target->fd = ::mkstemp(target->temporary.data());
    if (target->fd < 0) {
        *directoryRefused = errno == EACCES || errno == EPERM || errno == EROFS;
        target->temporary.clear();
        return false;
    }
    return true;
}

bool Stream::open(const QString &fileName, QString *reason)
{
    cancel();
    if (fileName.isEmpty())
        return fail(reason, ENOENT);
    auto opened = std::make_unique<Target>();
    const QByteArray given = QFile::encodeName(fileName);

    // stat() follows every link the way open() does, the system's own links
    // such as /dev/stdout to a pipe included.
    struct stat status;
    bool directoryRefused = false;
    if (::stat(given.constData(), &status) != 0) {
        if (errno != ENOENT)
            return fail(reason, errno);
        opened->path = followLinks(given);
        if (!openBeside(opened.get(), &directoryRefused))
            return fail(reason, errno);
    } else if (!S_ISREG(status.st_mode) || isStandardStream(status)) {
        opened->path = given;
        opened->fd = openInPlace(given, S_ISREG(status.st_mode) ? InPlace::Append : InPlace::Into);
        if (opened->fd < 0)
            return fail(reason, errno);
    } else {
        char resolved[PATH_MAX];
        if (!::realpath(given.constData(), resolved))
            return fail(reason, errno);
        opened->path = resolved;
        opened->existed = true;
        opened->existing = status;
        if (!openBeside(opened.get(), &directoryRefused)) {
            const int error = errno;
            // A writable file in a directory that takes no new files is
            // written in place, as a plain open for writing would.
            if (!directoryRefused || ::access(opened->path.constData(), W_OK) != 0)
                return fail(reason, error);
            opened->fd = openInPlace(opened->path, InPlace::Truncate);
            if (opened->fd < 0)
                return fail(reason, errno);
        }
    }
    opened->device.setDescriptor(opened->fd);
    opened->device.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    // A reader that goes away gives EPIPE rather than ending the program.
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, &opened->previousPipe);
    target = std::move(opened);
    return true;
}

QIODevice *Stream::device()
{
    return target ? &target->device : nullptr;
}

bool Stream::truncate(qint64 size, QString *reason)
{
    if (!target)
        return fail(reason, EBADF);
    if (target->device.isSequential())
        return fail(reason, ESPIPE);
    if (::ftruncate(target->fd, off_t(size)) != 0 || !target->device.seek(size))
        return fail(reason, errno);
    return true;
}

bool Stream::commit(QString *reason)
{
    if (!target)
        return fail(reason, EBADF);
    target->device.close();
    const int fd = target->fd;
    bool ok = true;
    if (!target->temporary.isEmpty()) {
        ok = ::fsync(fd) == 0;
        if (ok && target->existed) {
            // The owner may stay the old one only for the superuser; the mode
            // always does.
            if (::fchown(fd, target->existing.st_uid, target->existing.st_gid) != 0)
                errno = 0;
            ok = ::fchmod(fd, target->existing.st_mode & 07777) == 0;
        } else if (ok) {
            ok = ::fchmod(fd, creationMode()) == 0;
        }
    }
    int error = errno;
    target->fd = -1;
    if (!closeChecked(fd) && ok) {
        ok = false;
        error = errno;
    }
    if (ok && !target->temporary.isEmpty()
        && ::rename(target->temporary.constData(), target->path.constData()) != 0) {
        ok = false;
        error = errno;
    }
    if (ok)
        target->temporary.clear();
    cancel();
    return ok || fail(reason, error);
}

void Stream::cancel()
{
    if (!target)
        return;
    target->device.close();
    if (target->fd >= 0)
        ::close(target->fd);
    if (!target->temporary.isEmpty())
        ::unlink(target->temporary.constData());
    sigaction(SIGPIPE, &target->previousPipe, nullptr);
    target.reset();
}

bool save(const QString &fileName, const QByteArray &content, QString *reason)
{
    Stream stream;
    if (!stream.open(fileName, reason))
        return false;
    QIODevice *device = stream.device();
    if (device->write(content) != content.size()) {
        if (reason)
            *reason = device->errorString();
        return false;
    }
    return stream.commit(reason);
}

} // namespace FileSaving
