#include "executablesuffix.h"

#include <QtGlobal>

QString executableSuffix()
{
#ifdef Q_OS_WIN
    return QStringLiteral(".exe");
#else
    return QString();
#endif
}

QString executableName(const QString &baseName)
{
    return baseName + executableSuffix();
}
