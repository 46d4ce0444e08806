#include "childprocess.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

// How long the destructor waits for a killed child to be gone.
constexpr int ReapWaitMs = 1000;

// A descriptor that becomes readable when the process ends. Through the
// system call: the C library's wrapper is missing from some versions.
int processDescriptor(pid_t pid)
{
    return int(syscall(SYS_pidfd_open, pid, 0));
}

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

// A pipe whose ends are above the standard descriptors, close-on-exec, the
// read end non-blocking when the caller reads it: the child's standard
// descriptors are set up from them without one clobbering another, even
// when the caller's own standard descriptors are closed.
bool makePipe(int ends[2], bool callerReads = true)
{
    if (pipe2(ends, O_CLOEXEC) != 0)
        return false;
    for (int i = 0; i < 2; ++i) {
        if (ends[i] > STDERR_FILENO)
            continue;
        const int moved = fcntl(ends[i], F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
        const int saved = errno;
        ::close(ends[i]);
        ends[i] = moved;
        if (moved < 0) {
            ::close(ends[1 - i]);
            errno = saved;
            return false;
        }
    }
    if (callerReads)
        fcntl(ends[0], F_SETFL, fcntl(ends[0], F_GETFL) | O_NONBLOCK);
    return true;
}

void closePipe(int ends[2])
{
    ::close(ends[0]);
    ::close(ends[1]);
}

} // namespace

childProcess::childProcess(QObject *parent)
    : QObject(parent)
{ }

childProcess::~childProcess()
{
    if (pid > 0) {
        ::kill(pid_t(pid), SIGKILL);
        pollfd end {pidDescriptor, POLLIN, 0};
        while (::poll(&end, 1, ReapWaitMs) < 0 && errno == EINTR) { }
        // A child stuck in the kernel past the wait stays a zombie rather
        // than holding the window.
        reap(WNOHANG);
    }
    closeAll();
}

bool childProcess::start(const QString &program, const QStringList &arguments)
{
    if (pid > 0 || out.notifier) {
        error = QStringLiteral("the process has already been started");
        return false;
    }
    int outPipe[2], errPipe[2];
    if (!makePipe(outPipe)) {
        error = systemError(errno);
        return false;
    }
    if (!makePipe(errPipe)) {
        error = systemError(errno);
        closePipe(outPipe);
        return false;
    }
    int inPipe[2] = {-1, -1};
    if (inputPipe && !makePipe(inPipe, false)) {
        error = systemError(errno);
        closePipe(outPipe);
        closePipe(errPipe);
        return false;
    }

    // Arguments are encoded as file names are, as QProcess does.
    std::vector<QByteArray> bytes;
    bytes.push_back(QFile::encodeName(program));
    for (const QString &argument : arguments)
        bytes.push_back(QFile::encodeName(argument));
    std::vector<char *> argv;
    for (QByteArray &argument : bytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
    if (inputPipe)
        posix_spawn_file_actions_adddup2(&actions, inPipe[0], STDIN_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    // A new program starts with every signal at its default and none blocked,
    // whatever the caller ignores (SIGPIPE) or blocks.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t signalSet;
    sigemptyset(&signalSet);
    posix_spawnattr_setsigmask(&attributes, &signalSet);
    sigfillset(&signalSet);
    posix_spawnattr_setsigdefault(&attributes, &signalSet);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t child = 0;
    const int failed
        = posix_spawn(&child, argv.front(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    if (inputPipe)
        ::close(inPipe[0]);
    if (failed != 0) {
        error = systemError(failed);
        ::close(outPipe[0]);
        ::close(errPipe[0]);
        if (inputPipe)
            ::close(inPipe[1]);
        return false;
    }

    pidDescriptor = processDescriptor(child);
    if (pidDescriptor < 0) {
        error = systemError(errno);
        ::kill(child, SIGKILL);
        while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) { }
        ::close(outPipe[0]);
        ::close(errPipe[0]);
        if (inputPipe)
            ::close(inPipe[1]);
        return false;
    }
    pid = child;
    error.clear();
    inputFd = inPipe[1];

    out.fd = outPipe[0];
    err.fd = errPipe[0];
    out.notifier = new QSocketNotifier(out.fd, QSocketNotifier::Read, this);
    err.notifier = new QSocketNotifier(err.fd, QSocketNotifier::Read, this);
    endNotifier = new QSocketNotifier(pidDescriptor, QSocketNotifier::Read, this);
    connect(out.notifier, &QSocketNotifier::activated, this,
        [this]() { readable(out, &childProcess::readyReadStandardOutput); });
    connect(err.notifier, &QSocketNotifier::activated, this,
        [this]() { readable(err, &childProcess::readyReadStandardError); });
    connect(endNotifier, &QSocketNotifier::activated, this, &childProcess::ended);
    return true;
}

bool childProcess::write(const QByteArray &bytes)
{
    if (inputFd < 0)
        return false;
    // A child that has ended raises SIGPIPE at the writer: held back while
    // writing and taken off again, so that the caller only sees EPIPE.
    sigset_t pipeSignal, previous;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    sigset_t pending;
    sigpending(&pending);
    const bool alreadyPending = sigismember(&pending, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
    qint64 written = 0;
    bool broken = false;
    while (written < bytes.size()) {
        const ssize_t n
            = ::write(inputFd, bytes.constData() + written, size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            broken = true;
            break;
        }
        written += n;
    }
    if (broken && errno == EPIPE && !alreadyPending) {
        const timespec now {0, 0};
        while (sigtimedwait(&pipeSignal, nullptr, &now) < 0 && errno == EINTR) { }
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return !broken;
}

void childProcess::closeInput()
{
    if (inputFd >= 0)
        ::close(inputFd);
    inputFd = -1;
}

void childProcess::kill()
{
    if (pid > 0)
        ::kill(pid_t(pid), SIGKILL);
}

void childProcess::terminate()
{
    if (pid > 0)
        ::kill(pid_t(pid), SIGTERM);
}

bool childProcess::waitForFinished(int timeoutMs)
{
    if (pid <= 0)
        return true;
    QDeadlineTimer deadline(qMax(0, timeoutMs));
    pollfd end {pidDescriptor, POLLIN, 0};
    int ready;
    while ((ready = ::poll(&end, 1, int(deadline.remainingTime()))) < 0 && errno == EINTR) { }
    if (ready <= 0)
        return false;
    ended();
    return true;
}

QByteArray childProcess::readAllStandardOutput()
{
    QByteArray bytes;
    bytes.swap(out.buffer);
    return bytes;
}

QByteArray childProcess::readAllStandardError()
{
    QByteArray bytes;
    bytes.swap(err.buffer);
    return bytes;
}

bool childProcess::drain(channel &from)
{
    bool read = false;
    while (from.fd >= 0) {
        char block[16384];
        const ssize_t n = ::read(from.fd, block, sizeof block);
        if (n > 0) {
            from.buffer.append(block, int(n));
            read = true;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break; // nothing more for now
        // The end of the pipe, or an error that ends it as well.
        closeChannel(from);
    }
    return read;
}

void childProcess::readable(channel &from, void (childProcess::*ready)())
{
    if (drain(from))
        emit(this->*ready)();
}

void childProcess::ended()
{
    endNotifier->setEnabled(false);
    // What the child wrote before it ended is read before its end is told.
    if (drain(out))
        emit readyReadStandardOutput();
    if (drain(err))
        emit readyReadStandardError();
    reap(0);
}

void childProcess::reap(int options)
{
    int status = 0;
    pid_t reaped;
    while ((reaped = waitpid(pid_t(pid), &status, options)) < 0 && errno == EINTR) { }
    if (reaped == 0)
        return; // still there (only with WNOHANG)
    pid = 0;
    closeAll();
    int code = -1;
    bool crashed = true;
    if (reaped > 0 && WIFEXITED(status)) {
        code = WEXITSTATUS(status);
        crashed = false;
    } else if (reaped > 0 && WIFSIGNALED(status)) {
        code = WTERMSIG(status);
    }
    if (!(options & WNOHANG))
        emit finished(code, crashed);
}

void childProcess::closeChannel(channel &from)
{
    if (from.notifier)
        from.notifier->setEnabled(false);
    if (from.fd >= 0)
        ::close(from.fd);
    from.fd = -1;
}

void childProcess::closeAll()
{
    closeInput();
    closeChannel(out);
    closeChannel(err);
    if (endNotifier)
        endNotifier->setEnabled(false);
    if (pidDescriptor >= 0)
        ::close(pidDescriptor);
    pidDescriptor = -1;
}
