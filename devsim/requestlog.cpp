#include "requestlog.h"

bool RequestLog::open(const QString &path, QString *error)
{
    file.setFileName(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

QString RequestLog::hexLine(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

void RequestLog::writeFrame(const QByteArray &frame)
{
    if (!file.isOpen())
        return;
    file.write(hexLine(frame).toLatin1() + '\n');
    file.flush();
}
