#pragma once

#include <QString>
#include <QtGlobal>

// Number rules of command-line values. A "0x" prefix (at position 0, lower-case
// x) means hexadecimal; a decimal comma is accepted where a real number is read.
// Text that does not read gives 0 and, where asked, ok = false.
namespace Numbers {

// Real rule: "0x..." is read as an unsigned hexadecimal number, anything else
// has every "," replaced by "." and is read as a real number.
double toReal(const QString &text, bool *ok = nullptr);
// Signed rule: "0x..." in base 16, anything else in base 10.
qint64 toSigned(const QString &text, bool *ok = nullptr);
// Unsigned rule: "0x..." in base 16, anything else in base 10.
quint64 toUnsigned(const QString &text, bool *ok = nullptr);
// Real rule, truncated towards zero and cut to 16 bits (70000 gives 4464).
quint16 toWord(const QString &text);
// Unsigned decimal integer, the rule of the connection options ("--baudrate",
// "--address", ...): no prefix, no sign, no fraction.
quint32 toDecimal(const QString &text, bool *ok = nullptr);
// True when the text is decimal digits only and their number is in [low,
// high]: the one rule of a TCP port, whose value toDecimal() then gives.
bool isDecimalInRange(const QString &text, quint32 low, quint32 high);
// True when the text reads under the real rule as a whole number in [low, high].
bool isIntegerInRange(const QString &text, double low, double high);

} // namespace Numbers
