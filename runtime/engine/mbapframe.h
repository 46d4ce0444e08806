#pragma once

// MBAP framing of Modbus over TCP: the transaction identifier, protocol
// identifier 0, the length of what follows and the unit identifier before
// the PDU; no checksum. Lines that carry it keep their own transaction
// identifier in their data as `transactionId`.

#include "linestream.h"

namespace Modbus {
namespace Mbap {

constexpr int HeaderLength = 7;
constexpr int MaxFrameLength = 260;

// 0 to 247, and 255 (any unit); EINVAL otherwise.
int setAddress(ModbusContext *context, int address);
// Takes the next transaction identifier (wrapping to 0 after 65535) and
// writes the header, function, start and quantity: 12 bytes.
int buildRequestHeader(ModbusContext *context, uint16_t &transactionId, int function, int start,
    int quantity, uint8_t *request);
// Sets the length field.
int finishFrame(uint8_t *frame, int length);
// The length field must count the bytes received after it (InvalidData
// otherwise); returns the length.
int checkIntegrity(ModbusContext *context, uint8_t *reply, int length);
// The transaction identifier must be the request's and the protocol
// identifier 0 (InvalidData otherwise); the unit identifier is not checked.
int preCheck(ModbusContext *context, const uint8_t *request, const uint8_t *reply, int length);

template<typename Line>
int buildLineRequestHeader(
    ModbusContext *context, int function, int start, int quantity, uint8_t *request)
{
    return buildRequestHeader(
        context, lineData<Line>(context)->transactionId, function, start, quantity, request);
}

// The table of a line that carries MBAP frames on the stream of Line.
template<typename Line>
constexpr Backend backend = {
    HeaderLength,
    0,
    MaxFrameLength,
    setAddress,
    buildLineRequestHeader<Line>,
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

} // namespace Mbap
} // namespace Modbus
