#pragma once

#include <QString>
#include <QStringList>

// The kinds of register a request reads or writes and the data types of
// each, as the project file names them. A request of a project written
// before kinds and orders existed reads holding registers in today's order:
// both are the defaults and are written as no key.
namespace registerTypes {

extern const QString holding; // "holding", the default
extern const QString input; // "input"
extern const QString coil; // "coil"
extern const QString discrete; // "discrete"
extern const QString bit; // "BIT", the one type of coils and discrete inputs
extern const QString text; // "STR", text in a number of registers
extern const QString defaultOrder; // "CDAB": low-order word first

// The kinds a read takes (holding, input, coil, discrete) and a write takes
// (holding, coil).
QStringList readKinds();
QStringList writeKinds();
// The kind's name for the user: "Holding register", "Input register",
// "Coil", "Discrete input"; empty for a name that is no kind.
QString kindLabel(const QString &kind);
// The kind's short name for a row: "Holding", "Input", "Coil", "Discrete".
QString kindShortLabel(const QString &kind);
// The data types of a kind: F32, U32, S32, U16, S16, U64, S64, F64, STR for
// registers, BIT for coils and discrete inputs; none for another name.
QStringList types(const QString &kind);
bool isBitKind(const QString &kind);
// 32- and 64-bit types, whose registers hold the value in a byte order.
bool hasOrder(const QString &type);
// U16 and S16: the types a single-register write (function 6) takes.
bool takesSingleWrite(const QString &type);
// Every type but text: values the trend can plot.
bool isNumeric(const QString &type);
// U16, S16, U32, S32, U64, S64: the types the display formats apply to.
bool isInteger(const QString &type);
// ABCD, BADC, CDAB, DCBA.
QStringList orders();

// What a row shows of a request: the type, its byte order when it is not
// the default, the registers of a text; "U32", "U32 ABCD", "STR 8".
QString typeText(const QString &type, const QString &order, const QString &length);

} // namespace registerTypes
