#include "logbuffer.h"

#include <QRegularExpression>

logBuffer::logBuffer(int limit)
    : lineLimit(limit > 0 ? limit : 1)
{ }

QStringList logBuffer::splitLines(const QString &html)
{
    static const QRegularExpression lineBreak(
        QStringLiteral("<br\\s*/?>"), QRegularExpression::CaseInsensitiveOption);
    QStringList pieces;
    int from = 0;
    QRegularExpressionMatchIterator it = lineBreak.globalMatch(html);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        pieces << html.mid(from, match.capturedEnd() - from);
        from = match.capturedEnd();
    }
    pieces << html.mid(from);
    return pieces;
}

void logBuffer::append(const QString &html)
{
    QStringList pieces = splitLines(html);
    const QString rest = pieces.takeLast();
    for (const QString &piece : qAsConst(pieces)) {
        lines << partial + piece;
        partial.clear();
    }
    partial += rest;
    while (lines.size() > lineLimit) {
        lines.removeFirst();
        ++droppedLines;
    }
}

void logBuffer::clear()
{
    lines.clear();
    partial.clear();
    droppedLines = 0;
}

QStringList logBuffer::take(int count)
{
    const int n = qMin(qMax(count, 0), lines.size());
    QStringList pieces = lines.mid(0, n);
    lines.erase(lines.begin(), lines.begin() + n);
    if (lines.isEmpty()) {
        pieces << partial;
        partial.clear();
    } else {
        pieces << QString();
    }
    return pieces;
}

qint64 logBuffer::takeDropped()
{
    const qint64 n = droppedLines;
    droppedLines = 0;
    return n;
}
