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

void RequestLog::writeConnection(int number, const QString &peer)
{
    const QByteArray line = "connection " + QByteArray::number(number) + " from " + peer.toLatin1();
    requests.writeLine(line);
    replies.writeLine(line);
}

void RequestLog::writeReply(const QByteArray &reply)
{
    replies.writeLine(reply.isEmpty() ? QByteArray("-") : hexLine(reply).toLatin1());
}
