#pragma once

#include "opensshrun.h"

// Runs one command on the board through the OpenSSH client "ssh" of `folder`.
class ssh : public openSshRun
{
    Q_OBJECT
public:
    // `idFile` is the identity file as stored and `options` the extra options as
    // written on a command line; both are shown as written in commandLine and
    // reach the program as separate arguments.
    ssh(const QString &folder, const QString &ip, int port, const QString &user,
        const QString &idFile, const QString &remoteCommand, const QString &options, bool startNow,
        QObject *parent = nullptr);
};
