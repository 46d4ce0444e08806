#include "modbusslave.h"

#include "bitbank.h"
#include "macrolog.h"
#include "registerbank.h"

namespace {

constexpr int MaxReadCount = 125;
constexpr int MaxWriteCount = 123;
constexpr int MaxReadBits = 2000;
constexpr int MaxWriteBits = 1968;

quint8 byteAt(const QByteArray &bytes, int index)
{
    return static_cast<quint8>(bytes.at(index));
}

int wordAt(const QByteArray &bytes, int index)
{
    return (byteAt(bytes, index) << 8) | byteAt(bytes, index + 1);
}

void appendWord(QByteArray &bytes, int word)
{
    bytes.append(static_cast<char>((word >> 8) & 0xFF));
    bytes.append(static_cast<char>(word & 0xFF));
}

} // namespace

ModbusSlave::ModbusSlave(
    RegisterBank &bank, BitBank &bits, const MacroAnswers &answers, MacroLog &macroLog)
    : bank(bank)
    , bits(bits)
    , answers(answers)
    , macroLog(macroLog)
{ }

QByteArray ModbusSlave::exceptionReply(int function, int code)
{
    QByteArray reply;
    reply.append(static_cast<char>((function | 0x80) & 0xFF));
    reply.append(static_cast<char>(code & 0xFF));
    return reply;
}

QByteArray ModbusSlave::execute(const DeviceProfile &device, const QByteArray &request)
{
    if (request.isEmpty())
        return QByteArray();
    const int function = byteAt(request, 0);
    switch (function) {
    case 1:
        return readBits(request, true);
    case 2:
        return readBits(request, false);
    case 3:
        return readRegisters(request, true);
    case 4:
        return readRegisters(request, false);
    case 5:
        return writeCoil(request);
    case 6:
        return writeRegister(request);
    case 15:
        return writeCoils(request);
    case 16:
        return writeRegisters(request);
    case 0x2B:
        return readDeviceId(device, request);
    case 0x41:
        return readMacro(device, request);
    case 0x11:
        if (request.size() != 1)
            return exceptionReply(function, IllegalDataValue);
        return QByteArray(1, 0x11) + identificationBytes(device);
    default:
        return exceptionReply(function, IllegalFunction);
    }
}

int ModbusSlave::readException(const QByteArray &request, int most)
{
    if (request.size() != 5)
        return IllegalDataValue;
    const int count = wordAt(request, 3);
    if (count < 1 || count > most)
        return IllegalDataValue;
    // Both banks hold 65536 of their kind.
    if (wordAt(request, 1) + count > RegisterBank::Count)
        return IllegalDataAddress;
    return 0;
}

QByteArray ModbusSlave::readRegisters(const QByteArray &request, bool holding)
{
    const int function = byteAt(request, 0);
    if (const int exception = readException(request, MaxReadCount))
        return exceptionReply(function, exception);
    const int start = wordAt(request, 1);
    const int count = wordAt(request, 3);
    QByteArray reply;
    reply.append(static_cast<char>(function));
    reply.append(static_cast<char>(count * 2));
    for (int i = 0; i < count; ++i)
        appendWord(reply, holding ? bank.holding(start + i) : bank.input(start + i));
    bank.stepCounters(!holding, start, count);
    return reply;
}

QByteArray ModbusSlave::readBits(const QByteArray &request, bool coils)
{
    const int function = byteAt(request, 0);
    if (const int exception = readException(request, MaxReadBits))
        return exceptionReply(function, exception);
    const int start = wordAt(request, 1);
    const int count = wordAt(request, 3);
    QByteArray packed((count + 7) / 8, '\0');
    for (int i = 0; i < count; ++i) {
        if (coils ? bits.coil(start + i) : bits.discreteInput(start + i))
            packed[i / 8] = static_cast<char>(byteAt(packed, i / 8) | (1 << (i % 8)));
    }
    QByteArray reply;
    reply.append(static_cast<char>(function));
    reply.append(static_cast<char>(packed.size()));
    return reply + packed;
}

QByteArray ModbusSlave::writeCoil(const QByteArray &request)
{
    const int function = byteAt(request, 0);
    if (request.size() != 5)
        return exceptionReply(function, IllegalDataValue);
    const int value = wordAt(request, 3);
    if (value != 0xFF00 && value != 0x0000)
        return exceptionReply(function, IllegalDataValue);
    bits.setCoils(wordAt(request, 1), {value == 0xFF00});
    return request;
}

QByteArray ModbusSlave::writeRegister(const QByteArray &request)
{
    const int function = byteAt(request, 0);
    if (request.size() != 5)
        return exceptionReply(function, IllegalDataValue);
    bank.writeHolding(wordAt(request, 1), {static_cast<quint16>(wordAt(request, 3))});
    return request;
}

QByteArray ModbusSlave::writeCoils(const QByteArray &request)
{
    const int function = byteAt(request, 0);
    if (request.size() < 6)
        return exceptionReply(function, IllegalDataValue);
    const int start = wordAt(request, 1);
    const int count = wordAt(request, 3);
    const int byteCount = byteAt(request, 5);
    if (count < 1 || count > MaxWriteBits || byteCount != (count + 7) / 8
        || request.size() != 6 + byteCount)
        return exceptionReply(function, IllegalDataValue);
    if (start + count > BitBank::Count)
        return exceptionReply(function, IllegalDataAddress);
    QVector<bool> values(count);
    for (int i = 0; i < count; ++i)
        values[i] = (byteAt(request, 6 + i / 8) >> (i % 8)) & 1;
    bits.setCoils(start, values);
    return request.left(5);
}

QByteArray ModbusSlave::readDeviceId(const DeviceProfile &device, const QByteArray &request)
{
    const int function = byteAt(request, 0);
    if (request.size() < 2 || byteAt(request, 1) != 0x0E)
        return exceptionReply(function, IllegalFunction);
    if (request.size() != 4)
        return exceptionReply(function, IllegalDataValue);
    int exception = 0;
    const QByteArray objects
        = device.idObjects.reply(byteAt(request, 2), byteAt(request, 3), &exception);
    if (exception)
        return exceptionReply(function, exception);
    return QByteArray(1, static_cast<char>(function)) + objects;
}

bool ModbusSlave::decodeMacro(const QByteArray &payload, Macro *macro)
{
    if (payload.size() < 8)
        return false;
    const int code = wordAt(payload, 0);
    const int codeComplement = wordAt(payload, 2);
    const int specification = byteAt(payload, 4);
    const int count = byteAt(payload, 5);
    if (payload.size() != 2 * count + 8)
        return false;
    const int specificationComplement = byteAt(payload, 6 + 2 * count);
    const int countComplement = byteAt(payload, 7 + 2 * count);
    if ((code ^ 0xFFFF) != codeComplement || (specification ^ 0xFF) != specificationComplement
        || (count ^ 0xFF) != countComplement)
        return false;
    macro->code = code;
    macro->specification = specification;
    macro->parameters.clear();
    for (int i = 0; i < count; ++i)
        macro->parameters.append(static_cast<quint16>(wordAt(payload, 6 + 2 * i)));
    return true;
}

QByteArray ModbusSlave::writeRegisters(const QByteArray &request)
{
    const int function = byteAt(request, 0);
    if (request.size() < 6)
        return exceptionReply(function, IllegalDataValue);
    const int start = wordAt(request, 1);
    const int count = wordAt(request, 3);
    const int byteCount = byteAt(request, 5);
    if (count < 1 || count > MaxWriteCount || byteCount != 2 * count
        || request.size() != 6 + byteCount)
        return exceptionReply(function, IllegalDataValue);
    if (start + count > RegisterBank::Count)
        return exceptionReply(function, IllegalDataAddress);
    const QByteArray data = request.mid(6);
    if (start == 0 && macrosEnabled) {
        Macro macro;
        if (!decodeMacro(data, &macro))
            return exceptionReply(function, IllegalDataValue);
        macroLog.writeMacro("write", macro.code, macro.specification, macro.parameters);
    } else {
        QVector<quint16> words(count);
        for (int i = 0; i < count; ++i)
            words[i] = static_cast<quint16>(wordAt(data, 2 * i));
        bank.writeHolding(start, words);
    }
    return request.left(5);
}

QByteArray ModbusSlave::readMacro(const DeviceProfile &device, const QByteArray &request)
{
    const int function = byteAt(request, 0);
    if (request.size() < 5)
        return exceptionReply(function, IllegalDataValue);
    const int start = wordAt(request, 1);
    const int quantity = wordAt(request, 3);
    if (start != 0)
        return exceptionReply(function, IllegalDataAddress);
    const QByteArray payload = request.mid(5);
    Macro macro;
    if (payload.size() != 2 * quantity || !decodeMacro(payload, &macro))
        return exceptionReply(function, IllegalDataValue);
    if (macro.code == MacroAnswers::GetSerialNumber && !answers.overrides.contains(macro.code)) {
        if (device.serialNumberMode == DeviceProfile::SerialNumberMode::Silent)
            return QByteArray();
        if (device.serialNumberMode == DeviceProfile::SerialNumberMode::Exception)
            return exceptionReply(function, IllegalFunction);
    }
    const std::optional<QVector<quint16>> words
        = answers.answer(macro.code, macro.parameters, device);
    if (!words)
        return exceptionReply(function, IllegalFunction);
    macroLog.writeMacro("read", macro.code, macro.specification, macro.parameters);
    const int n = words->size();
    QByteArray reply;
    reply.append(static_cast<char>(function));
    reply.append(static_cast<char>((8 + 2 * n) & 0xFF));
    appendWord(reply, macro.code);
    appendWord(reply, macro.code ^ 0xFFFF);
    reply.append(static_cast<char>(macro.specification));
    reply.append(static_cast<char>(n & 0xFF));
    for (const quint16 word : *words)
        appendWord(reply, word);
    reply.append(static_cast<char>(macro.specification ^ 0xFF));
    reply.append(static_cast<char>((n ^ 0xFF) & 0xFF));
    return reply;
}

QByteArray ModbusSlave::identificationBytes(const DeviceProfile &device)
{
    // A master stores each received byte pair (high, low) as a little-endian
    // word, so the two bytes of every pair swap places in its buffer; sending
    // them swapped makes the text arrive in order.
    const int length = DeviceProfile::identificationLength(device.identificationVersion);
    QByteArray text = device.identification.left(length);
    text.append(QByteArray(length - text.size(), '\0'));
    for (int i = 0; i + 1 < length; i += 2) {
        const char first = text.at(i);
        text[i] = text.at(i + 1);
        text[i + 1] = first;
    }
    return text;
}
