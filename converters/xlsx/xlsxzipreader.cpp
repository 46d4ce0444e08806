#include "xlsxzipreader.h"

#include <QFileInfo>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipfileinfo.h>

namespace QXlsx {

ZipReader::ZipReader() = default;

ZipReader::~ZipReader()
{
    if (entry)
        entry->close();
}

bool ZipReader::open(const QString &fileName)
{
    // A FIFO or a device would be read for ever or be consumed; an archive
    // needs a file to seek in.
    const QFileInfo file(fileName);
    if (file.exists() && !file.isFile()) {
        error = QStringLiteral("not a regular file");
        return false;
    }
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

bool ZipReader::openEntry(const QString &name)
{
    if (entry)
        closeEntry();
    const QString stored = namesByFoldedName.value(name.toCaseFolded());
    QuaZipFileInfo64 info;
    if (stored.isEmpty() || !zip->setCurrentFile(stored, QuaZip::csSensitive)
        || !zip->getCurrentFileInfo(&info)) {
        error = QStringLiteral("part %1 is missing").arg(name);
        return false;
    }
    const qint64 size = qint64(qMin<quint64>(info.uncompressedSize, quint64(MaxEntrySize) + 1));
    if (size > MaxEntrySize) {
        error = QStringLiteral("part %1 would inflate to more than %2 bytes")
                    .arg(name)
                    .arg(MaxEntrySize);
        return false;
    }
    if (size > InflationGrace && quint64(size) / MaxInflation > info.compressedSize) {
        error = QStringLiteral("part %1 would inflate from %2 to %3 bytes, more than %4 times "
                               "its size: the workbook is not read")
                    .arg(name)
                    .arg(info.compressedSize)
                    .arg(size)
                    .arg(MaxInflation);
        return false;
    }
    entry = std::make_unique<QuaZipFile>(zip.get());
    if (!entry->open(QIODevice::ReadOnly)) {
        error = QStringLiteral("part %1 cannot be opened (code %2)")
                    .arg(name)
                    .arg(entry->getZipError());
        entry.reset();
        return false;
    }
    entryName = name;
    entryLeft = size;
    return true;
}

qint64 ZipReader::readEntry(char *buffer, qint64 size)
{
    if (!entry)
        return -1;
    const qint64 count = entry->read(buffer, qMin(size, entryLeft + 1));
    if (count < 0 || entry->getZipError() != UNZ_OK) {
        error = QStringLiteral("part %1 is damaged (code %2)")
                    .arg(entryName)
                    .arg(entry->getZipError());
        return -1;
    }
    entryLeft -= count;
    if (entryLeft < 0) {
        error = QStringLiteral("part %1 is longer than its zip entry says").arg(entryName);
        return -1;
    }
    return count;
}

bool ZipReader::closeEntry()
{
    if (!entry)
        return false;
    const bool complete = entry->atEnd() && entryLeft == 0;
    entry->close();
    const int code = entry->getZipError();
    entry.reset();
    if (!complete || code != UNZ_OK) {
        error = QStringLiteral("part %1 is damaged (code %2)").arg(entryName).arg(code);
        return false;
    }
    return true;
}

bool ZipReader::read(const QString &name, qint64 maxSize, QByteArray *data)
{
    if (!openEntry(name))
        return false;
    if (entryLeft > maxSize) {
        error = QStringLiteral("part %1 is larger than %2 bytes").arg(name).arg(maxSize);
        closeEntry();
        return false;
    }
    data->resize(int(entryLeft));
    qint64 done = 0;
    while (done < data->size()) {
        const qint64 count = readEntry(data->data() + done, data->size() - done);
        if (count <= 0) {
            if (count == 0)
                error = QStringLiteral("part %1 is damaged (short)").arg(name);
            entry->close();
            entry.reset();
            return false;
        }
        done += count;
    }
    return closeEntry();
}

} // namespace QXlsx
