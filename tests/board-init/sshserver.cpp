#include "sshserver.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <pwd.h>
#include <unistd.h>

namespace {

const char Sshd[] = "/usr/sbin/sshd";
const char SftpServer[] = "/usr/lib/openssh/sftp-server";

bool writeFile(const QString &name, const QByteArray &content)
{
    QFile file(name);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

} // namespace

SshServer::SshServer() = default;

SshServer::~SshServer()
{
    if (server.state() != QProcess::NotRunning) {
        server.terminate();
        if (!server.waitForFinished(10000)) {
            server.kill();
            server.waitForFinished(10000);
        }
    }
    forgetHostKey();
}

void SshServer::forgetHostKey()
{
    if (knownHosts.isEmpty() || hostKeyBlob.isEmpty())
        return;
    QFile file(knownHosts);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QList<QByteArray> lines = file.readAll().split('\n');
    file.close();
    QByteArray kept;
    bool changed = false;
    for (const QByteArray &line : lines) {
        if (line.contains(hostKeyBlob))
            changed = true;
        else if (!line.isEmpty())
            kept += line + '\n';
    }
    if (!changed)
        return;
    if (kept.isEmpty() && !hadKnownHosts)
        QFile::remove(knownHosts);
    else
        writeFile(knownHosts, kept);
}

QString SshServer::identityFile() const
{
    return folder.filePath(QStringLiteral("client keys/id key"));
}

QString SshServer::remoteBin() const
{
    return folder.filePath(QStringLiteral("board bin"));
}

bool SshServer::fail(const QString &text)
{
    why = text;
    return false;
}

bool SshServer::run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
}

bool SshServer::start()
{
    if (geteuid() != 0)
        return fail(QStringLiteral("the OpenSSH server needs root to listen on port 22"));
    if (!QFileInfo(QString::fromLatin1(Sshd)).isExecutable()
        || !QFileInfo(QString::fromLatin1(SftpServer)).isExecutable())
        return fail(QStringLiteral("Debian's openssh-server is not installed"));
    if (!folder.isValid())
        return fail(QStringLiteral("no temporary folder"));
    // The server's privilege separation needs this folder.
    if (!QDir().mkpath(QStringLiteral("/run/sshd")))
        return fail(QStringLiteral("cannot create /run/sshd"));

    const QString hostKey = folder.filePath(QStringLiteral("host_key"));
    if (!QDir().mkpath(folder.filePath(QStringLiteral("client keys")))
        || !QDir().mkpath(remoteBin())
        || !run(QStringLiteral("ssh-keygen"), {"-q", "-t", "ed25519", "-N", "", "-f", hostKey})
        || !run(
            QStringLiteral("ssh-keygen"), {"-q", "-t", "ed25519", "-N", "", "-f", identityFile()}))
        return fail(QStringLiteral("ssh-keygen could not make the keys"));

    const passwd *account = getpwuid(geteuid());
    if (!account)
        return fail(QStringLiteral("no account entry for this user"));
    knownHosts = QString::fromLocal8Bit(account->pw_dir) + QStringLiteral("/.ssh/known_hosts");
    hadKnownHosts = QFile::exists(knownHosts);
    QFile publicKey(hostKey + QStringLiteral(".pub"));
    if (!publicKey.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("no public host key"));
    hostKeyBlob = publicKey.readAll().split(' ').value(1);

    const QString config = folder.filePath(QStringLiteral("sshd_config"));
    const QString configText
        = QStringLiteral("ListenAddress 127.0.0.2:22\n"
                         "HostKey %1\n"
                         "AuthorizedKeysFile \"%2.pub\"\n"
                         "PermitRootLogin prohibit-password\n"
                         "PasswordAuthentication no\n"
                         "KbdInteractiveAuthentication no\n"
                         "StrictModes no\n"
                         "UsePAM no\n"
                         "PidFile %3\n"
                         "Subsystem sftp %4\n"
                         "SetEnv PATH=\"%5:/usr/bin:/bin\"\n")
              .arg(hostKey, identityFile(), folder.filePath(QStringLiteral("sshd.pid")),
                  QString::fromLatin1(SftpServer), remoteBin());
    if (!writeFile(config, configText.toLocal8Bit()))
        return fail(QStringLiteral("cannot write the server's configuration"));

    // In the foreground, logging to standard error: the listening line says
    // that it is ready.
    server.setProcessChannelMode(QProcess::MergedChannels);
    server.start(QString::fromLatin1(Sshd), {"-D", "-e", "-f", config});
    if (!server.waitForStarted(60000))
        return fail(QStringLiteral("sshd did not start: ") + server.errorString());
    QByteArray log;
    const QDeadlineTimer deadline(60000);
    while (!log.contains("Server listening on 127.0.0.2 port 22.")) {
        if (deadline.hasExpired() || !server.waitForReadyRead(int(deadline.remainingTime())))
            return fail(QStringLiteral("sshd is not listening on 127.0.0.2:22: ")
                + QString::fromLocal8Bit(log + server.readAllStandardOutput()));
        log += server.readAllStandardOutput();
    }
    return true;
}
