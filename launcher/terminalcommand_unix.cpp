// Terminal of Linux and other Unix desktops: the Debian alternative
// x-terminal-emulator, or xterm, running a shell that lists the directory.
#include "terminalcommand.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

namespace {

// A text as one shell word: in single quotes, embedded single quotes escaped.
QString shellQuoted(QString text)
{
    text.replace(QLatin1Char('\''), QLatin1String("'\\''"));
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

} // namespace

TerminalCommand terminalCommand(const QString &directory)
{
    TerminalCommand command;
    command.workingDirectory = directory;
    command.text = QStringLiteral("cd -- %1 && ls -l; exec \"${SHELL:-/bin/sh}\"")
                       .arg(shellQuoted(directory));
    for (const char *name : {"x-terminal-emulator", "xterm"}) {
        command.program = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!command.program.isEmpty())
            break;
    }
    // "-e" hands the rest of the arguments to the terminal as the command to run.
    command.arguments = QStringList {
        QStringLiteral("-e"), QStringLiteral("/bin/sh"), QStringLiteral("-c"), command.text};
    return command;
}

bool runTerminal(const TerminalCommand &command)
{
    QTextStream err(stderr);
    if (command.program.isEmpty()) {
        err << "qelApps: no terminal found (x-terminal-emulator, xterm)\n";
        return false;
    }
    QProcess terminal;
    terminal.setProgram(command.program);
    terminal.setArguments(command.arguments);
    terminal.setWorkingDirectory(command.workingDirectory);
    terminal.setProcessChannelMode(QProcess::ForwardedChannels);
    terminal.setInputChannelMode(QProcess::ForwardedInputChannel);
    terminal.start();
    if (!terminal.waitForStarted(-1)) {
        err << "qelApps: " << command.program << ": " << terminal.errorString() << '\n';
        return false;
    }
    // The user decides when the prompt closes: no time limit.
    terminal.waitForFinished(-1);
    return true;
}
