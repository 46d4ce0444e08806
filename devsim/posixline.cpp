#include "posixline.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace PosixLine {

namespace {

struct BaudRate
{
    int rate;
    speed_t constant;
};

const BaudRate baudRates[] = {
    {110, B110},
    {300, B300},
    {600, B600},
    {1200, B1200},
    {2400, B2400},
    {4800, B4800},
    {9600, B9600},
    {19200, B19200},
    {38400, B38400},
    {57600, B57600},
    {115200, B115200},
    {230400, B230400},
    {460800, B460800},
    {500000, B500000},
    {921600, B921600},
    {1000000, B1000000},
};

QString systemError(const QString &what)
{
    return QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(errno)));
}

bool setNonBlocking(int fd)
{
    const int flags = fcntl(fd, F_GETFL);
    return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

} // namespace

bool isSupportedBaudRate(int baudRate)
{
    for (const BaudRate &entry : baudRates) {
        if (entry.rate == baudRate)
            return true;
    }
    return false;
}

int openPseudoTerminal(QString *slavePath, int *slaveFd, QString *error)
{
    int master = -1;
    int slave = -1;
    char name[256] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        *error = systemError(QStringLiteral("cannot create a pseudo-terminal"));
        return -1;
    }
    termios settings {};
    if (tcgetattr(slave, &settings) != 0) {
        *error = systemError(QStringLiteral("cannot read the pseudo-terminal settings"));
        ::close(master);
        ::close(slave);
        return -1;
    }
    cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    if (tcsetattr(slave, TCSANOW, &settings) != 0 || !setNonBlocking(master)) {
        *error = systemError(QStringLiteral("cannot set the pseudo-terminal up"));
        ::close(master);
        ::close(slave);
        return -1;
    }
    fcntl(master, F_SETFD, FD_CLOEXEC);
    fcntl(slave, F_SETFD, FD_CLOEXEC);
    *slavePath = QString::fromLocal8Bit(name);
    *slaveFd = slave;
    return master;
}

// The line settings are made here and not with the engine's helper
// (runtime/engine/rtusettings.cpp) on purpose, although both set raw mode,
// speed, size, stop bits and parity alike: the simulator is the peer the
// engine is tested against, so a mistake in one set-up must not be hidden
// by the very same mistake in the other.
int openSerialDevice(const SerialSettings &settings, QString *error)
{
    const QByteArray path = settings.device.toLocal8Bit();
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *error = systemError(QStringLiteral("cannot open %1").arg(settings.device));
        return -1;
    }
    termios tio {};
    if (tcgetattr(fd, &tio) != 0) {
        *error = systemError(QStringLiteral("cannot read the settings of %1").arg(settings.device));
        ::close(fd);
        return -1;
    }
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    speed_t speed = B115200;
    for (const BaudRate &entry : baudRates) {
        if (entry.rate == settings.baudRate)
            speed = entry.constant;
    }
    cfsetispeed(&tio, speed);
    cfsetospeed(&tio, speed);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE);
    switch (settings.dataBits) {
    case 5:
        tio.c_cflag |= CS5;
        break;
    case 6:
        tio.c_cflag |= CS6;
        break;
    case 7:
        tio.c_cflag |= CS7;
        break;
    default:
        tio.c_cflag |= CS8;
        break;
    }
    if (settings.stopBits == 2)
        tio.c_cflag |= CSTOPB;
    else
        tio.c_cflag &= ~static_cast<tcflag_t>(CSTOPB);
    tio.c_cflag &= ~static_cast<tcflag_t>(PARENB | PARODD);
    tio.c_iflag &= ~static_cast<tcflag_t>(INPCK);
    if (settings.parity == 'E' || settings.parity == 'O') {
        tio.c_cflag |= PARENB;
        tio.c_iflag |= INPCK;
        if (settings.parity == 'O')
            tio.c_cflag |= PARODD;
    }
    if (tcsetattr(fd, TCSANOW, &tio) != 0) {
        *error = systemError(QStringLiteral("cannot set up %1").arg(settings.device));
        ::close(fd);
        return -1;
    }
    tcflush(fd, TCIOFLUSH);
    return fd;
}

int watchCloses(const QString &path)
{
    const int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd < 0)
        return -1;
    if (inotify_add_watch(fd, path.toLocal8Bit().constData(), IN_CLOSE_WRITE | IN_CLOSE_NOWRITE)
        < 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void drainCloseEvents(int watchFd)
{
    alignas(inotify_event) char buffer[4096];
    while (::read(watchFd, buffer, sizeof buffer) > 0) { }
}

void clearExclusiveUse(int fd)
{
    ioctl(fd, TIOCNXCL);
}

long readAvailable(int fd, char *buffer, long size)
{
    for (;;) {
        const ssize_t count = ::read(fd, buffer, static_cast<size_t>(size));
        if (count >= 0)
            return static_cast<long>(count);
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return 0;
        return -1;
    }
}

long writeSome(int fd, const char *bytes, long size)
{
    for (;;) {
        const ssize_t count = ::write(fd, bytes, static_cast<size_t>(size));
        if (count >= 0)
            return static_cast<long>(count);
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return 0;
        return -1;
    }
}

void closeFd(int fd)
{
    if (fd >= 0)
        ::close(fd);
}

} // namespace PosixLine
