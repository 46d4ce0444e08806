#include "wireframe.h"

#include <QStringList>

namespace {

void appendWord(QByteArray *bytes, quint16 word)
{
    bytes->append(char(word >> 8));
    bytes->append(char(word & 0xFF));
}

} // namespace

namespace WireFrame {

quint16 crc16(const QByteArray &bytes)
{
    quint16 crc = 0xFFFF;
    for (const char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? quint16((crc >> 1) ^ 0xA001) : quint16(crc >> 1);
    }
    return crc;
}

quint8 lrc(const QByteArray &bytes)
{
    unsigned sum = 0;
    for (const char byte : bytes)
        sum += quint8(byte);
    return quint8(0x100 - (sum & 0xFF));
}

QByteArray fromHex(const QString &hex)
{
    return QByteArray::fromHex(hex.toLatin1());
}

QString toHex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

QString rtu(const QString &hex)
{
    QByteArray bytes = fromHex(hex);
    const quint16 crc = crc16(bytes);
    bytes.append(char(crc & 0xFF));
    bytes.append(char(crc >> 8));
    return toHex(bytes);
}

QByteArray ascii(const QString &hex)
{
    const QByteArray bytes = fromHex(hex);
    int sum = 0;
    for (const char byte : bytes)
        sum += quint8(byte);
    QByteArray frame = ":" + bytes.toHex().toUpper();
    frame += QByteArray::number((256 - sum % 256) % 256, 16).toUpper().rightJustified(2, '0');
    return frame + "\r\n";
}

QString tcpAfterTransaction(const QString &hex)
{
    const QByteArray bytes = fromHex(hex);
    QByteArray frame;
    appendWord(&frame, 0);
    appendWord(&frame, quint16(bytes.size()));
    return toHex(frame + bytes);
}

QString dropTransaction(const QString &logLine)
{
    return logLine.mid(6);
}

QString macroPayload(quint16 code, quint8 specification, const QVector<quint16> &params)
{
    QByteArray bytes;
    appendWord(&bytes, code);
    appendWord(&bytes, quint16(~code));
    bytes.append(char(specification));
    bytes.append(char(params.size()));
    for (const quint16 word : params)
        appendWord(&bytes, word);
    bytes.append(char(~specification));
    bytes.append(char(~params.size()));
    return toHex(bytes);
}

QString writeMacroRequest(
    quint8 address, quint16 code, quint8 specification, const QVector<quint16> &params)
{
    QByteArray head;
    head.append(char(address));
    head.append(char(0x10));
    appendWord(&head, 0);
    appendWord(&head, quint16(params.size() + 4));
    head.append(char(2 * params.size() + 8));
    return toHex(head) + " " + macroPayload(code, specification, params);
}

QString readMacroRequest(
    quint8 address, quint16 code, quint8 specification, const QVector<quint16> &params)
{
    QByteArray head;
    head.append(char(address));
    head.append(char(0x41));
    appendWord(&head, 0);
    appendWord(&head, quint16(params.size() + 4));
    return toHex(head) + " " + macroPayload(code, specification, params);
}

} // namespace WireFrame
