#include "xlsxzipwriter.h"

#include <QIODevice>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

namespace QXlsx {

ZipWriter::ZipWriter(QIODevice *device)
    : device(device)
    , zip(std::make_unique<QuaZip>(device))
{
    // The device belongs to the caller, who closes (or commits) it.
    zip->setAutoClose(false);
}

ZipWriter::~ZipWriter()
{
    if (entry)
        entry->close();
    if (zip->isOpen())
        zip->close();
}

bool ZipWriter::fail(const QString &what, int code)
{
    if (error.isEmpty()) {
        // The device's own reason ("No space left on device") says more than
        // the zip library's code.
        const QString reason = device->errorString();
        error = reason.isEmpty() || reason == QLatin1String("Unknown error")
            ? QStringLiteral("%1 (code %2)").arg(what).arg(code)
            : QStringLiteral("%1: %2").arg(what, reason);
    }
    return false;
}

bool ZipWriter::open()
{
    if (!zip->open(QuaZip::mdCreate))
        return fail(QStringLiteral("cannot create the zip archive"), zip->getZipError());
    return true;
}

bool ZipWriter::addFile(const QString &name, const QByteArray &data)
{
    return beginEntry(name, Z_DEFAULT_COMPRESSION) && write(data.constData(), data.size())
        && endEntry();
}

bool ZipWriter::beginEntry(const QString &name, int level)
{
    entry = std::make_unique<QuaZipFile>(zip.get());
    entryName = name;
    if (!entry->open(QIODevice::WriteOnly, QuaZipNewInfo(name), nullptr, 0, Z_DEFLATED, level)) {
        const int code = entry->getZipError();
        entry.reset();
        return fail(QStringLiteral("cannot add %1").arg(name), code);
    }
    return true;
}

bool ZipWriter::write(const char *data, qint64 size)
{
    if (!entry)
        return false;
    written += size;
    if (written > MaxArchiveData) {
        error = QStringLiteral("the workbook would exceed %1 MiB, more than a zip archive "
                               "holds")
                    .arg(MaxArchiveData / 1024 / 1024);
        return false;
    }
    if (entry->write(data, size) != size || entry->getZipError() != ZIP_OK)
        return fail(QStringLiteral("cannot write %1").arg(entryName), entry->getZipError());
    return true;
}

bool ZipWriter::endEntry()
{
    if (!entry)
        return false;
    entry->close();
    const int code = entry->getZipError();
    entry.reset();
    if (code != ZIP_OK)
        return fail(QStringLiteral("cannot write %1").arg(entryName), code);
    return true;
}

bool ZipWriter::close()
{
    zip->close();
    if (zip->getZipError() != ZIP_OK)
        return fail(QStringLiteral("cannot finish the zip archive"), zip->getZipError());
    return error.isEmpty();
}

} // namespace QXlsx
