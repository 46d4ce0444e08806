#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <memory>

class QuaZip;
class QuaZipFile;

namespace QXlsx {

// The entries of a zip archive on disk, looked up by name without regard to
// case (package part names are case-insensitive).
//
// Entries are read with their inflated size bounded: an entry larger than
// MaxEntrySize, or one that inflates to more than MaxInflation times its
// compressed size (past a first few mebibytes), is refused before any of it
// is inflated, so a small archive cannot make the reader produce gigabytes.
class ZipReader
{
public:
    static constexpr qint64 MaxEntrySize = Q_INT64_C(0xFFFFFFFF);
    static constexpr qint64 MaxInflation = 250;
    static constexpr qint64 InflationGrace = 4 * 1024 * 1024;

    ZipReader();
    ~ZipReader();
    ZipReader(const ZipReader &) = delete;
    ZipReader &operator=(const ZipReader &) = delete;

    // Opens the archive and lists its entries; false when the file is missing,
    // is not a regular file or is not a zip archive.
    bool open(const QString &fileName);
    bool contains(const QString &name) const;
    // The whole uncompressed content of one entry of at most maxSize bytes;
    // false when the entry is missing, larger, or its data is damaged
    // (failed decompression or checksum).
    bool read(const QString &name, qint64 maxSize, QByteArray *data);

    // Streaming: opens one entry (closing any other), reads it chunk by chunk
    // (readEntry gives 0 at its end, -1 on damage) and closes it; closeEntry()
    // is false when the data failed its checksum.
    bool openEntry(const QString &name);
    qint64 readEntry(char *buffer, qint64 size);
    bool closeEntry();

    QString errorString() const { return error; }

private:
    std::unique_ptr<QuaZip> zip;
    std::unique_ptr<QuaZipFile> entry;
    QString entryName;
    qint64 entryLeft = 0;
    QHash<QString, QString> namesByFoldedName;
    QString error;
};

} // namespace QXlsx
