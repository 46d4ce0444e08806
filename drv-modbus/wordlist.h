#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// Word lists of range reads and block writes as text and as bytes.
namespace WordList {

// Reads the words of a block write or a text register image. Blanks, tabs,
// line ends, commas and brackets separate values and empty parts are skipped,
// so "[1, 2]" gives 1, 2. Every value must read as a word from 0 to largest
// (RegisterValue::toWord); each one that does not appends a line to *errors
// (at most ten, then a count of the rest) and the result is false.
bool fromText(
    const QString &text, QVector<quint16> *words, QString *errors, quint16 largest = 0xFFFF);
// True when every word is 0 or 1, the values of coils; otherwise a line for
// each other value with its position from 1 (at most ten, then a count of
// the rest).
bool checkBits(const QVector<quint16> &words, QString *errors);

// Value texts of range values: "0x" and four upper-case hexadecimal digits
// (0x00AB), or the unsigned decimal number.
QString hexText(quint16 word);
QString decimalText(quint16 word);
// The value texts joined by "," with nothing after the last one.
QString toText(const QVector<quint16> &words, bool decimal);

// Binary image: two bytes per word, low-order byte first.
QByteArray toBinary(const QVector<quint16> &words);
// False for an odd number of bytes (then no words).
bool fromBinary(const QByteArray &bytes, QVector<quint16> *words);

} // namespace WordList
