#include "rtuframe.h"

#include "crc16.h"

#include <cerrno>
#include <cstdio>

namespace Modbus {
namespace Rtu {

namespace {
constexpr int MaxAddress = 247;
} // namespace

int setAddress(ModbusContext *context, int address)
{
    if (address < 0 || address > MaxAddress) {
        errno = EINVAL;
        return -1;
    }
    context->deviceAddress = address;
    return 0;
}

int buildRequestHeader(
    ModbusContext *context, int function, int start, int quantity, uint8_t *request)
{
    request[0] = uint8_t(context->deviceAddress);
    request[1] = uint8_t(function);
    request[2] = uint8_t(start >> 8);
    request[3] = uint8_t(start & 0xFF);
    request[4] = uint8_t(quantity >> 8);
    request[5] = uint8_t(quantity & 0xFF);
    return 6;
}

int finishFrame(uint8_t *frame, int length)
{
    const uint16_t crc = crc16(frame, length);
    frame[length++] = uint8_t(crc & 0xFF);
    frame[length++] = uint8_t(crc >> 8);
    return length;
}

bool fromOtherDevice(const ModbusContext *context, const uint8_t *reply)
{
    const int address = reply[0];
    if (context->deviceAddress == 0 || address == context->deviceAddress || address == 0)
        return false;
    if (context->debug)
        printf("Request for slave %d ignored (not %d)\n", address, context->deviceAddress);
    return true;
}

int checkIntegrity(ModbusContext *context, uint8_t *reply, int length)
{
    if (fromOtherDevice(context, reply))
        return 0;
    const uint16_t calculated = crc16(reply, length - 2);
    const uint16_t received = uint16_t(reply[length - 2] | (reply[length - 1] << 8));
    if (calculated == received)
        return length;
    if (context->debug) {
        // Both shown in wire order, low byte first.
        fprintf(stderr, "ERROR CRC received 0x%0X != CRC calculated 0x%0X\n",
            unsigned(reply[length - 2] << 8 | reply[length - 1]),
            unsigned((calculated & 0xFF) << 8 | calculated >> 8));
    }
    errno = InvalidCrc;
    return -1;
}

int preCheck(ModbusContext *context, const uint8_t *request, const uint8_t *reply, int)
{
    if (request[0] != 0 && reply[0] != request[0]) {
        if (context->debug)
            fprintf(stderr, "The responding slave %d isn't the requested slave %d\n", reply[0],
                request[0]);
        errno = ResponseNotFromRequestedSlave;
        return -1;
    }
    return 0;
}

} // namespace Rtu
} // namespace Modbus
