#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A throw-away OpenSSH server on 127.0.0.2 port 22 for the tests, with its own
// host key and a client key whose path holds a blank. Commands run through it
// find the folder remoteBin() first on their PATH, so the board's programs
// (sudo, qelEEPROMWr) are stand-ins there and nothing touches this machine.
// ssh records the server in the known hosts of the user's account: the lines
// with this server's throw-away key are taken out again when it stops.
class SshServer
{
public:
    SshServer();
    ~SshServer();

    // Starts the server; false, with reason(), when it cannot run here.
    bool start();
    QString reason() const { return why; }

    QString address() const { return QStringLiteral("127.0.0.2"); }
    QString identityFile() const;
    QString remoteBin() const;
    QString path(const QString &name) const { return folder.filePath(name); }

private:
    bool fail(const QString &text);
    bool run(const QString &program, const QStringList &arguments);

    QTemporaryDir folder;
    QProcess server;
    QString why;
    void forgetHostKey();

    QString knownHosts;
    bool hadKnownHosts = false;
    QByteArray hostKeyBlob; // the base64 part of the server's public key
};
