#include "tcprelay.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int WaitMs = 10000;

sockaddr_in loopback(int port)
{
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(quint16(port));
    return address;
}

bool writeAll(int fd, const char *data, ssize_t size)
{
    while (size > 0) {
        const ssize_t written = send(fd, data, size_t(size), MSG_NOSIGNAL);
        if (written <= 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

} // namespace

TcpRelay::TcpRelay(int target)
    : target(target)
{
    if (pipe(stopPipe) != 0)
        return;
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
        || listen(fd, 1) != 0
        || getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) != 0) {
        if (fd >= 0)
            close(fd);
        return;
    }
    listening = fd;
    listenPort = ntohs(address.sin_port);
    thread = std::thread([this] { run(); });
}

TcpRelay::~TcpRelay()
{
    stop();
    for (int fd : {listening, stopPipe[0], stopPipe[1]})
        if (fd >= 0)
            close(fd);
}

QByteArray TcpRelay::clientBytes()
{
    if (thread.joinable()) {
        // A client that connected is accepted yet, one that did not is not
        // waited for.
        if (write(stopPipe[1], "x", 1) != 1)
            qWarning("TcpRelay: cannot tell the relay that the client ended");
        thread.join();
    }
    return sent;
}

void TcpRelay::stop()
{
    if (!thread.joinable())
        return;
    aborting = true;
    if (write(stopPipe[1], "x", 1) != 1)
        qWarning("TcpRelay: cannot ask the relay to stop");
    thread.join();
}

bool TcpRelay::toldToStop()
{
    char byte;
    if (read(stopPipe[0], &byte, 1) != 1)
        return true;
    return aborting;
}

void TcpRelay::run()
{
    pollfd waiting[2] = {{listening, POLLIN, 0}, {stopPipe[0], POLLIN, 0}};
    if (poll(waiting, 2, WaitMs) <= 0)
        return;
    if (waiting[1].revents != 0
        && (toldToStop() || poll(waiting, 1, 0) <= 0 || waiting[0].revents == 0))
        return;
    const int client = accept4(listening, nullptr, nullptr, SOCK_CLOEXEC);
    const int server = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = loopback(target);
    if (client >= 0 && server >= 0
        && connect(server, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0) {
        char buffer[4096];
        for (;;) {
            pollfd fds[3] = {{client, POLLIN, 0}, {server, POLLIN, 0}, {stopPipe[0], POLLIN, 0}};
            if (poll(fds, 3, WaitMs) <= 0)
                break;
            // The client's end comes as its end of file.
            if (fds[2].revents != 0) {
                if (toldToStop())
                    break;
                continue;
            }
            const int from = fds[0].revents != 0 ? client : server;
            const ssize_t count = recv(from, buffer, sizeof buffer, 0);
            if (count <= 0)
                break;
            if (from == client)
                sent.append(buffer, int(count));
            if (!writeAll(from == client ? server : client, buffer, count))
                break;
        }
    }
    for (int fd : {client, server})
        if (fd >= 0)
            close(fd);
}
