#include "ssh.h"

#include "shellwords.h"

ssh::ssh(const QString &folder, const QString &ip, int port, const QString &user,
    const QString &idFile, const QString &remoteCommand, const QString &options, bool startNow,
    QObject *parent)
    : openSshRun(parent)
{
    const QString file = programFile(folder, QStringLiteral("ssh"));
    QString line = quotedIfBlank(file) + QStringLiteral(" -p ") + QString::number(port)
        + QStringLiteral(" -i ") + quotedIfBlank(idFile) + QLatin1Char(' ');
    if (!options.isEmpty())
        line += QLatin1Char(' ') + options + QLatin1Char(' ');
    line += user + QLatin1Char('@') + ip + QLatin1Char(' ') + remoteCommand;

    QStringList args {QStringLiteral("-p"), QString::number(port)};
    if (!idFile.isEmpty())
        args << QStringLiteral("-i") << idFile;
    args << shellWords(options);
    // "--" ends the options: the destination and the command follow as they are.
    args << QStringLiteral("--") << user + QLatin1Char('@') + ip.trimmed() << remoteCommand;

    prepare(file, line, args);
    if (startNow)
        start();
}
