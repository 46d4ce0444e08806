#include "xlsxzipwriter.h"

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

namespace QXlsx {

ZipWriter::ZipWriter(QIODevice *device)
    : zip(std::make_unique<QuaZip>(device))
{ }

ZipWriter::~ZipWriter()
{
    if (zip->isOpen())
        zip->close();
}

bool ZipWriter::open()
{
    if (!zip->open(QuaZip::mdCreate)) {
        error = QStringLiteral("cannot create the zip archive (code %1)").arg(zip->getZipError());
        return false;
    }
    return true;
}

bool ZipWriter::addFile(const QString &name, const QByteArray &data)
{
    QuaZipFile entry(zip.get());
    if (!entry.open(QIODevice::WriteOnly, QuaZipNewInfo(name), nullptr, 0, Z_DEFLATED,
            Z_DEFAULT_COMPRESSION)) {
        error = QStringLiteral("cannot add %1 (code %2)").arg(name).arg(entry.getZipError());
        return false;
    }
    const bool written = entry.write(data) == data.size();
    entry.close();
    if (!written || entry.getZipError() != ZIP_OK) {
        error = QStringLiteral("cannot write %1 (code %2)").arg(name).arg(entry.getZipError());
        return false;
    }
    return true;
}

bool ZipWriter::close()
{
    zip->close();
    if (zip->getZipError() != ZIP_OK) {
        error = QStringLiteral("cannot finish the zip archive (code %1)").arg(zip->getZipError());
        return false;
    }
    return true;
}

} // namespace QXlsx
