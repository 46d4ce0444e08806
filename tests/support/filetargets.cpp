#include "filetargets.h"

#include <QFile>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

bool makeCharacterDevice(const QString &path, unsigned major, unsigned minor)
{
    if (::geteuid() != 0)
        return false;
    return ::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0666, makedev(major, minor)) == 0;
}

QString fileKind(const QString &path)
{
    struct stat status;
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return QStringLiteral("missing");
    if (S_ISREG(status.st_mode))
        return QStringLiteral("file");
    if (S_ISFIFO(status.st_mode))
        return QStringLiteral("fifo");
    if (S_ISCHR(status.st_mode))
        return QStringLiteral("character device");
    if (S_ISLNK(status.st_mode))
        return QStringLiteral("link");
    if (S_ISDIR(status.st_mode))
        return QStringLiteral("directory");
    return QStringLiteral("other");
}

NotARegularFile::NotARegularFile(const QString &path, const QString &kind)
{
    if (kind == QLatin1String("zero device")) {
        made = makeCharacterDevice(path, MemoryDevices, ZeroMinor);
        return;
    }
    made = ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    if (!made || kind == QLatin1String("fifo"))
        return;
    // The writer's open waits for a reader; once its reader goes away it ends.
    const QString command = kind == QLatin1String("fifo fed")
        ? QStringLiteral("exec yes 65535 > \"$0\"")
        : QStringLiteral(": > \"$0\"");
    writer.start(QStringLiteral("sh"), {QStringLiteral("-c"), command, path});
    made = writer.waitForStarted(10000);
}

NotARegularFile::~NotARegularFile()
{
    if (writer.state() != QProcess::NotRunning) {
        writer.kill();
        writer.waitForFinished(10000);
    }
}
