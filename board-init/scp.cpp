#include "scp.h"

#include "shellwords.h"

scp::scp(const QString &folder, const QString &ip, int port, const QString &user,
    const QString &idFile, const QString &options, const QString &workDir, const QString &source,
    const QString &target, bool startNow, QObject *parent)
    : openSshRun(parent)
{
    const QString file = programFile(folder, QStringLiteral("scp"));
    QString line = quotedIfBlank(file) + QStringLiteral(" -P ") + QString::number(port)
        + QStringLiteral(" -i ") + quotedIfBlank(idFile) + QLatin1Char(' ');
    if (!options.isNull())
        line += options + QLatin1Char(' ');
    line += QStringLiteral("-r ") + source + QLatin1Char(' ') + user + QLatin1Char('@') + ip
        + QLatin1Char(':') + target;

    QStringList args {QStringLiteral("-P"), QString::number(port)};
    if (!idFile.isEmpty())
        args << QStringLiteral("-i") << idFile;
    args << shellWords(options) << QStringLiteral("-r");
    args << QStringLiteral("--") << localSource(source)
         << user + QLatin1Char('@') + remoteHost(ip.trimmed()) + QLatin1Char(':') + target;

    workingDirectory = workDir;
    prepare(file, line, args);
    if (startNow)
        start();
}

// scp takes "name:rest" for a file on another host; a local name with a colon
// before any slash is given as "./name:rest".
QString scp::localSource(const QString &source)
{
    const int colon = source.indexOf(QLatin1Char(':'));
    const int slash = source.indexOf(QLatin1Char('/'));
    if (colon >= 0 && (slash < 0 || colon < slash))
        return QStringLiteral("./") + source;
    return source;
}

// An IPv6 address is put in brackets, so that its colons are not taken for the
// one that starts the remote path.
QString scp::remoteHost(const QString &ip)
{
    if (ip.contains(QLatin1Char(':')) && !ip.startsWith(QLatin1Char('[')))
        return QLatin1Char('[') + ip + QLatin1Char(']');
    return ip;
}
