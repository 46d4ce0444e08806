#pragma once

#include <QFile>
#include <QString>

// Every frame received, one line each: the bytes as upper-case hexadecimal
// pairs separated by one blank ("01 03 00 00 00 01 84 0A"), TCP header included.
// Each line is flushed at once, so a reader sees it as soon as the frame arrived.
class RequestLog
{
public:
    bool open(const QString &path, QString *error);
    void writeFrame(const QByteArray &frame);

    static QString hexLine(const QByteArray &bytes);

private:
    QFile file;
};
