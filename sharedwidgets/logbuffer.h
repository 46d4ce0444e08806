#pragma once

#include <QStringList>

// The log text kept while the log window is hidden: HTML fragments collected
// into lines (a line ends with "<br>"), the newest `limit` complete lines kept,
// the number of older lines dropped counted, and the unfinished last line.
class logBuffer
{
public:
    explicit logBuffer(int limit);

    void append(const QString &html);
    void clear();
    bool isEmpty() const { return lines.isEmpty() && partial.isEmpty() && droppedLines == 0; }

    // Complete lines, oldest first, each still ending with its "<br>".
    const QStringList &completeLines() const { return lines; }
    // Text after the last "<br>".
    const QString &unfinished() const { return partial; }
    // Complete lines dropped because more than `limit` were kept.
    qint64 dropped() const { return droppedLines; }
    int limit() const { return lineLimit; }

    // Takes the oldest count complete lines out; when no complete line is left
    // the unfinished one follows as the last piece. The pieces are in the form
    // of splitLines(): complete lines, then the rest (possibly empty).
    QStringList take(int count);
    // Returns the dropped count and resets it.
    qint64 takeDropped();

    // Splits html after every "<br>": the pieces, each ending with its "<br>",
    // and then the rest (possibly empty).
    static QStringList splitLines(const QString &html);

private:
    int lineLimit;
    QStringList lines;
    QString partial;
    qint64 droppedLines = 0;
};
