#include "ptybus.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

// A side of the bus that takes no bytes for this long is given up on.
constexpr int WriteTimeoutMs = 2000;

qint64 nowMs()
{
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return clock.elapsed();
}

void writeAll(int fd, const char *bytes, int count)
{
    const QDeadlineTimer deadline(WriteTimeoutMs);
    while (count > 0 && !deadline.hasExpired()) {
        const ssize_t written = ::write(fd, bytes, size_t(count));
        if (written > 0) {
            bytes += written;
            count -= int(written);
        } else if (written == -1 && errno == EAGAIN) {
            pollfd ready {fd, POLLOUT, 0};
            poll(&ready, 1, int(deadline.remainingTime()));
        } else if (!(written == -1 && errno == EINTR)) {
            return;
        }
    }
}

} // namespace

PtyBus::PtyBus() = default;

PtyBus::~PtyBus()
{
    if (thread.joinable()) {
        const char stop = 's';
        if (::write(control[1], &stop, 1) == -1) { }
        thread.join();
    }
    closeLine(&master);
    closeLine(&device);
    closeLine(&tap);
    for (int &end : control) {
        if (end != -1)
            ::close(end);
    }
}

bool PtyBus::openLine(Line *line, QString *path, bool raw)
{
    char name[128];
    if (openpty(&line->master, &line->slave, name, nullptr, nullptr) == -1) {
        failure = QStringLiteral("openpty: ") + QString::fromLocal8Bit(strerror(errno));
        return false;
    }
    fcntl(line->master, F_SETFD, FD_CLOEXEC);
    fcntl(line->slave, F_SETFD, FD_CLOEXEC);
    fcntl(line->master, F_SETFL, fcntl(line->master, F_GETFL) | O_NONBLOCK);
    if (raw) {
        termios settings;
        tcgetattr(line->slave, &settings);
        cfmakeraw(&settings);
        tcsetattr(line->slave, TCSANOW, &settings);
    }
    *path = QString::fromLocal8Bit(name);
    return true;
}

void PtyBus::closeLine(Line *line)
{
    for (int *fd : {&line->master, &line->slave}) {
        if (*fd != -1)
            ::close(*fd);
        *fd = -1;
    }
}

bool PtyBus::start()
{
    if (pipe2(control, O_CLOEXEC) == -1) {
        failure = QStringLiteral("pipe: ") + QString::fromLocal8Bit(strerror(errno));
        return false;
    }
    if (!openLine(&master, &masterPath, true) || !openLine(&device, &devicePath, true)
        || !openLine(&tap, &tapPath, false))
        return false;
    thread = std::thread([this] { relay(); });
    return true;
}

void PtyBus::setTapBatching(int ms)
{
    std::lock_guard<std::mutex> guard(lock);
    batchingMs = ms;
}

void PtyBus::sendToTap(const QByteArray &bytes)
{
    toTap(bytes.constData(), bytes.size());
    const char wake = 'w';
    if (::write(control[1], &wake, 1) == -1) { }
}

QByteArray PtyBus::fromTap() const
{
    std::lock_guard<std::mutex> guard(lock);
    return cameBack;
}

QByteArray PtyBus::tapSettings() const
{
    std::lock_guard<std::mutex> guard(lock);
    termios settings {};
    if (tap.slave == -1 || tcgetattr(tap.slave, &settings) == -1)
        return QByteArray();
    return QByteArray(reinterpret_cast<const char *>(&settings), sizeof settings);
}

void PtyBus::closeTap()
{
    const char close = 'c';
    if (::write(control[1], &close, 1) == -1) { }
}

void PtyBus::toTap(const char *bytes, int count)
{
    std::lock_guard<std::mutex> guard(lock);
    if (tapPending.isEmpty())
        tapDueMs = nowMs() + batchingMs;
    tapPending.append(bytes, count);
}

// Sends the batch once it is due. A listener that reads nothing loses what
// does not fit its line, as on a real one.
void PtyBus::flushTap()
{
    std::lock_guard<std::mutex> guard(lock);
    if (tapPending.isEmpty() || nowMs() < tapDueMs)
        return;
    if (tap.master != -1
        && ::write(tap.master, tapPending.constData(), size_t(tapPending.size())) == -1) { }
    tapPending.clear();
    tapDueMs = -1;
}

void PtyBus::copy(int from, int to)
{
    char bytes[4096];
    const ssize_t count = ::read(from, bytes, sizeof bytes);
    if (count <= 0)
        return;
    toTap(bytes, int(count));
    flushTap();
    writeAll(to, bytes, int(count));
    relayedBytes += count;
}

void PtyBus::relay()
{
    for (;;) {
        int timeout = -1;
        {
            std::lock_guard<std::mutex> guard(lock);
            if (!tapPending.isEmpty())
                timeout = int(qMax<qint64>(0, tapDueMs - nowMs()));
        }
        pollfd ready[4] = {{master.master, POLLIN, 0}, {device.master, POLLIN, 0},
            {tap.master, POLLIN, 0}, {control[0], POLLIN, 0}};
        if (poll(ready, 4, timeout) == -1 && errno != EINTR)
            return;
        if (ready[0].revents & POLLIN)
            copy(master.master, device.master);
        if (ready[1].revents & POLLIN)
            copy(device.master, master.master);
        if (ready[2].revents & POLLIN) {
            char bytes[4096];
            const ssize_t count = ::read(tap.master, bytes, sizeof bytes);
            if (count > 0) {
                std::lock_guard<std::mutex> guard(lock);
                cameBack.append(bytes, int(count));
            }
        }
        if (ready[3].revents & POLLIN) {
            char command = 0;
            if (::read(control[0], &command, 1) == 1) {
                if (command == 's')
                    return;
                if (command == 'c') {
                    std::lock_guard<std::mutex> guard(lock);
                    closeLine(&tap);
                    tapPending.clear();
                }
            }
        }
        flushTap();
    }
}
