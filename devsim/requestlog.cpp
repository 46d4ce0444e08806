#include "requestlog.h"

bool RequestLog::open(const QString &path, QString *error)
{
    return requests.open(path, error);
}

bool RequestLog::openReplies(const QString &path, QString *error)
{
    return replies.open(path, error);
}

QString RequestLog::hexLine(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

void RequestLog::writeFrame(const QByteArray &frame)
{
    requests.writeLine(hexLine(frame).toLatin1());
}

void RequestLog::writeReply(const QByteArray &reply)
{
    replies.writeLine(reply.isEmpty() ? QByteArray("-") : hexLine(reply).toLatin1());
}
