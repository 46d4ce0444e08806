#include "frameshape.h"

#include "busframe.h"
#include "functioncodes.h"

namespace FrameShape {

namespace {

constexpr quint8 Request = BusFrame::Request;
constexpr quint8 Reply = BusFrame::Reply;
constexpr quint8 Either = Request | Reply;

constexpr int MaxAddress = 247;
// Data bytes of the vendor's identification replies, versions 1 to 4.
constexpr int IdentificationLengths[] = {10, 12, 14, 16};

class Shape
{
public:
    Shape(const quint8 *adu, int available)
        : adu(adu)
        , available(available)
        , broadcast(adu[0] == 0)
    { }

    // Whether byte index is there; notes the need when it is not.
    bool has(int index)
    {
        if (index < available)
            return true;
        if (result.needed < index + 1)
            result.needed = index + 1;
        return false;
    }
    quint8 at(int index) const { return adu[index]; }

    void add(int length, quint8 roles)
    {
        if (broadcast)
            roles &= Request; // nobody answers a broadcast
        if (roles == 0 || length > MaxAduLength)
            return;
        for (int i = 0; i < result.count; ++i) {
            if (result.list[i].length == length) {
                result.list[i].roles |= roles;
                return;
            }
        }
        if (result.count < int(sizeof result.list / sizeof result.list[0]))
            result.list[result.count++] = {length, roles};
    }

    // Reply of MEI type 14: eight bytes of header, then the objects, each
    // an identifier, a length and that many bytes.
    void addDeviceIdentificationReply()
    {
        if (!has(7))
            return;
        int length = 8;
        for (int object = 0; object < at(7); ++object) {
            if (!has(length + 1))
                return;
            length += 2 + at(length + 1);
            if (length > MaxAduLength)
                return;
        }
        add(length, Reply);
    }

    Candidates result;

private:
    const quint8 *adu;
    const int available;
    const bool broadcast;
};

} // namespace

bool isKnownStart(quint8 address, quint8 function)
{
    if (address > MaxAddress)
        return false;
    const bool exception = function & FunctionCode::ExceptionBit;
    if (exception && address == 0)
        return false;
    switch (function & ~FunctionCode::ExceptionBit) {
    case FunctionCode::ReadCoils:
    case FunctionCode::ReadDiscreteInputs:
    case FunctionCode::ReadHoldingRegisters:
    case FunctionCode::ReadInputRegisters:
    case FunctionCode::WriteSingleCoil:
    case FunctionCode::WriteSingleRegister:
    case FunctionCode::WriteMultipleCoils:
    case FunctionCode::WriteMultipleRegisters:
    case FunctionCode::Identification:
    case FunctionCode::Encapsulated:
    case FunctionCode::MacroRead:
        return true;
    default:
        return false;
    }
}

Candidates of(const quint8 *adu, int available)
{
    Candidates none;
    if (available >= 1 && adu[0] > MaxAddress)
        return none;
    if (available < 2) {
        none.needed = 2;
        return none;
    }
    if (!isKnownStart(adu[0], adu[1]))
        return none;

    Shape shape(adu, available);
    const quint8 function = adu[1];
    if (function & FunctionCode::ExceptionBit) {
        shape.add(3, Reply);
        return shape.result;
    }
    switch (function) {
    case FunctionCode::ReadCoils:
    case FunctionCode::ReadDiscreteInputs:
        shape.add(6, Request);
        if (shape.has(2))
            shape.add(3 + shape.at(2), Reply);
        break;
    case FunctionCode::ReadHoldingRegisters:
    case FunctionCode::ReadInputRegisters:
        shape.add(6, Request);
        // Two bytes a register.
        if (shape.has(2) && shape.at(2) > 0 && shape.at(2) % 2 == 0)
            shape.add(3 + shape.at(2), Reply);
        break;
    case FunctionCode::WriteSingleCoil:
    case FunctionCode::WriteSingleRegister:
        shape.add(6, Either); // the reply echoes the request
        break;
    case FunctionCode::WriteMultipleCoils:
    case FunctionCode::WriteMultipleRegisters:
        shape.add(6, Reply);
        if (shape.has(6))
            shape.add(7 + shape.at(6), Request);
        break;
    case FunctionCode::Identification:
        shape.add(2, Request);
        for (const int length : IdentificationLengths)
            shape.add(2 + length, Reply);
        if (shape.has(2))
            shape.add(3 + shape.at(2), Reply);
        break;
    case FunctionCode::MacroRead:
        // Request: register 0, the quantity, then the payload of that many
        // registers; reply: a byte count and that many bytes.
        if (shape.has(2))
            shape.add(3 + shape.at(2), Reply);
        if (shape.has(5))
            shape.add(6 + 2 * (shape.at(4) << 8 | shape.at(5)), Request);
        break;
    case FunctionCode::Encapsulated:
        if (!shape.has(2))
            break;
        if (shape.at(2) != FunctionCode::ReadDeviceIdentification)
            return none;
        shape.add(5, Request);
        shape.addDeviceIdentificationReply();
        break;
    }
    return shape.result;
}

quint8 rolesOf(const quint8 *adu, int length)
{
    const Candidates candidates = of(adu, length);
    quint8 roles = 0;
    for (int i = 0; i < candidates.count; ++i) {
        if (candidates.list[i].length == length)
            roles |= candidates.list[i].roles;
    }
    return roles;
}

} // namespace FrameShape
