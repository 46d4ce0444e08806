#pragma once

#include <QByteArray>
#include <QtGlobal>

// CRC-16 of RTU frames (polynomial 0xA001 reflected, start value 0xFFFF),
// computed bit by bit so that it shares nothing with the engine's table.
// On the wire the low-order byte goes first.
namespace Crc16 {

quint16 compute(const QByteArray &bytes);
// The frame with its two CRC bytes appended, low byte first.
QByteArray appended(const QByteArray &frame);
// True when the last two bytes are the CRC of the bytes before them.
bool isValid(const QByteArray &frame);

} // namespace Crc16
