#pragma once

// The byte stream of the serial lines: a POSIX serial device in raw mode,
// opened for one user at a time, its settings restored at closing. Reads go
// through a 512-byte buffer that the wait for data fills. Framing is the
// line's.

#include "modbuscontext.h"
#include "serialspeed.h"

#include <string>

namespace Modbus {

class SerialStream
{
public:
    // An empty device name or a baud rate of 0 prints why on standard error
    // (every mode); those and a parity other than 'N', 'E', 'O' give false
    // with EINVAL.
    static bool acceptable(const char *device, int baudRate, char parity);

    SerialStream(const char *device, int baudRate, char parity, int dataBits, int stopBits);

    int connect(ModbusContext *context);
    void close(ModbusContext *context);
    // Writes the whole frame within the write time-out; returns the number
    // of bytes written (fewer on time-out) or -1.
    ssize_t send(ModbusContext *context, const uint8_t *bytes, int length);
    // Hands over at most length buffered bytes.
    ssize_t read(ModbusContext *context, uint8_t *buffer, int length);
    // Ready at once while the buffer holds bytes; otherwise waits for the
    // line and reads at most wanted bytes (capped at the buffer size) into
    // the buffer. No byte read means the wait expired (ETIMEDOUT).
    int waitForData(ModbusContext *context, const Timeout &limit, int wanted);
    // Drops the buffered bytes and the line's receive queue; returns how
    // many bytes were dropped.
    int flush(ModbusContext *context);
    // Whether the device is open and has not hung up (an adapter that was
    // unplugged, a pseudo-terminal whose other side closed).
    bool stillOpen(ModbusContext *context) const;
    // What length characters take at the line's speed.
    int replyAllowanceMs(const ModbusContext *context, int length) const;

private:
    bool applySettings(const ModbusContext *context, int fd) const;

    static constexpr int BufferSize = 512;

    std::string device; // as given by the caller
    int baudRate;
    char parity;
    int dataBits;
    int stopBits;
    int fd = -1;
    SerialSpeed::SavedSettings saved {}; // found at opening, restored at closing
    uint8_t buffer[BufferSize];
    int bufferStart = 0;
    int buffered = 0;
};

} // namespace Modbus
