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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        content.status = CannotOpen;
        content.error = file.errorString();
        return content;
    }
    QJsonParseError parse;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parse);
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
