#include "serialtiming.h"

#include "rtusettings.h"

namespace Modbus {

int characterBits(int dataBits, char parity, int stopBits)
{
    return 1 + dataBits + (parity == 'N' ? 0 : 1) + (stopBits == 1 ? 1 : 2);
}

int64_t characterMicroseconds(int baudRate, int dataBits, char parity, int stopBits)
{
    const int64_t rate = effectiveBaudRate(baudRate);
    return (int64_t(characterBits(dataBits, parity, stopBits)) * 1000000 + rate - 1) / rate;
}

int64_t frameSilenceMicroseconds(int baudRate, int dataBits, char parity, int stopBits)
{
    if (effectiveBaudRate(baudRate) > 19200)
        return 1750;
    return characterMicroseconds(baudRate, dataBits, parity, stopBits) * 7 / 2;
}

} // namespace Modbus
