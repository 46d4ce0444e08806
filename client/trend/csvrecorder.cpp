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
    return start(std::move(file), path);
}

bool csvRecorder::start(std::unique_ptr<QIODevice> out, const QString &fileName)
{
    stop();
    error.clear();
    device = std::move(out);
    name = fileName;
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

// Writes one line in a single call; the device is unbuffered, so the line is
// with the system when this returns. A short or failed write ends the
// recording.
bool csvRecorder::writeLine(const QStringList &fields)
{
    const QByteArray bytes = line(fields).toUtf8();
    if (device->write(bytes) == bytes.size())
        return true;
    error = device->errorString();
    if (error.isEmpty())
        error = tr("Unknown error");
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
