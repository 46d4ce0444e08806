#pragma once

#include "opensshrun.h"

// Sends a file or folder to the board through the OpenSSH client "scp" of
// `folder`.
class scp : public openSshRun
{
    Q_OBJECT
public:
    // `source` is taken relative to `workDir` (when not empty); `target` is the
    // path on the board. `idFile` and `options` as for ssh.
    scp(const QString &folder, const QString &ip, int port, const QString &user,
        const QString &idFile, const QString &options, const QString &workDir,
        const QString &source, const QString &target, bool startNow, QObject *parent = nullptr);

private:
    static QString localSource(const QString &source);
    static QString remoteHost(const QString &ip);
};
