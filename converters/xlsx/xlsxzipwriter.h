#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QIODevice;
class QuaZip;
class QuaZipFile;

namespace QXlsx {

// Writes a zip archive entry by entry, each entry as a stream of chunks, onto
// a device that is open for writing and stays open: a file, or a pipe or
// another device that cannot seek (entries then carry data descriptors).
// The archive is kept within the limits of the plain zip format (entries and
// offsets below 4 GiB); more is an error, never a damaged archive.
class ZipWriter
{
public:
    static constexpr qint64 MaxArchiveData = Q_INT64_C(0xFFFFFFFF) - 16 * 1024 * 1024;

    explicit ZipWriter(QIODevice *device);
    ~ZipWriter();
    ZipWriter(const ZipWriter &) = delete;
    ZipWriter &operator=(const ZipWriter &) = delete;

    bool open();
    // Adds one deflated entry.
    bool addFile(const QString &name, const QByteArray &data);
    // Starts a deflated entry at a compression level (1 fastest ... 9 smallest).
    bool beginEntry(const QString &name, int level);
    bool write(const char *data, qint64 size);
    bool endEntry();
    // Writes the central directory; false when any step failed.
    bool close();
    QString errorString() const { return error; }

private:
    bool fail(const QString &what, int code);

    QIODevice *device;
    std::unique_ptr<QuaZip> zip;
    std::unique_ptr<QuaZipFile> entry;
    QString entryName;
    qint64 written = 0;
    QString error;
};

} // namespace QXlsx
