#include "framedecoder.h"

#include "functioncodes.h"

namespace FrameDecoder {

namespace {

// Identification data bytes of versions 1 to 4.
constexpr int IdentificationLengths[] = {10, 12, 14, 16};

class Pdu
{
public:
    explicit Pdu(const QByteArray &adu)
        : bytes(reinterpret_cast<const quint8 *>(adu.constData()))
        , length(adu.size())
    { }

    int size() const { return length; }
    bool has(int index, int count = 1) const { return index >= 0 && index + count <= length; }
    quint8 byte(int index) const { return has(index) ? bytes[index] : 0; }
    quint16 word(int index) const { return quint16(byte(index) << 8 | byte(index + 1)); }
    const quint8 *at(int index) const { return bytes + index; }

private:
    const quint8 *bytes;
    int length;
};

void readWords(const Pdu &pdu, int first, int count, QVector<quint16> *words)
{
    words->reserve(count);
    for (int i = 0; i < count && pdu.has(first + 2 * i, 2); ++i)
        words->append(pdu.word(first + 2 * i));
}

// count bits from byte first on, the first bit in the low bit of its byte.
void readBits(const Pdu &pdu, int first, int count, QVector<quint16> *bits)
{
    bits->reserve(count);
    for (int i = 0; i < count && pdu.has(first + i / 8); ++i)
        bits->append(quint16((pdu.byte(first + i / 8) >> (i % 8)) & 1));
}

// The macro payload: code, its complement, specification, word count n, the
// n words, the complements of specification and count. True when the
// length and the complements agree.
bool readMacroPayload(const Pdu &pdu, int first, int length, FrameContent *content)
{
    if (length < 8 || !pdu.has(first, length))
        return false;
    const quint16 code = pdu.word(first);
    const quint8 specification = pdu.byte(first + 4);
    const quint8 count = pdu.byte(first + 5);
    const int tail = first + 6 + 2 * count;
    if (length != 8 + 2 * count || quint16(~pdu.word(first + 2)) != code
        || quint8(~pdu.byte(tail)) != specification || quint8(~pdu.byte(tail + 1)) != count)
        return false;
    content->macroCode = code;
    content->macroSpecification = specification;
    content->values.clear();
    readWords(pdu, first + 6, count, &content->values);
    return true;
}

void decodeRequest(const Pdu &pdu, FrameContent *content)
{
    switch (content->function) {
    case FunctionCode::ReadCoils:
    case FunctionCode::ReadDiscreteInputs:
    case FunctionCode::ReadHoldingRegisters:
    case FunctionCode::ReadInputRegisters:
        content->start = pdu.word(2);
        content->count = pdu.word(4);
        break;
    case FunctionCode::WriteSingleCoil:
        content->start = pdu.word(2);
        content->values = {quint16(pdu.word(4) == 0xFF00 ? 1 : 0)};
        content->malformed = pdu.word(4) != 0xFF00 && pdu.word(4) != 0;
        break;
    case FunctionCode::WriteSingleRegister:
        content->start = pdu.word(2);
        content->values = {pdu.word(4)};
        break;
    case FunctionCode::WriteMultipleCoils:
        content->start = pdu.word(2);
        content->count = pdu.word(4);
        readBits(pdu, 7, content->count, &content->values);
        content->malformed = pdu.byte(6) != (content->count + 7) / 8;
        break;
    case FunctionCode::WriteMultipleRegisters:
        content->start = pdu.word(2);
        content->count = pdu.word(4);
        if (content->start == 0 && readMacroPayload(pdu, 7, pdu.byte(6), content)
            && content->count == content->values.size() + 4) {
            content->kind = FrameContent::Kind::MacroWrite;
            break;
        }
        content->values.clear();
        readWords(pdu, 7, content->count, &content->values);
        content->malformed = pdu.byte(6) != 2 * content->count;
        break;
    case FunctionCode::MacroRead:
        content->kind = FrameContent::Kind::MacroRead;
        content->start = pdu.word(2);
        content->count = pdu.word(4);
        content->malformed = !readMacroPayload(pdu, 6, pdu.size() - 6, content)
            || content->count != content->values.size() + 4;
        break;
    case FunctionCode::Encapsulated:
        content->kind = FrameContent::Kind::DeviceIdentification;
        content->objectCode = pdu.byte(3);
        content->objectId = pdu.byte(4);
        break;
    case FunctionCode::Identification:
        content->kind = FrameContent::Kind::Identification;
        break;
    }
}

// The vendor's reply carries the text with each byte pair swapped (the
// device stores it as little-endian words); it ends at the first zero.
void decodeIdentification(const Pdu &pdu, FrameContent *content)
{
    const int length = pdu.size() - 2;
    // A standard reply's first byte counts the bytes after it; an
    // identification text does not start with such a control character.
    bool vendor = pdu.byte(2) != length - 1;
    bool fixedLength = false;
    for (int index = 0; index < 4; ++index)
        fixedLength = fixedLength || IdentificationLengths[index] == length;
    vendor = vendor && fixedLength;
    if (!vendor) {
        content->kind = FrameContent::Kind::ServerId;
        content->text = QByteArray(reinterpret_cast<const char *>(pdu.at(3)), length - 1);
        content->malformed = pdu.byte(2) != length - 1;
        return;
    }
    content->kind = FrameContent::Kind::Identification;
    for (int index = 0; index < 4; ++index) {
        if (IdentificationLengths[index] == length)
            content->identificationVersion = index + 1;
    }
    QByteArray text;
    for (int i = 0; i + 1 < length; i += 2) {
        text.append(char(pdu.byte(2 + i + 1)));
        text.append(char(pdu.byte(2 + i)));
    }
    const int zero = text.indexOf('\0');
    content->text = zero >= 0 ? text.left(zero) : text;
}

void decodeDeviceIdentification(const Pdu &pdu, FrameContent *content)
{
    content->objectCode = pdu.byte(3);
    int at = 8;
    for (int object = 0; object < pdu.byte(7) && pdu.has(at, 2); ++object) {
        const int length = pdu.byte(at + 1);
        const int available = qMin(length, pdu.size() - at - 2);
        content->objects.append(
            {pdu.byte(at), QByteArray(reinterpret_cast<const char *>(pdu.at(at + 2)), available)});
        at += 2 + length;
    }
    content->malformed = at != pdu.size();
}

void decodeReply(const Pdu &pdu, FrameContent *content)
{
    switch (content->function) {
    case FunctionCode::ReadCoils:
    case FunctionCode::ReadDiscreteInputs:
        readBits(pdu, 3, 8 * pdu.byte(2), &content->values);
        break;
    case FunctionCode::ReadHoldingRegisters:
    case FunctionCode::ReadInputRegisters:
        readWords(pdu, 3, pdu.byte(2) / 2, &content->values);
        break;
    case FunctionCode::WriteSingleCoil:
    case FunctionCode::WriteSingleRegister:
        decodeRequest(pdu, content); // the echo
        break;
    case FunctionCode::WriteMultipleCoils:
    case FunctionCode::WriteMultipleRegisters:
        content->start = pdu.word(2);
        content->count = pdu.word(4);
        break;
    case FunctionCode::MacroRead:
        content->kind = FrameContent::Kind::MacroRead;
        content->malformed = !readMacroPayload(pdu, 3, pdu.byte(2), content);
        break;
    case FunctionCode::Identification:
        decodeIdentification(pdu, content);
        break;
    case FunctionCode::Encapsulated:
        content->kind = FrameContent::Kind::DeviceIdentification;
        decodeDeviceIdentification(pdu, content);
        break;
    }
}

} // namespace

FrameContent decode(const QByteArray &adu, bool reply)
{
    const Pdu pdu(adu);
    FrameContent content;
    content.address = pdu.byte(0);
    content.function = pdu.byte(1) & ~FunctionCode::ExceptionBit;
    if (pdu.byte(1) & FunctionCode::ExceptionBit) {
        content.kind = FrameContent::Kind::Exception;
        content.exceptionCode = pdu.byte(2);
        return content;
    }
    if (reply)
        decodeReply(pdu, &content);
    else
        decodeRequest(pdu, &content);
    return content;
}

} // namespace FrameDecoder
