#include "listeningline.h"

#include "engine/rtusettings.h"
#include "engine/serialdevice.h"
#include "engine/serialspeed.h"
#include "filenames.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

struct ListeningLine::State
{
    int fd = -1;
    SerialSpeed::SavedSettings saved {};
};

namespace {

// Returns false with errno kept from the call that failed.
bool setUp(int fd, const ListeningLine::Settings &settings)
{
    termios line;
    if (tcgetattr(fd, &line) == -1)
        return false;
    const Modbus::RateKind rate = Modbus::makeLineSettings(
        line, settings.baudRate, settings.parity, settings.dataBits, settings.stopBits);
    if (tcsetattr(fd, TCSANOW, &line) == -1)
        return false;
    if (rate == Modbus::RateKind::Arbitrary
        && !SerialSpeed::setArbitraryRate(fd, settings.baudRate))
        return false;
    // Bytes that came before raw mode may have been changed by the terminal
    // layer; they begin no frame of this listening anyway.
    return tcflush(fd, TCIFLUSH) == 0;
}

} // namespace

ListeningLine::ListeningLine()
    : state(std::make_unique<State>())
{ }

ListeningLine::~ListeningLine()
{
    close();
}

bool ListeningLine::open(const Settings &settings)
{
    close();
    const std::string path = Modbus::devicePath(FileNames::toBytes(settings.device).toStdString());
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd == -1)
        return false;
    if (!SerialSpeed::save(fd, state->saved)) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return false;
    }
    if (!setUp(fd, settings)) {
        const int error = errno;
        SerialSpeed::restore(fd, state->saved);
        ::close(fd);
        errno = error;
        return false;
    }
    ioctl(fd, TIOCEXCL);
    state->fd = fd;
    return true;
}

int ListeningLine::descriptor() const
{
    return state->fd;
}

int ListeningLine::read(unsigned char *buffer, int size)
{
    for (;;) {
        const ssize_t count = ::read(state->fd, buffer, size_t(size));
        if (count > 0)
            return int(count);
        if (count == 0) {
            // End of input on a terminal: it was hung up.
            errno = EIO;
            return -1;
        }
        if (errno == EINTR)
            continue;
        return errno == EAGAIN ? 0 : -1;
    }
}

void ListeningLine::close()
{
    if (state->fd == -1)
        return;
    SerialSpeed::restore(state->fd, state->saved);
    ioctl(state->fd, TIOCNXCL);
    ::close(state->fd);
    state->fd = -1;
}
