#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <memory>

class QuaZip;

namespace QXlsx {

// The entries of a zip archive on disk, looked up by name without regard to
// case (package part names are case-insensitive).
class ZipReader
{
public:
    ZipReader();
    ~ZipReader();
    ZipReader(const ZipReader &) = delete;
    ZipReader &operator=(const ZipReader &) = delete;

    // Opens the archive and lists its entries; false when the file is missing
    // or is not a zip archive.
    bool open(const QString &fileName);
    bool contains(const QString &name) const;
    // The whole uncompressed content of one entry; false when the entry is
    // missing or its data is damaged (failed decompression or checksum).
    bool read(const QString &name, QByteArray *data);
    QString errorString() const { return error; }

private:
    std::unique_ptr<QuaZip> zip;
    QHash<QString, QString> namesByFoldedName;
    QString error;
};

} // namespace QXlsx
