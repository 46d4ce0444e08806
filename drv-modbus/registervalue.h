#pragma once

#include "byteorder.h"

#include <QString>
#include <QVector>

// The types of single register values. 32-bit values occupy two registers
// and 64-bit values four, in the byte order given (by default the low-order
// word in the lower register); F32 and F64 are IEEE 754 single and double.
// A bit is a coil or discrete input, 0 or 1, one to a register's place.
enum class ValueType { U16, S16, U32, S32, F32, U64, S64, F64, Bit };

namespace RegisterValue {

// Number of registers a value of this type occupies: 1, 2 or 4.
int registerCount(ValueType type);
// Whether the byte order changes how the type's value is held: 32- and
// 64-bit types.
bool hasByteOrder(ValueType type);

// Reads the value of a typed write under its type's rule (U16, U32 and U64
// the unsigned rule, S16, S32 and S64 the signed rule, F32 and F64 the real
// rule, a bit 0 or 1) and gives its words in the order given. A value that
// does not read or does not fit its type appends one line naming it to
// *errors and gives no words.
bool toWords(ValueType type, const QString &text, QVector<quint16> *words, QString *errors,
    ByteOrder order = ByteOrders::Default);

// Text of a value read from registers held in the order given: decimal (F32
// with 6 significant digits, F64 with as many as tell it apart from every
// other double; "nan", "inf", "-inf"), or with hex "0x" and lower-case
// hexadecimal digits, the sign after the prefix and the raw bits of a float.
// A bit is "0" or "1" either way.
QString toText(
    ValueType type, const QVector<quint16> &words, bool hex, ByteOrder order = ByteOrders::Default);

// One word of a block write or a register image: the unsigned rule, 0 to
// largest.
bool toWord(const QString &text, quint16 *word, QString *errors, quint16 largest = 0xFFFF);

// The word of a single-register write: an unsigned 16-bit value, or a
// signed one (-1 writes 0xFFFF); one line naming the range otherwise.
bool toSingleWord(const QString &text, quint16 *word, QString *errors);

} // namespace RegisterValue
