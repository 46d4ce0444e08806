#include "serveprotocol.h"

#include <QRandomGenerator>

namespace ServeProtocol {

namespace {

const QByteArray readyWord = QByteArrayLiteral("serving ");

} // namespace

QByteArray newKey()
{
    const quint64 value = QRandomGenerator::system()->generate64();
    return QByteArray::number(value, 16).rightJustified(KeyLength, '0');
}

QByteArray readyLine(const QByteArray &key)
{
    return readyWord + key + '\n';
}

QByteArray endMark(const QByteArray &key)
{
    return QByteArrayLiteral("\nend ") + key + ' ';
}

QByteArray endLine(const QByteArray &key, int exitStatus)
{
    return endMark(key) + QByteArray::number(exitStatus & 0xFF) + '\n';
}

QByteArray keyOfReadyLine(const QByteArray &line)
{
    if (!line.startsWith(readyWord) || line.size() != readyWord.size() + KeyLength)
        return QByteArray();
    const QByteArray key = line.mid(readyWord.size());
    for (const char c : key) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return QByteArray();
    }
    return key;
}

EndLine findEndLine(const QByteArray &buffer, const QByteArray &key, int from)
{
    EndLine end;
    const QByteArray mark = endMark(key);
    const int at = buffer.indexOf(mark, from);
    if (at < 0)
        return end;
    const int statusAt = at + mark.size();
    const int lineEnd = buffer.indexOf('\n', statusAt);
    if (lineEnd < 0)
        return end;
    const QByteArray status = buffer.mid(statusAt, lineEnd - statusAt);
    bool number = false;
    end.status = status.toInt(&number);
    end.wellFormed = number && end.status >= 0 && end.status <= 255
        && status == QByteArray::number(end.status);
    end.found = true;
    end.markAt = at;
    end.next = lineEnd + 1;
    return end;
}

} // namespace ServeProtocol
