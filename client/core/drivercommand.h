#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// The port part of a driver command line, as the active port element builds
// it, with the arguments it stands for.
struct driverPort
{
    QString text; // "--address 1 --port \\.\COM3 --baudrate 115200", empty without a port
    QStringList arguments; // {"--address", "1", "--port", "\\.\COM3", ...}

    // Serial line: the device in the Windows device namespace.
    static QStringList serialArguments(
        const QString &addr, const QString &com, const QString &baudrate);
    static QStringList tcpArguments(const QString &addr, const QString &ip, const QString &port);
};

// One driver run as the client builds it: the driver, the argument text that
// the runner gets, and the arguments that text has to split into. A value
// with a blank or a double quote (a hand-edited project file) would split
// differently and could add options of its own; such a command is not run.
class driverCommand
{
    Q_DECLARE_TR_FUNCTIONS(driverCommand)

public:
    static const QString modbusDriver; // "qelDrvModbus"
    static const QString macroDriver; // "qelDrvMacro"

    // port + " --read_" + type in lower case + " " + addr [+ " --verbose 1"]
    static driverCommand read(
        const driverPort &port, const QString &type, const QString &addr, bool verbose);
    // port + " --write_" + type in lower case + " " + addr + " --data " + value
    // [+ " --verbose 1"]
    static driverCommand write(const driverPort &port, const QString &type, const QString &addr,
        const QString &value, bool verbose);
    // port + " --macro " + name + " --param \"" + param + "\"" [+ " --verbose 1"]
    static driverCommand macro(
        const driverPort &port, const QString &name, const QString &param, bool verbose);

    QString program; // base name of the driver
    QString arguments;
    QStringList expected;

    // Empty when the command may run; otherwise why it may not.
    QString problem() const;

private:
    bool knownType = true;
};
