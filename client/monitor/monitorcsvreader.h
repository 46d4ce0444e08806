#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

// Reads CSV text (RFC 4180: fields separated by commas, records ended by
// CR LF, a quoted field may hold commas, line ends and doubled quotes) from
// a stream as it comes, in pieces that may end anywhere: inside a record, a
// quoted field or a UTF-8 character. Text that strays from the form is read
// as far as it goes rather than refused: a bare LF ends a record as CR LF
// does, a quote inside an unquoted field or after a closing quote is taken
// as text. A record longer than MaxRecordBytes is dropped up to the next
// line end, so a quote left open cannot hold everything after it.
class monitorCsvReader
{
public:
    static constexpr int MaxRecordBytes = 1 << 20;

    // The records that bytes completes, each as its bytes with its line end.
    QList<QByteArray> feed(const QByteArray &bytes);
    // What the stream left of a record without its line end; the reader
    // starts afresh.
    QByteArray finish();
    // Records dropped for their length so far.
    int droppedRecords() const { return dropped; }

    // The fields of one record, its line end left out, decoded as UTF-8.
    static QStringList fields(const QByteArray &record);
    // The records of a text that ends with a line end, as feed() finds them.
    static QList<QByteArray> records(const QByteArray &text);

    // Where the reader stands after a byte.
    enum class Position {
        FieldStart,
        Unquoted,
        Quoted,
        QuoteInQuoted, // a quote inside a quoted field: its end, or the first of two
    };

private:
    QByteArray pending; // the bytes of the unfinished record
    Position position = Position::FieldStart;
    bool skipping = false; // dropping an overlong record up to its line end
    int dropped = 0;
};
