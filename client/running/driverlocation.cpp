#include "driverlocation.h"

#include "executablesuffix.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString driverLocation(const QString &baseName)
{
    const QString name = executableName(baseName);
    const QFileInfo local(QDir::current(), name);
    if (local.isFile())
        return local.absoluteFilePath();
    const QFileInfo installed(QDir(QCoreApplication::applicationDirPath()), name);
    if (installed.isFile())
        return installed.absoluteFilePath();
    return local.absoluteFilePath();
}
