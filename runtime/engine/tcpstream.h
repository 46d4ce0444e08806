#pragma once

// The byte stream of the lines over TCP: a non-blocking BSD stream socket with
// TCP_NODELAY, held in the context's socket field. Framing is the line's.

#include "modbuscontext.h"

#include <chrono>

namespace Modbus {

class TcpStream
{
public:
    // A dotted IPv4 address of at most 15 characters and a port of 16 bits.
    // An empty or a longer address prints why on standard error (every mode);
    // false with EINVAL for those and for a port out of range.
    bool setEndpoint(const char *ipAddress, int port);
    const char *ipAddress() const { return address; }

    // Connects within the response time-out; the cancel descriptor ends the
    // wait. Returns 0, or -1 with errno (ECONNREFUSED, ETIMEDOUT, ...).
    int connect(ModbusContext *context);
    void close(ModbusContext *context);
    // Sends the whole frame, waiting at most the response time-out for room
    // in the socket; returns the number of bytes sent (fewer on time-out) or
    // -1. Never raises SIGPIPE.
    ssize_t send(ModbusContext *context, const uint8_t *bytes, int length);
    // Hands over at most length bytes; 0 means the peer closed.
    ssize_t read(ModbusContext *context, uint8_t *buffer, int length);
    int waitForData(ModbusContext *context, const Timeout &limit, int wanted);
    // Receives and drops whatever is waiting; the number of bytes dropped.
    int flush(ModbusContext *context);
    // Whether the socket is connected and the peer has neither closed its
    // side nor reset the connection; nothing is read.
    bool stillOpen(const ModbusContext *context) const;
    // A reply's length says nothing about its time on the network: a fixed
    // allowance.
    int replyAllowanceMs(const ModbusContext *context, int length) const;

    using Deadline = std::chrono::steady_clock::time_point;
    static Deadline deadlineAfter(const Timeout &limit);
    // Waits for events on the context's socket until deadline, together with
    // its cancel descriptor. 1 when ready, 0 on time-out, -1 with errno
    // (ECANCELED). A signal does not extend the wait.
    static int waitFor(const ModbusContext *context, short events, Deadline deadline);

private:
    int port = 0;
    char address[16] = {};
};

} // namespace Modbus
