#include "driverlocation.h"

#include "executablesuffix.h"
#include "installedfiles.h"

#include <QCoreApplication>
#include <QDir>

QString driverLocation(const QString &baseName)
{
    return programInFolders(executableName(baseName),
        {QDir::currentPath(), QCoreApplication::applicationDirPath(), installedProgramFolder()});
}
