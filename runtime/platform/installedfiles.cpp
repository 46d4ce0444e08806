#include "installedfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTranslator>

QString installedProgramFolder()
{
    return QStringLiteral(QEL_INSTALL_BINDIR);
}

QString programInFolders(const QString &name, const QStringList &folders)
{
    for (const QString &folder : folders) {
        const QFileInfo program(QDir(folder), name);
        if (program.isFile())
            return program.absoluteFilePath();
    }
    return QFileInfo(QDir(folders.value(0)), name).absoluteFilePath();
}

QString installedDataFolder()
{
    // The relative path from the bin folder to the share folder keeps an
    // installation movable (and lets a staged installation be tried in place).
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/')
        + QStringLiteral(QEL_BIN_TO_DATADIR) + QStringLiteral("/qel"));
}

QStringList translationFiles(const QString &name, const QString &dataFolder)
{
    const QString fileName = name + QStringLiteral(".qm");
    QStringList files;
    const QFileInfo installed(QDir(dataFolder), QStringLiteral("translations/") + fileName);
    if (installed.isFile())
        files << installed.absoluteFilePath();
    files << QStringLiteral(":/file/") + fileName;
    return files;
}

bool loadToolSetTranslation(QTranslator &translator, const QString &name)
{
    const QStringList files = translationFiles(name, installedDataFolder());
    for (const QString &file : files) {
        if (translator.load(file))
            return true;
    }
    return false;
}
