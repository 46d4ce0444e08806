#pragma once

#include <QCoreApplication>
#include <QJsonObject>
#include <QString>

// The project file on disk: one JSON object, indented, UTF-8.
class projectFile
{
    Q_DECLARE_TR_FUNCTIONS(projectFile)

public:
    // Writes root to path, creating the file's directory when it is missing.
    // The file is replaced only once the new content is completely written,
    // so a failure (a full disk, a crash) leaves the previous file intact.
    // On failure returns false and sets error to a text for the user.
    static bool save(const QString &path, const QJsonObject &root, QString *error = nullptr);

    // The largest project file read: some 100,000 requests, far more than
    // the window can hold; a larger file is not a project.
    static constexpr qint64 MaxBytes = 16 * 1024 * 1024;

    enum Status {
        Loaded, // root holds the file's object
        CannotOpen, // not a regular file, too large, or cannot be read
        NotJson, // the text is not valid JSON
        NotObject, // valid JSON, but the root is not an object
    };

    struct Content
    {
        Status status = CannotOpen;
        QJsonObject root;
        QString error; // for the user, empty when loaded
    };

    static Content load(const QString &path);
};
