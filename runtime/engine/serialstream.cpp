#include "serialstream.h"

#include "rtusettings.h"
#include "serialdevice.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace Modbus {

namespace {

// Bound of one send, as a serial driver's total write time-out.
constexpr int WriteTimeoutMs = 1000;

int millisecondsUntil(std::chrono::steady_clock::time_point deadline)
{
    // Rounded up: a wait never ends before its deadline.
    const auto left
        = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return int(std::max<long long>(0, left.count()));
}

} // namespace

bool SerialStream::acceptable(const char *device, int baudRate, char parity)
{
    if (!device || !*device) {
        fprintf(stderr, "The device string is empty\n");
        errno = EINVAL;
        return false;
    }
    if (baudRate == 0) {
        fprintf(stderr, "The baud rate value must not be zero\n");
        errno = EINVAL;
        return false;
    }
    if (parity != 'N' && parity != 'E' && parity != 'O') {
        errno = EINVAL;
        return false;
    }
    return true;
}

SerialStream::SerialStream(
    const char *device, int baudRate, char parity, int dataBits, int stopBits)
    : device(device)
    , baudRate(baudRate)
    , parity(parity)
    , dataBits(dataBits)
    , stopBits(stopBits)
{ }

// Sets raw mode with the rate, byte size, parity and stop bits.
bool SerialStream::applySettings(const ModbusContext *context, int fd) const
{
    termios settings;
    if (tcgetattr(fd, &settings) == -1)
        return false;
    const RateKind rate = makeLineSettings(settings, baudRate, parity, dataBits, stopBits);
    if (rate == RateKind::Unknown && context->debug)
        fprintf(
            stderr, "WARNING Unknown baud rate %d for %s (B9600 used)\n", baudRate, device.c_str());
    if (tcsetattr(fd, TCSANOW, &settings) == -1)
        return false;
    return rate != RateKind::Arbitrary || SerialSpeed::setArbitraryRate(fd, baudRate);
}

int SerialStream::connect(ModbusContext *context)
{
    if (context->debug)
        printf("Opening %s at %d bauds (%c, %d, %d)\n", device.c_str(), baudRate, parity, dataBits,
            stopBits);
    if (fd != -1)
        close(context);
    bufferStart = 0;
    buffered = 0;

    const int line = ::open(devicePath(device).c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (line == -1) {
        const int error = errno;
        if (context->debug)
            fprintf(
                stderr, "ERROR Can't open the device %s (LastError %d)\n", device.c_str(), error);
        errno = error;
        return -1;
    }
    // The line is ours alone while it is open.
    ioctl(line, TIOCEXCL);

    if (!SerialSpeed::save(line, saved)) {
        const int error = errno;
        if (context->debug)
            fprintf(stderr, "ERROR Error getting configuration (LastError %d)\n", error);
        ::close(line);
        errno = error;
        return -1;
    }
    if (!applySettings(context, line)) {
        const int error = errno;
        if (context->debug)
            fprintf(stderr, "ERROR Error setting new configuration (LastError %d)\n", error);
        SerialSpeed::restore(line, saved);
        ::close(line);
        errno = error;
        return -1;
    }
    fd = line;
    return 0;
}

void SerialStream::close(ModbusContext *context)
{
    if (fd == -1)
        return;
    if (!SerialSpeed::restore(fd, saved) && context->debug)
        fprintf(stderr, "ERROR Couldn't revert to configuration (LastError %d)\n", errno);
    ioctl(fd, TIOCNXCL);
    if (::close(fd) == -1 && context->debug)
        fprintf(stderr, "ERROR Error while closing handle (LastError %d)\n", errno);
    fd = -1;
    bufferStart = 0;
    buffered = 0;
}

ssize_t SerialStream::send(ModbusContext *context, const uint8_t *bytes, int length)
{
    const auto deadline
        = std::chrono::steady_clock::now() + std::chrono::milliseconds(WriteTimeoutMs);
    ssize_t written = 0;
    while (written < length) {
        const ssize_t count = ::write(fd, bytes + written, size_t(length - written));
        if (count > 0) {
            written += count;
            continue;
        }
        if (count == -1 && errno == EINTR)
            continue;
        if (count == -1 && errno == EAGAIN) {
            const int rc
                = Core::pollLine(context, fd, POLLOUT, millisecondsUntil(deadline), nullptr);
            if (rc == 0)
                break; // time-out: a short send
            if (rc == -1 && errno != EINTR)
                return written > 0 ? written : -1;
            continue;
        }
        return written > 0 ? written : -1;
    }
    return written;
}

ssize_t SerialStream::read(ModbusContext *, uint8_t *destination, int length)
{
    const int count = std::min(length, buffered);
    memcpy(destination, buffer + bufferStart, size_t(count));
    bufferStart += count;
    buffered -= count;
    return count;
}

int SerialStream::waitForData(ModbusContext *context, const Timeout &limit, int wanted)
{
    if (buffered > 0)
        return 0;

    const auto deadline = std::chrono::steady_clock::now()
        + std::chrono::milliseconds(std::max(1, limit.milliseconds()));
    for (;;) {
        short revents = 0;
        const int rc = Core::pollLine(context, fd, POLLIN, millisecondsUntil(deadline), &revents);
        if (rc == -1) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (rc == 0) {
            errno = ETIMEDOUT;
            return -1;
        }
        const ssize_t count = ::read(fd, buffer, size_t(std::min(wanted, BufferSize)));
        if (count > 0) {
            bufferStart = 0;
            buffered = int(count);
            return 0;
        }
        if (count == 0) {
            errno = ETIMEDOUT;
            return -1;
        }
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN) {
            if (revents & (POLLERR | POLLHUP | POLLNVAL)) {
                errno = EIO;
                return -1;
            }
            continue;
        }
        return -1;
    }
}

int SerialStream::flush(ModbusContext *)
{
    int discarded = buffered;
    bufferStart = 0;
    buffered = 0;
    int queued = 0;
    if (ioctl(fd, FIONREAD, &queued) == 0)
        discarded += queued;
    if (tcflush(fd, TCIFLUSH) == -1)
        return -1;
    return discarded;
}

bool SerialStream::stillOpen(ModbusContext *) const
{
    if (fd == -1)
        return false;
    pollfd state {fd, 0, 0};
    int rc;
    do
        rc = poll(&state, 1, 0);
    while (rc == -1 && errno == EINTR);
    return rc == 0;
}

// A character of a Modbus serial line is 11 bits long (start, 8 data, parity
// or a second stop bit, stop), so 8N1 lines get a tenth to spare.
int SerialStream::replyAllowanceMs(const ModbusContext *, int length) const
{
    const long long bits = 11LL * length * 1000;
    const int rate = effectiveBaudRate(baudRate);
    return int((bits + rate - 1) / rate);
}

} // namespace Modbus
