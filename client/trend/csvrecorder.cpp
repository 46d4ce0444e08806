#include "csvrecorder.h"

#include <QFile>
#include <QFileInfo>

csvRecorder::csvRecorder(QObject *parent)
    : QObject(parent)
{ }

csvRecorder::~csvRecorder() = default;

bool csvRecorder::start(const QString &path)
{
    stop();
    error.clear();
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        error = info.isDir() ? tr("%1 is a folder").arg(path)
                             : tr("%1 is not a regular file").arg(path);
        return false;
    }
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        error = file->errorString();
        return false;
    }
    device = std::move(file);
    name = path;
    if (!writeLine(header()))
        return false;
    emit started(name);
    return true;
}

void csvRecorder::stop()
{
    if (!device)
        return;
    device->close();
    device.reset();
    emit stopped(name);
}

bool csvRecorder::record(const requestRecord &result)
{
    if (!device)
        return true;
    const bool written = writeLine({isoTime(result.time), result.kind, result.desc, result.addr,
        result.type, result.raw, result.shown,
        result.ok ? QStringLiteral("OK") : QStringLiteral("ERROR"), result.cause});
    if (!written)
        emit failed(name, error);
    return written;
}

// Writes one line; the device is unbuffered, so the line is with the system
// when this returns. A write that stops short is continued, which either
// completes the line or brings out the system's reason (a full disk first
// takes what fits and fails only on the rest). On failure a file is cut back
// to its last whole line and the recording ends.
bool csvRecorder::writeLine(const QStringList &fields)
{
    const QByteArray bytes = line(fields).toUtf8();
    const qint64 lineStart = device->pos();
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = device->write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            break;
        done += n;
    }
    if (done == bytes.size())
        return true;
    error = device->errorString();
    if (error.isEmpty())
        error = tr("Unknown error");
    if (auto *file = qobject_cast<QFileDevice *>(device.get()))
        file->resize(lineStart);
    device->close();
    device.reset();
    return false;
}

QStringList csvRecorder::header()
{
    return {QStringLiteral("time"), QStringLiteral("kind"), QStringLiteral("description"),
        QStringLiteral("address"), QStringLiteral("type"), QStringLiteral("raw value"),
        QStringLiteral("shown value"), QStringLiteral("status"), QStringLiteral("cause")};
}

QString csvRecorder::line(const QStringList &fields)
{
    QString text;
    for (int i = 0; i < fields.size(); ++i) {
        if (i > 0)
            text += QLatin1Char(',');
        QString field = fields.at(i);
        if (field.contains(QLatin1Char(',')) || field.contains(QLatin1Char('"'))
            || field.contains(QLatin1Char('\r')) || field.contains(QLatin1Char('\n'))) {
            field.replace(QLatin1String("\""), QLatin1String("\"\""));
            field = QLatin1Char('"') + field + QLatin1Char('"');
        }
        text += field;
    }
    return text + QLatin1String("\r\n");
}

QString csvRecorder::isoTime(const QDateTime &time)
{
    return time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODateWithMs);
}
