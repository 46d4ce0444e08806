#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// Expected wire frames for comparison with the simulator's request log (hex
// bytes in upper case separated by single blanks). Built here on their own,
// without the engine's frame code, so that a fault there cannot hide itself.
namespace WireFrame {

// The RTU CRC-16 of the bytes, bit by bit (the first byte on the wire is
// the low byte of the number).
quint16 crc16(const QByteArray &bytes);

// The Modbus ASCII LRC: the two's complement of the bytes' sum.
quint8 lrc(const QByteArray &bytes);

QByteArray fromHex(const QString &hex);
QString toHex(const QByteArray &bytes);

// The RTU frame: the bytes given (address first) and their CRC, low byte first.
QString rtu(const QString &hex);
// The ASCII frame of the bytes given (address first): ':', their
// upper-case hexadecimal digits and their LRC, CR LF.
QByteArray ascii(const QString &hex);
// A TCP frame as logged, without its two transaction identifier bytes:
// protocol 0, the length, then the bytes given (unit identifier first).
QString tcpAfterTransaction(const QString &hex);
// A logged TCP frame without its transaction identifier.
QString dropTransaction(const QString &logLine);

// The macro payload: code, its complement, specification, count, the
// parameter words, the complements of specification and count.
QString macroPayload(quint16 code, quint8 specification, const QVector<quint16> &params);
// Address (unit), function 16 at register 0 with the payload.
QString writeMacroRequest(
    quint8 address, quint16 code, quint8 specification, const QVector<quint16> &params);
// Address (unit), function 0x41 at register 0 with the payload.
QString readMacroRequest(
    quint8 address, quint16 code, quint8 specification, const QVector<quint16> &params);

} // namespace WireFrame
