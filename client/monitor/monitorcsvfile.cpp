#include "monitorcsvfile.h"

#include "filesaving.h"

#include <QDir>
#include <QFileInfo>
#include <QIODevice>

namespace {

// Writes are handed to the system in pieces of about this size.
constexpr int ChunkBytes = 1 << 20;

bool writeAll(QIODevice *device, const QByteArray &bytes)
{
    return device->write(bytes) == bytes.size();
}

} // namespace

bool monitorCsvFile::save(
    const QString &path, const QByteArray &header, const QList<QByteArray> &rows, QString *error)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        *error = info.isDir() ? tr("%1 is a folder").arg(QDir::toNativeSeparators(path))
                              : tr("%1 is not a regular file").arg(QDir::toNativeSeparators(path));
        return false;
    }
    FileSaving::Stream file;
    QString reason;
    if (!file.open(path, &reason)) {
        *error = reason;
        return false;
    }
    QIODevice *device = file.device();
    QByteArray chunk = header;
    chunk.reserve(ChunkBytes + 4096);
    for (const QByteArray &row : rows) {
        chunk += row;
        if (chunk.size() >= ChunkBytes) {
            if (!writeAll(device, chunk)) {
                *error = device->errorString();
                return false;
            }
            chunk.clear();
        }
    }
    if (!writeAll(device, chunk)) {
        *error = device->errorString();
        return false;
    }
    if (!file.commit(&reason)) {
        *error = reason;
        return false;
    }
    return true;
}
