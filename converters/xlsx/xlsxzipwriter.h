#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QIODevice;
class QuaZip;

namespace QXlsx {

// Writes a zip archive, entry by entry, to a seekable device that is not yet
// open (a QBuffer, for instance); the device is closed by close().
class ZipWriter
{
public:
    explicit ZipWriter(QIODevice *device);
    ~ZipWriter();
    ZipWriter(const ZipWriter &) = delete;
    ZipWriter &operator=(const ZipWriter &) = delete;

    bool open();
    // Adds one deflated entry.
    bool addFile(const QString &name, const QByteArray &data);
    // Writes the central directory; false when any step failed.
    bool close();
    QString errorString() const { return error; }

private:
    std::unique_ptr<QuaZip> zip;
    QString error;
};

} // namespace QXlsx
