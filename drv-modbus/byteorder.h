#pragma once

#include <QString>
#include <QVector>

// Where the bytes of a 32- or 64-bit value go in its registers. A value's
// bytes are named from its most significant on, A B C D (A to H for 64-bit
// values), and the order is how the registers from the lowest address on
// hold them, each register high byte first on the wire: ABCD puts the most
// significant word first, CDAB the least significant word first, BADC and
// DCBA the same with the two bytes of every register swapped. For 64-bit
// values the same rule runs over four registers (CDAB: GH EF CD AB).
enum class ByteOrder { ABCD, BADC, CDAB, DCBA };

namespace ByteOrders {

// The order of today's values: low-order word first, high byte first.
constexpr ByteOrder Default = ByteOrder::CDAB;

// "ABCD", "BADC", "CDAB", "DCBA".
QStringList names();
QString name(ByteOrder order);
// False for a text that names no order.
bool fromName(const QString &text, ByteOrder *order);

// The registers (1, 2 or 4) of the low-order 16 × registers bits of value.
// One register is a 16-bit value, which has no order of its own.
QVector<quint16> toWords(quint64 value, int registers, ByteOrder order);
// The value held in words (1, 2 or 4 registers; missing ones count as 0).
quint64 fromWords(const QVector<quint16> &words, int registers, ByteOrder order);

} // namespace ByteOrders
