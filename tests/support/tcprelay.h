#pragma once

#include <QByteArray>

#include <atomic>
#include <thread>

// A loopback relay between one client and a TCP server, which keeps what the
// client sent: the bytes as they went over the wire. It runs in a thread of
// its own because the client is usually a program the test waits for. Every
// wait is bounded by 10 s.
class TcpRelay
{
public:
    // Listens on a free loopback port and relays one connection to
    // 127.0.0.1:target.
    explicit TcpRelay(int target);
    ~TcpRelay();
    TcpRelay(const TcpRelay &) = delete;
    TcpRelay &operator=(const TcpRelay &) = delete;

    bool isListening() const { return listening >= 0; }
    int port() const { return listenPort; }
    // Once the client has ended: waits for its connection, if it made one,
    // to end and returns the bytes it sent.
    QByteArray clientBytes();

private:
    void run();
    void stop();
    // Reads the stop pipe: true when the relay is to end at once.
    bool toldToStop();

    int target;
    int listening = -1;
    int listenPort = 0;
    int stopPipe[2] = {-1, -1};
    std::atomic<bool> aborting {false};
    QByteArray sent;
    std::thread thread;
};
