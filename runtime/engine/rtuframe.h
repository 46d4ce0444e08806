#pragma once

// RTU framing: the device address before the PDU and the CRC-16 after it,
// on a serial line or through a gateway. ASCII frames carry the same address
// and PDU, so its line takes the address operations from here too.

#include "linestream.h"

namespace Modbus {
namespace Rtu {

constexpr int HeaderLength = 1;
constexpr int ChecksumLength = 2;
constexpr int MaxFrameLength = 256;

// 0 to 247; EINVAL otherwise.
int setAddress(ModbusContext *context, int address);
// The address byte, function, start and quantity: 6 bytes.
int buildRequestHeader(
    ModbusContext *context, int function, int start, int quantity, uint8_t *request);
// Appends the CRC, low-order byte first.
int finishFrame(uint8_t *frame, int length);
// 0 when the reply came from another device (fromOtherDevice), otherwise
// the length when the CRC holds and -1 with InvalidCrc when it does not.
int checkIntegrity(ModbusContext *context, uint8_t *reply, int length);
// A reply to a request for a device other than 0 must come from that device
// (ResponseNotFromRequestedSlave otherwise).
int preCheck(ModbusContext *context, const uint8_t *request, const uint8_t *reply, int length);

// Whether the reply's address is neither the context's nor 0 (a context with
// address 0 takes every reply); says so in debug mode.
bool fromOtherDevice(const ModbusContext *context, const uint8_t *reply);

// The table of a line that carries RTU frames on the stream of Line.
template<typename Line>
constexpr Backend backend = {
    HeaderLength,
    ChecksumLength,
    MaxFrameLength,
    setAddress,
    buildRequestHeader,
    finishFrame,
    streamSend<Line>,
    streamRead<Line>,
    checkIntegrity,
    preCheck,
    streamConnect<Line>,
    streamClose<Line>,
    streamFlush<Line>,
    streamWaitForData<Line>,
    freeLine<Line>,
    streamReplyAllowanceMs<Line>,
    streamStillOpen<Line>,
};

} // namespace Rtu
} // namespace Modbus
