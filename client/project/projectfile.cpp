#include "projectfile.h"

#include "filesaving.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>

bool projectFile::save(const QString &path, const QJsonObject &root, QString *error)
{
    const QByteArray bytes = QJsonDocument(root).toJson(QJsonDocument::Indented);
    const QString folder = QFileInfo(path).absolutePath();
    QString reason;
    if (!QDir().mkpath(folder))
        reason = tr("Cannot create the folder %1").arg(QDir::toNativeSeparators(folder));
    else
        FileSaving::save(path, bytes, &reason);
    if (reason.isEmpty())
        return true;
    if (error)
        *error = reason;
    return false;
}

projectFile::Content projectFile::load(const QString &path)
{
    Content content;
    // Only a regular file is taken: a FIFO would hold the window until
    // something wrote to it, and a device could be read without end.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        content.error = tr("%1 is not a regular file").arg(QDir::toNativeSeparators(path));
        return content;
    }
    const QString tooLarge = tr("The file is too large for a project: %1 bytes, at most %2");
    if (info.size() > MaxBytes) {
        content.error = tooLarge.arg(info.size()).arg(MaxBytes);
        return content;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        content.error = file.errorString();
        return content;
    }
    // Bounded again: the file may have grown since.
    const QByteArray bytes = file.read(MaxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        content.error = file.errorString();
        return content;
    }
    if (bytes.size() > MaxBytes) {
        content.error = tooLarge.arg(file.size()).arg(MaxBytes);
        return content;
    }
    QJsonParseError parse;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parse);
    if (parse.error != QJsonParseError::NoError) {
        content.status = NotJson;
        content.error = tr("The file is not valid JSON: %1 at offset %2")
                            .arg(parse.errorString())
                            .arg(parse.offset);
    } else if (!document.isObject()) {
        content.status = NotObject;
        content.error = tr("The file holds no project: its JSON is not an object");
    } else {
        content.status = Loaded;
        content.root = document.object();
    }
    return content;
}
