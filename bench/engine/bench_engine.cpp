// Figures of the engine alone: a read of 65535 holding registers in requests
// of 125, against an in-process device that answers at once, over loopback
// TCP and over a pseudo-terminal. Prints the median of several runs.

#include "engine/modbus.h"

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <netinet/in.h>
#include <pty.h>
#include <sys/socket.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Registers = 65535;
constexpr int PerRequest = 125;
constexpr int Runs = 7;

uint16_t crc16(const uint8_t *bytes, int length)
{
    uint16_t crc = 0xFFFF;
    for (int i = 0; i < length; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? uint16_t((crc >> 1) ^ 0xA001) : uint16_t(crc >> 1);
    }
    return crc;
}

bool readAll(int fd, uint8_t *buffer, int length)
{
    for (int done = 0; done < length;) {
        const ssize_t count = read(fd, buffer + done, size_t(length - done));
        if (count <= 0)
            return false;
        done += int(count);
    }
    return true;
}

bool writeAll(int fd, const uint8_t *buffer, int length)
{
    for (int done = 0; done < length;) {
        const ssize_t count = write(fd, buffer + done, size_t(length - done));
        if (count <= 0)
            return false;
        done += int(count);
    }
    return true;
}

// Answers function 3 requests with words equal to their register numbers
// until the line closes.
void serve(int fd, bool tcp)
{
    const int header = tcp ? 7 : 1;
    uint8_t request[12];
    uint8_t reply[300];
    while (readAll(fd, request, tcp ? 12 : 8)) {
        const int start = request[header + 1] << 8 | request[header + 2];
        const int count = request[header + 3] << 8 | request[header + 4];
        int length = 0;
        if (tcp) {
            std::copy(request, request + 4, reply);
            reply[4] = uint8_t((3 + 2 * count) >> 8);
            reply[5] = uint8_t(3 + 2 * count);
            length = 6;
        }
        reply[length++] = request[header - 1];
        reply[length++] = 3;
        reply[length++] = uint8_t(2 * count);
        for (int i = 0; i < count; ++i) {
            reply[length++] = uint8_t((start + i) >> 8);
            reply[length++] = uint8_t(start + i);
        }
        if (!tcp) {
            const uint16_t crc = crc16(reply, length);
            reply[length++] = uint8_t(crc);
            reply[length++] = uint8_t(crc >> 8);
        }
        if (!writeAll(fd, reply, length))
            return;
    }
}

// Milliseconds of one full range read, or -1 when a request failed.
double rangeRead(ModbusContext *context)
{
    std::vector<uint16_t> words(Registers);
    const auto start = std::chrono::steady_clock::now();
    for (int first = 0; first < Registers; first += PerRequest) {
        const int count = std::min(PerRequest, Registers - first);
        if (Modbus::readHoldingRegisters(context, first, count, words.data() + first) != count)
            return -1;
    }
    const std::chrono::duration<double, std::milli> spent
        = std::chrono::steady_clock::now() - start;
    return words[Registers - 1] == Registers - 1 ? spent.count() : -1;
}

void report(const char *line, ModbusContext *context)
{
    std::vector<double> times;
    for (int run = 0; run < Runs; ++run)
        times.push_back(rangeRead(context));
    std::sort(times.begin(), times.end());
    if (times.front() < 0)
        printf("%s: a request failed: %s\n", line, Modbus::errorText(errno));
    else
        printf("%s: %d registers in %d requests: median %.1f ms of %d runs\n", line, Registers,
            (Registers + PerRequest - 1) / PerRequest, times[Runs / 2], Runs);
}

} // namespace

int main()
{
    // TCP on loopback.
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address) == -1
        || listen(listener, 1) == -1
        || getsockname(listener, reinterpret_cast<sockaddr *>(&address), &size) == -1)
        return 1;
    Modbus::ContextPtr tcp(Modbus::newTcpContext("127.0.0.1", ntohs(address.sin_port)));
    Modbus::setAddress(tcp.get(), 1);
    if (Modbus::connect(tcp.get()) == -1)
        return 1;
    const int peer = accept(listener, nullptr, nullptr);
    std::thread tcpDevice(serve, peer, true);
    report("TCP", tcp.get());
    Modbus::close(tcp.get());
    tcpDevice.join();
    close(peer);
    close(listener);

    // A pseudo-terminal at 115200 baud (a pseudo-terminal does not pace bytes).
    int master = -1;
    int slave = -1;
    char name[128];
    if (openpty(&master, &slave, name, nullptr, nullptr) == -1)
        return 1;
    Modbus::ContextPtr rtu(Modbus::newRtuContext(name, 115200, 'N', 8, 1));
    Modbus::setAddress(rtu.get(), 1);
    if (Modbus::connect(rtu.get()) == -1)
        return 1;
    std::thread rtuDevice(serve, master, false);
    report("RTU", rtu.get());
    Modbus::close(rtu.get());
    rtu.reset();
    // The device's read ends when the line's last holder is gone.
    close(slave);
    rtuDevice.join();
    close(master);
    return 0;
}
