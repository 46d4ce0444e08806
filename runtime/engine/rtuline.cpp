// The serial line: RTU framing with CRC-16 on a POSIX serial device in raw
// mode. Reads go through a 512-byte buffer filled by the wait for data.

#include "crc16.h"
#include "modbuscontext.h"
#include "rtusettings.h"
#include "serialdevice.h"
#include "serialspeed.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace Modbus {

namespace {

constexpr int ReceiveBufferSize = 512;
constexpr int MaxAddress = 247;
// Bound of one send, as a serial driver's total write time-out.
constexpr int WriteTimeoutMs = 1000;

struct RtuLine
{
    std::string device; // as given by the caller
    int baudRate;
    char parity;
    int dataBits;
    int stopBits;
    int fd = -1;
    SerialSpeed::SavedSettings saved {}; // found at opening, restored at closing
    uint8_t buffer[ReceiveBufferSize];
    int bufferStart = 0;
    int buffered = 0;
};

RtuLine *line(const ModbusContext *context)
{
    return static_cast<RtuLine *>(context->backendData);
}

int milliseconds(std::chrono::steady_clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return int(std::max<long long>(0, left.count()));
}

int rtuSetAddress(ModbusContext *context, int address)
{
    if (address < 0 || address > MaxAddress) {
        errno = EINVAL;
        return -1;
    }
    context->deviceAddress = address;
    return 0;
}

int rtuBuildRequestHeader(
    ModbusContext *context, int function, int start, int quantity, uint8_t *request)
{
    request[0] = uint8_t(context->deviceAddress);
    request[1] = uint8_t(function);
    request[2] = uint8_t(start >> 8);
    request[3] = uint8_t(start & 0xFF);
    request[4] = uint8_t(quantity >> 8);
    request[5] = uint8_t(quantity & 0xFF);
    return 6;
}

int rtuFinishFrame(uint8_t *frame, int length)
{
    const uint16_t crc = crc16(frame, length);
    frame[length++] = uint8_t(crc & 0xFF);
    frame[length++] = uint8_t(crc >> 8);
    return length;
}

// Writes the whole frame within the write time-out; returns the number of
// bytes written (fewer on time-out) or -1.
ssize_t rtuSend(ModbusContext *context, const uint8_t *frame, int length)
{
    RtuLine *rtu = line(context);
    const auto deadline
        = std::chrono::steady_clock::now() + std::chrono::milliseconds(WriteTimeoutMs);
    ssize_t written = 0;
    while (written < length) {
        const ssize_t count = ::write(rtu->fd, frame + written, size_t(length - written));
        if (count > 0) {
            written += count;
            continue;
        }
        if (count == -1 && errno == EINTR)
            continue;
        if (count == -1 && errno == EAGAIN) {
            const int rc
                = Core::pollLine(context, rtu->fd, POLLOUT, milliseconds(deadline), nullptr);
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

ssize_t rtuRead(ModbusContext *context, uint8_t *buffer, int length)
{
    RtuLine *rtu = line(context);
    const int count = std::min(length, rtu->buffered);
    memcpy(buffer, rtu->buffer + rtu->bufferStart, size_t(count));
    rtu->bufferStart += count;
    rtu->buffered -= count;
    return count;
}

int rtuCheckIntegrity(ModbusContext *context, uint8_t *reply, int length)
{
    const int address = reply[0];
    // A context with address 0 takes a reply from any device.
    if (context->deviceAddress != 0 && address != context->deviceAddress && address != 0) {
        if (context->debug)
            printf("Request for slave %d ignored (not %d)\n", address, context->deviceAddress);
        return 0;
    }
    const uint16_t calculated = crc16(reply, length - 2);
    const uint16_t received = uint16_t(reply[length - 2] | (reply[length - 1] << 8));
    if (calculated == received)
        return length;
    if (context->debug) {
        // Both shown in wire order, low byte first.
        fprintf(stderr, "ERROR CRC received 0x%0X != CRC calculated 0x%0X\n",
            unsigned(reply[length - 2] << 8 | reply[length - 1]),
            unsigned((calculated & 0xFF) << 8 | calculated >> 8));
    }
    errno = InvalidCrc;
    return -1;
}

int rtuPreCheck(ModbusContext *context, const uint8_t *request, const uint8_t *reply, int)
{
    if (request[0] != 0 && reply[0] != request[0]) {
        if (context->debug)
            fprintf(stderr, "The responding slave %d isn't the requested slave %d\n", reply[0],
                request[0]);
        errno = ResponseNotFromRequestedSlave;
        return -1;
    }
    return 0;
}

void rtuClose(ModbusContext *context);

// Sets raw mode with the context's rate, byte size, parity and stop bits.
bool applySettings(const ModbusContext *context, int fd)
{
    const RtuLine *rtu = line(context);
    termios settings;
    if (tcgetattr(fd, &settings) == -1)
        return false;
    const RateKind rate
        = makeLineSettings(settings, rtu->baudRate, rtu->parity, rtu->dataBits, rtu->stopBits);
    if (rate == RateKind::Unknown && context->debug)
        fprintf(stderr, "WARNING Unknown baud rate %d for %s (B9600 used)\n", rtu->baudRate,
            rtu->device.c_str());
    if (tcsetattr(fd, TCSANOW, &settings) == -1)
        return false;
    return rate != RateKind::Arbitrary || SerialSpeed::setArbitraryRate(fd, rtu->baudRate);
}

int rtuConnect(ModbusContext *context)
{
    RtuLine *rtu = line(context);
    if (context->debug)
        printf("Opening %s at %d bauds (%c, %d, %d)\n", rtu->device.c_str(), rtu->baudRate,
            rtu->parity, rtu->dataBits, rtu->stopBits);
    if (rtu->fd != -1)
        rtuClose(context);
    rtu->bufferStart = 0;
    rtu->buffered = 0;

    const int fd
        = ::open(devicePath(rtu->device).c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd == -1) {
        const int error = errno;
        if (context->debug)
            fprintf(stderr, "ERROR Can't open the device %s (LastError %d)\n", rtu->device.c_str(),
                error);
        errno = error;
        return -1;
    }
    // The line is ours alone while it is open.
    ioctl(fd, TIOCEXCL);

    if (!SerialSpeed::save(fd, rtu->saved)) {
        const int error = errno;
        if (context->debug)
            fprintf(stderr, "ERROR Error getting configuration (LastError %d)\n", error);
        ::close(fd);
        errno = error;
        return -1;
    }
    if (!applySettings(context, fd)) {
        const int error = errno;
        if (context->debug)
            fprintf(stderr, "ERROR Error setting new configuration (LastError %d)\n", error);
        SerialSpeed::restore(fd, rtu->saved);
        ::close(fd);
        errno = error;
        return -1;
    }
    rtu->fd = fd;
    return 0;
}

void rtuClose(ModbusContext *context)
{
    RtuLine *rtu = line(context);
    if (rtu->fd == -1)
        return;
    if (!SerialSpeed::restore(rtu->fd, rtu->saved) && context->debug)
        fprintf(stderr, "ERROR Couldn't revert to configuration (LastError %d)\n", errno);
    ioctl(rtu->fd, TIOCNXCL);
    if (::close(rtu->fd) == -1 && context->debug)
        fprintf(stderr, "ERROR Error while closing handle (LastError %d)\n", errno);
    rtu->fd = -1;
    rtu->bufferStart = 0;
    rtu->buffered = 0;
}

// Drops the buffered bytes and the line's receive queue; returns how many
// bytes were dropped.
int rtuFlush(ModbusContext *context)
{
    RtuLine *rtu = line(context);
    int discarded = rtu->buffered;
    rtu->bufferStart = 0;
    rtu->buffered = 0;
    int queued = 0;
    if (ioctl(rtu->fd, FIONREAD, &queued) == 0)
        discarded += queued;
    if (tcflush(rtu->fd, TCIFLUSH) == -1)
        return -1;
    return discarded;
}

// Ready at once while the buffer holds bytes; otherwise waits for the line
// and reads at most wanted bytes (capped at the buffer size) into the buffer.
// No byte read means the wait expired.
int rtuWaitForData(ModbusContext *context, const Timeout &limit, int wanted)
{
    RtuLine *rtu = line(context);
    if (rtu->buffered > 0)
        return 0;

    const auto deadline = std::chrono::steady_clock::now()
        + std::chrono::milliseconds(std::max(1, limit.milliseconds()));
    for (;;) {
        short revents = 0;
        const int rc = Core::pollLine(context, rtu->fd, POLLIN, milliseconds(deadline), &revents);
        if (rc == -1) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (rc == 0) {
            errno = ETIMEDOUT;
            return -1;
        }
        const ssize_t count
            = ::read(rtu->fd, rtu->buffer, size_t(std::min(wanted, ReceiveBufferSize)));
        if (count > 0) {
            rtu->bufferStart = 0;
            rtu->buffered = int(count);
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

// A character of a Modbus serial line is 11 bits long (start, 8 data, parity
// or a second stop bit, stop), so 8N1 lines get a tenth to spare.
int rtuReplyAllowanceMs(const ModbusContext *context, int length)
{
    const long long bits = 11LL * length * 1000;
    const int rate = effectiveBaudRate(line(context)->baudRate);
    return int((bits + rate - 1) / rate);
}

void rtuFree(ModbusContext *context)
{
    rtuClose(context);
    delete line(context);
    context->backendData = nullptr;
}

constexpr Backend rtuBackend = {
    1, // address
    2, // CRC
    256,
    rtuSetAddress,
    rtuBuildRequestHeader,
    rtuFinishFrame,
    rtuSend,
    rtuRead,
    rtuCheckIntegrity,
    rtuPreCheck,
    rtuConnect,
    rtuClose,
    rtuFlush,
    rtuWaitForData,
    rtuFree,
    rtuReplyAllowanceMs,
};

} // namespace

ModbusContext *newRtuContext(
    const char *device, int baudRate, char parity, int dataBits, int stopBits)
{
    if (!device || !*device) {
        fprintf(stderr, "The device string is empty\n");
        errno = EINVAL;
        return nullptr;
    }
    if (baudRate == 0) {
        fprintf(stderr, "The baud rate value must not be zero\n");
        errno = EINVAL;
        return nullptr;
    }
    if (parity != 'N' && parity != 'E' && parity != 'O') {
        errno = EINVAL;
        return nullptr;
    }

    auto *rtu = new RtuLine;
    rtu->device = device;
    rtu->baudRate = baudRate;
    rtu->parity = parity;
    rtu->dataBits = dataBits;
    rtu->stopBits = stopBits;

    auto *context = new ModbusContext;
    context->backend = &rtuBackend;
    context->backendData = rtu;
    return context;
}

} // namespace Modbus
