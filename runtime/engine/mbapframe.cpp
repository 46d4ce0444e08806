#include "mbapframe.h"

#include <cerrno>
#include <cstdio>

namespace Modbus {
namespace Mbap {

namespace {
constexpr int MaxAddress = 247;
constexpr int UnitAny = 255;
} // namespace

int setAddress(ModbusContext *context, int address)
{
    if ((address < 0 || address > MaxAddress) && address != UnitAny) {
        errno = EINVAL;
        return -1;
    }
    context->deviceAddress = address;
    return 0;
}

int buildRequestHeader(ModbusContext *context, uint16_t &transactionId, int function, int start,
    int quantity, uint8_t *request)
{
    ++transactionId;
    request[0] = uint8_t(transactionId >> 8);
    request[1] = uint8_t(transactionId & 0xFF);
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

int finishFrame(uint8_t *frame, int length)
{
    const int following = length - 6;
    frame[4] = uint8_t(following >> 8);
    frame[5] = uint8_t(following & 0xFF);
    return length;
}

int checkIntegrity(ModbusContext *context, uint8_t *reply, int length)
{
    // The core reads what the request lets it expect; a frame that goes on
    // (an identification reply of another version) would pass as the
    // shorter one and leave its rest for the next request.
    const int announced = (reply[4] << 8 | reply[5]) + 6;
    if (announced == length)
        return length;
    if (context->debug)
        fprintf(stderr, "MBAP length %d not corresponding to the received length %d\n",
            announced - 6, length - 6);
    errno = InvalidData;
    return -1;
}

int preCheck(ModbusContext *context, const uint8_t *request, const uint8_t *reply, int)
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

} // namespace Mbap
} // namespace Modbus
