#pragma once

// Inside of the engine: the context of one connection and the table of
// operations through which the core drives a line (serial RTU or TCP). The
// core never asks which line it talks to; each line file fills one Backend.

#include "modbus.h"

#include <cstddef>
#include <cstdint>
#include <sys/types.h>

namespace Modbus {

// Requests and replies are built in buffers of this size on the stack.
constexpr int FrameBufferSize = 260;

constexpr int FunctionReadCoils = 0x01;
constexpr int FunctionReadDiscreteInputs = 0x02;
constexpr int FunctionReadHolding = 0x03;
constexpr int FunctionReadInput = 0x04;
constexpr int FunctionWriteCoil = 0x05;
constexpr int FunctionWriteRegister = 0x06;
constexpr int FunctionWriteCoils = 0x0F;
constexpr int FunctionWriteRegisters = 0x10;
constexpr int FunctionIdentification = 0x11;
constexpr int FunctionDeviceIdentification = 0x2B; // with MEI type 14
constexpr int FunctionReadMacro = 0x41;

constexpr int MeiReadDeviceId = 0x0E;

// Data bytes of an identification reply of the given version, -1 for a
// version without one.
int identificationLength(int version);

// A time limit kept as given (2,000,000 µs is used as 2 s, not normalised).
struct Timeout
{
    int seconds;
    int microseconds;

    int milliseconds() const { return seconds * 1000 + microseconds / 1000; }
};

struct Backend
{
    int headerLength; // bytes before the function code
    int checksumLength;
    int maxFrameLength;

    // 0, or -1 with EINVAL when the line does not accept the address.
    int (*setAddress)(ModbusContext *context, int address);
    // Writes the line header, function, start and quantity (big-endian) into
    // request; returns the number of bytes written. The TCP line takes the
    // next transaction identifier here.
    int (*buildRequestHeader)(
        ModbusContext *context, int function, int start, int quantity, uint8_t *request);
    // Completes the frame (CRC, MBAP length); returns its final length.
    int (*finishFrame)(uint8_t *frame, int length);
    // Returns the number of bytes sent or -1.
    ssize_t (*send)(ModbusContext *context, const uint8_t *frame, int length);
    // Hands over at most length bytes; 0 means the peer closed.
    ssize_t (*read)(ModbusContext *context, uint8_t *buffer, int length);
    // Returns the reply length, 0 for a reply that came from another device,
    // or -1 with the error set.
    int (*checkIntegrity)(ModbusContext *context, uint8_t *reply, int length);
    // Checks the reply's line header against the request's; 0 or -1.
    int (*preCheck)(
        ModbusContext *context, const uint8_t *request, const uint8_t *reply, int replyLength);
    int (*connect)(ModbusContext *context);
    void (*close)(ModbusContext *context);
    // Returns the number of bytes discarded or -1.
    int (*flush)(ModbusContext *context);
    // Waits until at least one byte can be read, at most for limit; wanted
    // is the number of bytes the core still needs. 0, or -1 with ETIMEDOUT
    // or the platform's error.
    int (*waitForData)(ModbusContext *context, const Timeout &limit, int wanted);
    // Frees the line data (closing the line if still open).
    void (*free)(ModbusContext *context);
    // Time a reply of the given length may take on the line after its first
    // byte was due: what the bytes take at the line's speed (serial), a fixed
    // allowance (TCP). With the response time-out it bounds a whole reply.
    int (*replyAllowanceMs)(const ModbusContext *context, int length);
    // Whether the line can still carry a request, as far as can be told
    // without sending: false once the peer of a network line has closed the
    // connection or a serial device has gone away (or the line is closed).
    bool (*stillOpen)(ModbusContext *context);
};

} // namespace Modbus

struct ModbusContext
{
    int deviceAddress = -1;
    int socket = -1;
    int debug = 0;
    Modbus::Timeout responseTimeout {0, 2000000}; // first byte of a reply, connecting
    Modbus::Timeout byteTimeout {0, 2000000}; // every later wait within a reply
    const Modbus::Backend *backend = nullptr;
    void *backendData = nullptr; // owned, line-specific
    int identificationVersion = 0; // of the last identification request
    int cancelDescriptor = -1; // borrowed; once readable, every wait ends (ECANCELED)
    Modbus::ReplyTimeout replyTimeout; // of the last request
    bool inStep = true; // the last exchange ended with its whole reply (see Modbus::lineInStep)
};

namespace Modbus {
namespace Core {

// Prints "ERROR <text of errno>" and, when given, ": <context>" (standard error).
void errorPrint(const ModbusContext *context, const char *what);

// Starts a request with the line header, function, start and quantity.
// Returns its length, or -1 with EINVAL when no device address is set.
int buildRequest(ModbusContext *context, int function, int start, int quantity, uint8_t *request);

// Sends a request that is its header alone (function, start and quantity:
// the reads, the single writes) and receives its checked reply into reply
// (FrameBufferSize bytes). Returns what exchange() returns.
int exchangeHeader(ModbusContext *context, int function, int start, int quantity, uint8_t *reply);

// Sends a request, receives its reply into reply (FrameBufferSize bytes) and
// checks it. Returns the quantity of functions 3, 4 and 16, the reply length
// for the others, or -1 with the error set.
int exchange(ModbusContext *context, uint8_t *request, int requestLength, uint8_t *reply);

// Waits at most timeoutMs for events on the line's descriptor fd and, at the
// same time, for the context's cancel descriptor. Returns 1 when the line is
// ready (its events in *revents when given), 0 on time-out, or -1 with errno:
// ECANCELED once the cancel descriptor is readable, EINTR when a signal came.
int pollLine(const ModbusContext *context, int fd, short events, int timeoutMs, short *revents);

} // namespace Core
} // namespace Modbus
