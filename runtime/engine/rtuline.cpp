// The serial line: RTU framing on a serial stream.

#include "rtuframe.h"
#include "serialstream.h"

namespace Modbus {

namespace {

struct RtuLine
{
    SerialStream stream;
};

} // namespace

ModbusContext *newRtuContext(
    const char *device, int baudRate, char parity, int dataBits, int stopBits)
{
    if (!SerialStream::acceptable(device, baudRate, parity))
        return nullptr;
    // The device address starts unset: no request goes out until it is set.
    return newLineContext(&Rtu::backend<RtuLine>,
        new RtuLine {SerialStream(device, baudRate, parity, dataBits, stopBits)}, -1);
}

} // namespace Modbus
