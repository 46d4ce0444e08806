#pragma once

#include <QString>
#include <QVector>

// The types of single register values. 32-bit values occupy two registers,
// the low-order word in the lower register; F32 is an IEEE 754 single.
enum class ValueType { U16, S16, U32, S32, F32 };

namespace RegisterValue {

// Number of registers a value of this type occupies: 1 or 2.
int registerCount(ValueType type);

// Reads the value of a typed write under its type's rule (U16 and U32 the
// unsigned rule, S16 and S32 the signed rule, F32 the real rule) and gives its
// words, low-order word first. A value that does not read or does not fit its
// type appends one line naming it to *errors and gives no words.
bool toWords(ValueType type, const QString &text, QVector<quint16> *words, QString *errors);

// Text of a value read from registers: decimal (F32 with 6 significant
// digits), or with hex "0x" and lower-case hexadecimal digits, the sign after
// the prefix and the raw bits of an F32.
QString toText(ValueType type, const QVector<quint16> &words, bool hex);

// One word of a block write or a register image: the unsigned rule, 0 to 65535.
bool toWord(const QString &text, quint16 *word, QString *errors);

} // namespace RegisterValue
