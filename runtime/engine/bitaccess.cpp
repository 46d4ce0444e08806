// Coils and discrete inputs: the bit reads (functions 1 and 2) and the coil
// writes (functions 5 and 15). Bits travel packed eight to a byte, the first
// bit in the lowest bit of the first byte.

#include "modbuscontext.h"

#include <cerrno>
#include <cstdio>

namespace Modbus {

namespace {

constexpr uint16_t CoilOn = 0xFF00;
constexpr uint16_t CoilOff = 0x0000;

// Refuses, before anything is sent, more bits than a request takes (with
// the message in debug mode) and a range that is none.
bool validRange(const ModbusContext *context, int start, int count, const void *bits, int most,
    const char *message)
{
    if (count > most) {
        if (context && context->debug)
            fprintf(stderr, message, count, most);
        errno = TooManyData;
        return false;
    }
    if (!context || !bits || count < 1 || start < 0 || start > 0xFFFF) {
        errno = EINVAL;
        return false;
    }
    return true;
}

int readBits(ModbusContext *context, int function, int start, int count, uint8_t *bits)
{
    if (!validRange(
            context, start, count, bits, MaxReadBits, "ERROR Too many bits requested (%d > %d)\n"))
        return -1;
    uint8_t reply[FrameBufferSize];
    const int quantity = Core::exchangeHeader(context, function, start, count, reply);
    if (quantity == -1)
        return -1;
    // The bits of the last byte beyond the quantity are padding, not data.
    const uint8_t *data = reply + context->backend->headerLength + 2;
    for (int i = 0; i < quantity; ++i)
        bits[i] = (data[i / 8] >> (i % 8)) & 1;
    return quantity;
}

} // namespace

int readCoils(ModbusContext *context, int start, int count, uint8_t *bits)
{
    return readBits(context, FunctionReadCoils, start, count, bits);
}

int readDiscreteInputs(ModbusContext *context, int start, int count, uint8_t *bits)
{
    return readBits(context, FunctionReadDiscreteInputs, start, count, bits);
}

int writeCoil(ModbusContext *context, int address, bool on)
{
    if (!context || address < 0 || address > 0xFFFF) {
        errno = EINVAL;
        return -1;
    }
    uint8_t reply[FrameBufferSize];
    // The value stands where other requests have their quantity.
    return Core::exchangeHeader(context, FunctionWriteCoil, address, on ? CoilOn : CoilOff, reply);
}

int writeCoils(ModbusContext *context, int start, int count, const uint8_t *bits)
{
    if (!validRange(context, start, count, bits, MaxWriteBits,
            "ERROR Trying to write to too many bits (%d > %d)\n"))
        return -1;
    uint8_t request[FrameBufferSize];
    uint8_t reply[FrameBufferSize];
    int length = Core::buildRequest(context, FunctionWriteCoils, start, count, request);
    if (length == -1)
        return -1;
    const int bytes = (count + 7) / 8;
    request[length++] = uint8_t(bytes);
    for (int i = 0; i < bytes; ++i)
        request[length + i] = 0;
    for (int i = 0; i < count; ++i) {
        if (bits[i])
            request[length + i / 8] |= uint8_t(1 << (i % 8));
    }
    length += bytes;
    return Core::exchange(context, request, length, reply);
}

} // namespace Modbus
