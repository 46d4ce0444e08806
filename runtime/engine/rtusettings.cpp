#include "rtusettings.h"

#include <algorithm>
#include <iterator>

namespace Modbus {

namespace {

struct BaudRate
{
    int rate;
    speed_t code; // B0 when the rate goes through the arbitrary-rate interface
};

constexpr BaudRate baudRates[] = {
    {110, B110},
    {300, B300},
    {600, B600},
    {1200, B1200},
    {2400, B2400},
    {4800, B4800},
    {9600, B9600},
    {14400, B0},
    {19200, B19200},
    {38400, B38400},
    {57600, B57600},
    {115200, B115200},
    {230400, B230400},
    {250000, B0},
    {460800, B460800},
    {500000, B500000},
    {921600, B921600},
    {1000000, B1000000},
};

} // namespace

int effectiveBaudRate(int baudRate)
{
    const auto known = std::find_if(std::begin(baudRates), std::end(baudRates),
        [baudRate](const BaudRate &rate) { return rate.rate == baudRate; });
    return known == std::end(baudRates) ? 9600 : baudRate;
}

std::vector<int> knownBaudRates()
{
    std::vector<int> rates;
    for (const BaudRate &rate : baudRates)
        rates.push_back(rate.rate);
    return rates;
}

RateKind makeLineSettings(termios &settings, int baudRate, char parity, int dataBits, int stopBits)
{
    RateKind kind = RateKind::Standard;
    speed_t speed = B9600;
    const auto known = std::find_if(std::begin(baudRates), std::end(baudRates),
        [baudRate](const BaudRate &rate) { return rate.rate == baudRate; });
    if (known == std::end(baudRates))
        kind = RateKind::Unknown;
    else if (known->code == B0)
        kind = RateKind::Arbitrary;
    else
        speed = known->code;
    if (kind != RateKind::Arbitrary) {
        cfsetispeed(&settings, speed);
        cfsetospeed(&settings, speed);
    }

    settings.c_cflag |= CLOCAL | CREAD;
    settings.c_cflag &= ~tcflag_t(CSIZE | CSTOPB | PARENB | PARODD | CRTSCTS);
    switch (dataBits) {
    case 5:
        settings.c_cflag |= CS5;
        break;
    case 6:
        settings.c_cflag |= CS6;
        break;
    case 7:
        settings.c_cflag |= CS7;
        break;
    default:
        settings.c_cflag |= CS8;
        break;
    }
    if (stopBits != 1)
        settings.c_cflag |= CSTOPB;

    settings.c_iflag &= ~tcflag_t(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON
        | IXOFF | IXANY | INPCK | IGNPAR);
    if (parity == 'E') {
        settings.c_cflag |= PARENB;
        settings.c_iflag |= INPCK;
    } else if (parity != 'N') {
        settings.c_cflag |= PARENB | PARODD;
        settings.c_iflag |= INPCK;
    }
    settings.c_oflag &= ~tcflag_t(OPOST);
    settings.c_lflag &= ~tcflag_t(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    return kind;
}

} // namespace Modbus
