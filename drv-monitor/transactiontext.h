#pragma once

#include "bustransaction.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

// The words in which the monitor tells what it saw: the line of a
// transaction, the rows of its frames in a CSV file, the names of functions,
// exceptions and failures. Text that comes from a device (identification,
// object values) shows control characters as \xHH, so it cannot steer the
// terminal it is printed on.
namespace TransactionText {

// "2024-05-07 10:15:02.481 address 1 Read Holding Registers start 100
// count 3: 1234 64302 4660 (4 ms)". With hex, one more line for each frame
// ("  request: 01 03 ..."). Lines are separated by "\n", none ends the text.
QString line(const BusTransaction &transaction, const QDateTime &time, bool hex);

// The header row and the rows of a transaction's frames, request first,
// each field quoted as RFC 4180 asks, without line ends. frameTime gives
// the wall-clock time of a frame's first byte.
QString csvHeader();
QStringList csvRows(
    const BusTransaction &transaction, const QDateTime &requestTime, const QDateTime &replyTime);

QString functionName(const FrameContent &content);
// The engine's text for a Modbus exception code ("Illegal data address").
QString exceptionName(int code);
// "CRC error" (or "LRC error"), "truncated frame", "unknown frame".
QString failureName(const BusFrame &frame);
// "no reply", "broadcast", "listening ended".
QString outcomeName(BusTransaction::Outcome outcome);
// RTU: the bytes as upper-case hexadecimal pairs; ASCII: the frame's text
// without its line end.
QString hex(const BusFrame &frame);

// The time stamps of lines and of CSV rows.
QString lineTime(const QDateTime &time);
QString csvTime(const QDateTime &time);

} // namespace TransactionText
