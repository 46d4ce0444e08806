#include "requestlog.h"

bool RequestLog::openFile(QFile &file, const QString &path, QString *error)
{
    file.setFileName(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

bool RequestLog::open(const QString &path, QString *error)
{
    return openFile(file, path, error);
}

bool RequestLog::openReplies(const QString &path, QString *error)
{
    return openFile(replies, path, error);
}

QString RequestLog::hexLine(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

void RequestLog::writeLine(QFile &file, const QByteArray &line)
{
    if (!file.isOpen())
        return;
    file.write(line + '\n');
    file.flush();
}

void RequestLog::writeFrame(const QByteArray &frame)
{
    writeLine(file, hexLine(frame).toLatin1());
}

void RequestLog::writeReply(const QByteArray &reply)
{
    writeLine(replies, reply.isEmpty() ? QByteArray("-") : hexLine(reply).toLatin1());
}
