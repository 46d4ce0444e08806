// The TCP line: MBAP framing over a BSD stream socket, non-blocking, with
// TCP_NODELAY.

#include "modbuscontext.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace Modbus {

namespace {

constexpr int MaxFrameLength = 260;
constexpr int MaxAddress = 247;
constexpr int UnitAny = 255;

struct TcpLine
{
    uint16_t transactionId = 0; // taken before every request
    int port = 0;
    char ipAddress[16] = {};
};

TcpLine *line(const ModbusContext *context)
{
    return static_cast<TcpLine *>(context->backendData);
}

int milliseconds(std::chrono::steady_clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return int(std::max<long long>(0, left.count()));
}

enum class Signals { Quiet, Told };

// Waits for events on the socket until deadline; 1 when ready, 0 on
// time-out, -1 on failure. A signal does not extend the wait; when told, it
// is reported in debug mode.
int waitFor(const ModbusContext *context, short events,
    std::chrono::steady_clock::time_point deadline, Signals signals = Signals::Quiet)
{
    for (;;) {
        const int rc
            = Core::pollLine(context, context->socket, events, milliseconds(deadline), nullptr);
        if (rc != -1)
            return rc;
        if (errno != EINTR)
            return -1;
        if (signals == Signals::Told && context->debug)
            fprintf(stderr, "A non blocked signal was caught\n");
    }
}

std::chrono::steady_clock::time_point deadlineAfter(const Timeout &limit)
{
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(limit.milliseconds());
}

int tcpSetAddress(ModbusContext *context, int address)
{
    if ((address < 0 || address > MaxAddress) && address != UnitAny) {
        errno = EINVAL;
        return -1;
    }
    context->deviceAddress = address;
    return 0;
}

int tcpBuildRequestHeader(
    ModbusContext *context, int function, int start, int quantity, uint8_t *request)
{
    TcpLine *tcp = line(context);
    ++tcp->transactionId;
    request[0] = uint8_t(tcp->transactionId >> 8);
    request[1] = uint8_t(tcp->transactionId & 0xFF);
    request[2] = 0; // protocol identifier
    request[3] = 0;
    request[4] = 0; // length, set when the frame is finished
    request[5] = 0;
    request[6] = uint8_t(context->deviceAddress);
    request[7] = uint8_t(function);
    request[8] = uint8_t(start >> 8);
    request[9] = uint8_t(start & 0xFF);
    request[10] = uint8_t(quantity >> 8);
    request[11] = uint8_t(quantity & 0xFF);
    return 12;
}

int tcpFinishFrame(uint8_t *frame, int length)
{
    const int following = length - 6;
    frame[4] = uint8_t(following >> 8);
    frame[5] = uint8_t(following & 0xFF);
    return length;
}

// Sends the whole frame, waiting at most the response time-out for room in
// the socket; returns the number of bytes sent (fewer on time-out) or -1.
ssize_t tcpSend(ModbusContext *context, const uint8_t *frame, int length)
{
    const auto deadline = deadlineAfter(context->responseTimeout);
    ssize_t sent = 0;
    while (sent < length) {
        const ssize_t count
            = ::send(context->socket, frame + sent, size_t(length - sent), MSG_NOSIGNAL);
        if (count > 0) {
            sent += count;
            continue;
        }
        if (count == -1 && errno == EINTR)
            continue;
        if (count == -1 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            const int rc = waitFor(context, POLLOUT, deadline);
            if (rc == 0)
                break;
            if (rc == -1)
                return sent > 0 ? sent : -1;
            continue;
        }
        return sent > 0 ? sent : -1;
    }
    return sent;
}

ssize_t tcpRead(ModbusContext *context, uint8_t *buffer, int length)
{
    for (;;) {
        const ssize_t count = ::recv(context->socket, buffer, size_t(length), 0);
        if (count != -1 || errno != EINTR)
            return count;
    }
}

int tcpCheckIntegrity(ModbusContext *, uint8_t *, int length)
{
    return length;
}

int tcpPreCheck(ModbusContext *context, const uint8_t *request, const uint8_t *reply, int)
{
    const unsigned sent = unsigned(request[0] << 8 | request[1]);
    const unsigned received = unsigned(reply[0] << 8 | reply[1]);
    if (sent != received) {
        if (context->debug)
            fprintf(stderr, "Invalid transaction ID received 0x%X (not 0x%X)\n", received, sent);
        errno = InvalidData;
        return -1;
    }
    const unsigned protocol = unsigned(reply[2] << 8 | reply[3]);
    if (protocol != 0) {
        if (context->debug)
            fprintf(stderr, "Invalid protocol ID received 0x%X (not 0x0)\n", protocol);
        errno = InvalidData;
        return -1;
    }
    return 0;
}

void closeSocket(ModbusContext *context)
{
    const int error = errno;
    ::close(context->socket);
    context->socket = -1;
    errno = error;
}

int tcpConnect(ModbusContext *context)
{
    TcpLine *tcp = line(context);
    if (context->socket != -1) {
        shutdown(context->socket, SHUT_RDWR);
        closeSocket(context);
    }

    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(uint16_t(tcp->port));
    if (inet_aton(tcp->ipAddress, &address.sin_addr) == 0) {
        errno = EINVAL;
        return -1;
    }

    context->socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (context->socket == -1)
        return -1;
    const int on = 1;
    if (setsockopt(context->socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on) == -1) {
        closeSocket(context);
        return -1;
    }
    const int flags = fcntl(context->socket, F_GETFL);
    if (flags != -1)
        fcntl(context->socket, F_SETFL, flags | O_NONBLOCK);

    if (context->debug)
        printf("Connecting to %s:%d\n", tcp->ipAddress, tcp->port);

    if (::connect(context->socket, reinterpret_cast<const sockaddr *>(&address), sizeof address)
        == 0)
        return 0;
    if (errno != EINPROGRESS && errno != EINTR) {
        closeSocket(context);
        return -1;
    }
    const int ready = waitFor(context, POLLOUT, deadlineAfter(context->responseTimeout));
    if (ready <= 0) {
        if (ready == 0)
            errno = ETIMEDOUT;
        closeSocket(context);
        return -1;
    }
    int pending = 0;
    socklen_t size = sizeof pending;
    if (getsockopt(context->socket, SOL_SOCKET, SO_ERROR, &pending, &size) == -1) {
        closeSocket(context);
        return -1;
    }
    if (pending != 0) {
        errno = ECONNREFUSED;
        closeSocket(context);
        return -1;
    }
    return 0;
}

void tcpClose(ModbusContext *context)
{
    if (context->socket == -1)
        return;
    shutdown(context->socket, SHUT_RDWR);
    ::close(context->socket);
    context->socket = -1;
}

// Receives and drops whatever is waiting, in pieces of a frame's size.
int tcpFlush(ModbusContext *context)
{
    if (context->socket == -1) {
        errno = EBADF;
        return -1;
    }
    int total = 0;
    ssize_t count = 0;
    do {
        pollfd ready {context->socket, POLLIN, 0};
        const int rc = poll(&ready, 1, 0);
        if (rc == -1)
            return -1;
        if (rc == 0)
            break;
        uint8_t discarded[MaxFrameLength];
        count = tcpRead(context, discarded, MaxFrameLength);
        if (count > 0)
            total += int(count);
    } while (count == MaxFrameLength);
    return total;
}

int tcpWaitForData(ModbusContext *context, const Timeout &limit, int)
{
    const int rc = waitFor(context, POLLIN, deadlineAfter(limit), Signals::Told);
    if (rc == 0)
        errno = ETIMEDOUT;
    return rc == 1 ? 0 : -1;
}

// Over TCP the reply's length says nothing about its time on the network: a
// fixed allowance.
int tcpReplyAllowanceMs(const ModbusContext *, int)
{
    return 2000;
}

void tcpFree(ModbusContext *context)
{
    tcpClose(context);
    delete line(context);
    context->backendData = nullptr;
}

constexpr Backend tcpBackend = {
    7, // MBAP header
    0,
    MaxFrameLength,
    tcpSetAddress,
    tcpBuildRequestHeader,
    tcpFinishFrame,
    tcpSend,
    tcpRead,
    tcpCheckIntegrity,
    tcpPreCheck,
    tcpConnect,
    tcpClose,
    tcpFlush,
    tcpWaitForData,
    tcpFree,
    tcpReplyAllowanceMs,
};

} // namespace

ModbusContext *newTcpContext(const char *ipAddress, int port)
{
    if (!ipAddress)
        ipAddress = "0";
    const size_t length = strlen(ipAddress);
    if (length == 0) {
        fprintf(stderr, "The IP string is empty\n");
        errno = EINVAL;
        return nullptr;
    }
    if (length >= sizeof TcpLine::ipAddress) {
        fprintf(stderr, "The IP string has been truncated\n");
        errno = EINVAL;
        return nullptr;
    }
    // A port beyond 16 bits would silently reach another one.
    if (port < 0 || port > 0xFFFF) {
        errno = EINVAL;
        return nullptr;
    }

    auto *tcp = new TcpLine;
    memcpy(tcp->ipAddress, ipAddress, length + 1);
    tcp->port = port;

    auto *context = new ModbusContext;
    context->deviceAddress = UnitAny;
    context->backend = &tcpBackend;
    context->backendData = tcp;
    return context;
}

} // namespace Modbus
