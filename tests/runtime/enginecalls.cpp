#include "enginecalls.h"

#include <QByteArray>
#include <QStringList>

QString wordsText(const uint16_t *words, int count)
{
    QStringList parts;
    for (int i = 0; i < count; ++i)
        parts << QString::asprintf("%04X", words[i]);
    return parts.join(QLatin1Char(' '));
}

QString wireWords(int count, int first)
{
    QStringList parts;
    for (int i = 0; i < count; ++i)
        parts << QString::asprintf("%02X %02X", ((first + i) >> 8) & 0xFF, (first + i) & 0xFF);
    return parts.join(QLatin1Char(' '));
}

QString wordsOut(int count, int first)
{
    QStringList parts;
    for (int i = 0; i < count; ++i)
        parts << QString::asprintf("%04X", (first + i) & 0xFFFF);
    return parts.join(QLatin1Char(' '));
}

QVector<uint16_t> wordVector(int count, int first)
{
    QVector<uint16_t> words;
    for (int i = 0; i < count; ++i)
        words << uint16_t(first + i);
    return words;
}

EngineCall readHolding(int start, int count)
{
    return [=](ModbusContext *context, QString *output) {
        uint16_t words[256] = {};
        const int rc = Modbus::readHoldingRegisters(context, start, count, words);
        *output = wordsText(words, rc);
        return rc;
    };
}

EngineCall readInput(int start, int count)
{
    return [=](ModbusContext *context, QString *output) {
        uint16_t words[256] = {};
        const int rc = Modbus::readInputRegisters(context, start, count, words);
        *output = wordsText(words, rc);
        return rc;
    };
}

EngineCall writeRegisters(int start, const QVector<uint16_t> &words)
{
    return [=](ModbusContext *context, QString *) {
        return Modbus::writeRegisters(context, start, words.size(), words.constData());
    };
}

EngineCall writeMacro(uint16_t code, int specification, const QVector<uint16_t> &parameters)
{
    return [=](ModbusContext *context, QString *) {
        return Modbus::writeMacro(
            context, code, specification, parameters.size(), parameters.constData());
    };
}

EngineCall readMacro(uint16_t code, int specification, const QVector<uint16_t> &parameters)
{
    return [=](ModbusContext *context, QString *output) {
        uint16_t result[Modbus::MacroResultWords] = {};
        const int rc = Modbus::readMacro(
            context, code, specification, parameters.size(), parameters.constData(), result);
        *output = wordsText(result, rc);
        return rc;
    };
}

EngineCall readIdentification(int bufferSize, int version)
{
    return [=](ModbusContext *context, QString *output) {
        QByteArray buffer(qMax(bufferSize, 1), char(0xEE));
        const int rc = Modbus::readIdentification(
            context, bufferSize, reinterpret_cast<uint8_t *>(buffer.data()), version);
        if (rc > 0)
            *output = QString::fromLatin1(buffer.left(bufferSize).toHex(' ').toUpper());
        return rc;
    };
}

QString bitsText(const uint8_t *bits, int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += bits[i] ? QLatin1Char('1') : QLatin1Char('0');
    return text;
}

EngineCall readBits(bool coils, int start, int count)
{
    return [=](ModbusContext *context, QString *output) {
        uint8_t bits[Modbus::MaxReadBits + 8] = {};
        const int rc = coils ? Modbus::readCoils(context, start, count, bits)
                             : Modbus::readDiscreteInputs(context, start, count, bits);
        *output = bitsText(bits, rc);
        return rc;
    };
}

EngineCall writeCoils(int start, const QString &bits)
{
    return [=](ModbusContext *context, QString *) {
        QVector<uint8_t> values;
        for (const QChar c : bits)
            values << (c == QLatin1Char('1') ? 1 : 0);
        return Modbus::writeCoils(context, start, values.size(), values.constData());
    };
}

EngineCall writeCoil(int address, bool on)
{
    return
        [=](ModbusContext *context, QString *) { return Modbus::writeCoil(context, address, on); };
}

EngineCall writeRegister(int address, uint16_t value)
{
    return [=](ModbusContext *context, QString *) {
        return Modbus::writeRegister(context, address, value);
    };
}

EngineCall readDeviceId(int readCode, int objectId)
{
    return [=](ModbusContext *context, QString *output) {
        Modbus::DeviceIdReply reply;
        const int rc = Modbus::readDeviceIdentification(context, readCode, objectId, &reply);
        if (rc < 0)
            return rc;
        *output = QString::asprintf("%02X %s %02X:", reply.conformityLevel,
            reply.moreFollows ? "more" : "last", reply.nextObjectId);
        for (int i = 0; i < rc; ++i) {
            const Modbus::DeviceIdReply::Object &object = reply.objects[i];
            *output += QString::asprintf(" %02X=", object.id)
                + QString::fromLatin1(
                    reinterpret_cast<const char *>(reply.values + object.offset), object.length);
        }
        return rc;
    };
}

QString hexOf(const char *text)
{
    return QString::fromLatin1(QByteArray(text).toHex(' ').toUpper());
}
