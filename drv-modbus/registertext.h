#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// Text held in registers: two bytes to a register, the first in the high
// byte, ending at the first zero byte or with the last register.
namespace RegisterText {

// The registers of a text of a write: its UTF-8 bytes, padded with zero
// bytes to registers registers. A text longer than that appends a line
// naming its length to *errors and gives no words.
bool toWords(const QString &text, int registers, QVector<quint16> *words, QString *errors);

// The bytes the registers hold, up to the first zero byte.
QByteArray bytesOf(const QVector<quint16> &words);

// Device text for a console: UTF-8 as it is, with control characters and
// bytes that are not UTF-8 as \xHH, so that no device can steer the
// terminal or the program that reads it.
QString shown(const QByteArray &bytes);

} // namespace RegisterText
