// Terminal of Windows: the command processor, listing the directory and kept
// open by "/k".
#include "terminalcommand.h"

#include <QDir>
#include <QTextStream>

#include <cstdlib>

TerminalCommand terminalCommand(const QString &directory)
{
    TerminalCommand command;
    command.program = QStringLiteral("cmd");
    command.workingDirectory = directory;
    command.text = QStringLiteral("cmd /k dir \"%1\"").arg(QDir::toNativeSeparators(directory));
    return command;
}

bool runTerminal(const TerminalCommand &command)
{
    if (std::system(command.text.toLocal8Bit().constData()) == -1) {
        QTextStream(stderr) << "qelApps: " << command.text << ": cannot be started\n";
        return false;
    }
    return true;
}
