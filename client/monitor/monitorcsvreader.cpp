#include "monitorcsvreader.h"

namespace {

using Position = monitorCsvReader::Position;

// The position after byte c at position p, and whether c ended the record.
Position step(Position p, char c, bool *recordEnd)
{
    *recordEnd = false;
    switch (p) {
    case Position::Quoted:
        return c == '"' ? Position::QuoteInQuoted : Position::Quoted;
    case Position::QuoteInQuoted:
        if (c == '"')
            return Position::Quoted; // a doubled quote
        Q_FALLTHROUGH();
    case Position::Unquoted:
    case Position::FieldStart:
        if (c == '\n') {
            *recordEnd = true;
            return Position::FieldStart;
        }
        if (c == ',')
            return Position::FieldStart;
        if (c == '"' && p == Position::FieldStart)
            return Position::Quoted;
        return Position::Unquoted;
    }
    return Position::Unquoted;
}

} // namespace

QList<QByteArray> monitorCsvReader::feed(const QByteArray &bytes)
{
    QList<QByteArray> done;
    const char *data = bytes.constData();
    const int size = bytes.size();
    int start = 0; // where the record that pending continues goes on in bytes
    for (int i = 0; i < size; ++i) {
        if (skipping) {
            if (data[i] == '\n') {
                skipping = false;
                start = i + 1;
            }
            continue;
        }
        bool recordEnd = false;
        position = step(position, data[i], &recordEnd);
        if (recordEnd) {
            // Sized to the record: it is kept as long as its row is.
            QByteArray record;
            record.reserve(pending.size() + i + 1 - start);
            record.append(pending).append(data + start, i + 1 - start);
            done << record;
            pending.clear();
            start = i + 1;
        } else if (pending.size() + (i + 1 - start) > MaxRecordBytes) {
            pending.clear();
            position = Position::FieldStart;
            skipping = true;
            ++dropped;
        }
    }
    if (!skipping)
        pending.append(data + start, size - start);
    return done;
}

QByteArray monitorCsvReader::finish()
{
    QByteArray rest;
    rest.swap(pending);
    position = Position::FieldStart;
    skipping = false;
    return rest;
}

QStringList monitorCsvReader::fields(const QByteArray &record)
{
    int size = record.size();
    if (record.endsWith("\r\n"))
        size -= 2;
    else if (record.endsWith('\n'))
        size -= 1;

    QStringList found;
    QByteArray field;
    Position p = Position::FieldStart;
    for (int i = 0; i < size; ++i) {
        const char c = record.at(i);
        bool recordEnd = false;
        const Position next = step(p, c, &recordEnd);
        if (c == ',' && next == Position::FieldStart) {
            found << QString::fromUtf8(field);
            field.clear();
        } else if (!(c == '"' && (p == Position::FieldStart || p == Position::Quoted))) {
            // Every byte is text but the quotes that open and close a field;
            // of a doubled quote the second one is.
            field += c;
        }
        p = next;
    }
    found << QString::fromUtf8(field);
    return found;
}

QList<QByteArray> monitorCsvReader::records(const QByteArray &text)
{
    monitorCsvReader reader;
    QList<QByteArray> found = reader.feed(text);
    const QByteArray rest = reader.finish();
    if (!rest.isEmpty())
        found << rest;
    return found;
}
