#include "xlsxzipreader.h"

#include <quazip.h>
#include <quazipfile.h>

namespace QXlsx {

ZipReader::ZipReader() = default;
ZipReader::~ZipReader() = default;

bool ZipReader::open(const QString &fileName)
{
    zip = std::make_unique<QuaZip>(fileName);
    if (!zip->open(QuaZip::mdUnzip)) {
        error = QStringLiteral("not a zip archive (code %1)").arg(zip->getZipError());
        return false;
    }
    const QStringList names = zip->getFileNameList();
    if (zip->getZipError() != UNZ_OK) {
        error = QStringLiteral("unreadable zip directory (code %1)").arg(zip->getZipError());
        return false;
    }
    for (const QString &name : names)
        namesByFoldedName.insert(name.toCaseFolded(), name);
    return true;
}

bool ZipReader::contains(const QString &name) const
{
    return namesByFoldedName.contains(name.toCaseFolded());
}

bool ZipReader::read(const QString &name, QByteArray *data)
{
    const QString stored = namesByFoldedName.value(name.toCaseFolded());
    if (stored.isEmpty() || !zip->setCurrentFile(stored, QuaZip::csSensitive)) {
        error = QStringLiteral("part %1 is missing").arg(name);
        return false;
    }
    QuaZipFile entry(zip.get());
    if (!entry.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("part %1 cannot be opened (code %2)")
                    .arg(name)
                    .arg(entry.getZipError());
        return false;
    }
    *data = entry.readAll();
    const bool complete = entry.getZipError() == UNZ_OK && entry.atEnd();
    entry.close();
    if (!complete || entry.getZipError() != UNZ_OK) {
        error = QStringLiteral("part %1 is damaged (code %2)").arg(name).arg(entry.getZipError());
        return false;
    }
    return true;
}

} // namespace QXlsx
