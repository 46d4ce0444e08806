#include "rawmaster.h"

#include <QDeadlineTimer>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

QByteArray hexBytes(const char *text)
{
    return QByteArray::fromHex(QByteArray(text));
}

RawMaster::~RawMaster()
{
    close();
}

bool RawMaster::openTcp(quint16 port)
{
    socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    return socket.waitForConnected(10000);
}

bool RawMaster::openSerial(const QString &path)
{
    fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    termios settings {};
    if (tcgetattr(fd, &settings) != 0)
        return false;
    cfmakeraw(&settings);
    return tcsetattr(fd, TCSANOW, &settings) == 0;
}

void RawMaster::close()
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
    socket.abort();
}

bool RawMaster::send(const QByteArray &bytes)
{
    if (fd >= 0)
        return ::write(fd, bytes.constData(), static_cast<size_t>(bytes.size())) == bytes.size();
    if (socket.write(bytes) != bytes.size())
        return false;
    return socket.waitForBytesWritten(10000);
}

QByteArray RawMaster::receive(int count, int timeoutMs)
{
    QByteArray result;
    const QDeadlineTimer deadline(timeoutMs);
    while (result.size() < count && !deadline.hasExpired()) {
        const int remaining = static_cast<int>(qMax<qint64>(1, deadline.remainingTime()));
        if (fd >= 0) {
            pollfd entry {fd, POLLIN, 0};
            if (poll(&entry, 1, remaining) <= 0)
                continue;
            char buffer[512];
            const ssize_t got = ::read(
                fd, buffer, static_cast<size_t>(qMin<int>(sizeof buffer, count - result.size())));
            if (got <= 0)
                break;
            result.append(buffer, static_cast<int>(got));
        } else {
            if (socket.bytesAvailable() == 0) {
                if (socket.state() != QAbstractSocket::ConnectedState)
                    break;
                if (!socket.waitForReadyRead(remaining))
                    continue;
            }
            result.append(socket.read(count - result.size()));
        }
    }
    return result;
}

QByteArray RawMaster::receiveUntilQuiet(int quietMs)
{
    QByteArray result;
    for (;;) {
        const QByteArray more = receive(4096, quietMs);
        if (more.isEmpty())
            return result;
        result.append(more);
    }
}

bool RawMaster::waitForClose(int timeoutMs)
{
    if (socket.state() == QAbstractSocket::UnconnectedState)
        return true;
    return socket.waitForDisconnected(timeoutMs);
}
