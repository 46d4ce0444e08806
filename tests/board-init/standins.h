#pragma once

#include "scriptfile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Stand-in OpenSSH client programs for the tests: small shell scripts that
// append to a record file their name, their working directory and their
// arguments one per line, print a fixed text and end with a fixed status.

struct StandInRun
{
    QString program; // "ssh" or "scp"
    QString workingDirectory;
    QStringList arguments;
};

// Writes the executable script `folder`/`name`. `body` runs after the record
// is written (default: print "<name> ran" with a CR LF line end).
bool writeStandIn(const QString &folder, const QString &name, const QString &recordFile,
    const QByteArray &body = QByteArray());

// Every run recorded in `recordFile`, in order; none when it does not exist.
QList<StandInRun> readRecord(const QString &recordFile);
