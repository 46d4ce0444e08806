#pragma once

#include <QString>
#include <QStringList>

// The command prompt the launcher opens: a terminal that lists a directory and
// stays open for the user. Built and run by the platform's own file.
struct TerminalCommand
{
    QString program; // empty when the machine has no terminal to open
    QStringList arguments;
    QString workingDirectory;
    QString text; // the command line the terminal runs, the directory quoted in it
};

// The terminal command that lists `directory` and stays open in it.
TerminalCommand terminalCommand(const QString &directory);

// Runs `command` with the launcher's own standard channels and waits until the
// user closes it. Returns false, with a message on standard error, when there is
// no terminal or it cannot be started.
bool runTerminal(const TerminalCommand &command);
