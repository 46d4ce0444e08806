#include "tcpstream.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
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

constexpr int FlushPiece = 260;

int millisecondsUntil(TcpStream::Deadline deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return int(std::max<long long>(0, left.count()));
}

enum class Signals { Quiet, Told };

int waitOnSocket(
    const ModbusContext *context, short events, TcpStream::Deadline deadline, Signals signals)
{
    for (;;) {
        const int rc = Core::pollLine(
            context, context->socket, events, millisecondsUntil(deadline), nullptr);
        if (rc != -1)
            return rc;
        if (errno != EINTR)
            return -1;
        if (signals == Signals::Told && context->debug)
            fprintf(stderr, "A non blocked signal was caught\n");
    }
}

void closeSocket(ModbusContext *context)
{
    const int error = errno;
    ::close(context->socket);
    context->socket = -1;
    errno = error;
}

} // namespace

bool TcpStream::setEndpoint(const char *ipAddress, int port)
{
    if (!ipAddress)
        ipAddress = "0";
    const size_t length = strlen(ipAddress);
    if (length == 0) {
        fprintf(stderr, "The IP string is empty\n");
        errno = EINVAL;
        return false;
    }
    if (length >= sizeof address) {
        fprintf(stderr, "The IP string has been truncated\n");
        errno = EINVAL;
        return false;
    }
    // A port beyond 16 bits would silently reach another one.
    if (port < 0 || port > 0xFFFF) {
        errno = EINVAL;
        return false;
    }
    memcpy(address, ipAddress, length + 1);
    this->port = port;
    return true;
}

TcpStream::Deadline TcpStream::deadlineAfter(const Timeout &limit)
{
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(limit.milliseconds());
}

int TcpStream::waitFor(const ModbusContext *context, short events, Deadline deadline)
{
    return waitOnSocket(context, events, deadline, Signals::Quiet);
}

int TcpStream::connect(ModbusContext *context)
{
    if (context->socket != -1) {
        shutdown(context->socket, SHUT_RDWR);
        closeSocket(context);
    }

    sockaddr_in peer {};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(uint16_t(port));
    if (inet_aton(address, &peer.sin_addr) == 0) {
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
        printf("Connecting to %s:%d\n", address, port);

    if (::connect(context->socket, reinterpret_cast<const sockaddr *>(&peer), sizeof peer) == 0)
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
    // The connection's own failure: refused, no route, unreachable network.
    if (pending != 0) {
        errno = pending;
        closeSocket(context);
        return -1;
    }
    return 0;
}

void TcpStream::close(ModbusContext *context)
{
    if (context->socket == -1)
        return;
    shutdown(context->socket, SHUT_RDWR);
    ::close(context->socket);
    context->socket = -1;
}

ssize_t TcpStream::send(ModbusContext *context, const uint8_t *bytes, int length)
{
    const Deadline deadline = deadlineAfter(context->responseTimeout);
    ssize_t sent = 0;
    while (sent < length) {
        const ssize_t count
            = ::send(context->socket, bytes + sent, size_t(length - sent), MSG_NOSIGNAL);
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

ssize_t TcpStream::read(ModbusContext *context, uint8_t *buffer, int length)
{
    for (;;) {
        const ssize_t count = ::recv(context->socket, buffer, size_t(length), 0);
        if (count != -1 || errno != EINTR)
            return count;
    }
}

int TcpStream::waitForData(ModbusContext *context, const Timeout &limit, int)
{
    const int rc = waitOnSocket(context, POLLIN, deadlineAfter(limit), Signals::Told);
    if (rc == 0)
        errno = ETIMEDOUT;
    return rc == 1 ? 0 : -1;
}

int TcpStream::flush(ModbusContext *context)
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
        uint8_t discarded[FlushPiece];
        count = read(context, discarded, FlushPiece);
        if (count > 0)
            total += int(count);
    } while (count == FlushPiece);
    return total;
}

bool TcpStream::stillOpen(const ModbusContext *context) const
{
    if (context->socket == -1)
        return false;
    // The peer's end of stream shows as POLLRDHUP even behind bytes that
    // are still unread.
    pollfd state {context->socket, POLLRDHUP, 0};
    int rc;
    do
        rc = poll(&state, 1, 0);
    while (rc == -1 && errno == EINTR);
    return rc == 0;
}

int TcpStream::replyAllowanceMs(const ModbusContext *, int) const
{
    return 2000;
}

} // namespace Modbus
