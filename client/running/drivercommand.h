#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// One driver run as the client builds it: the driver and the arguments it is
// to receive, built once as a list. The runner gets them as one text (the
// list joined by blanks, the macro parameters in double quotes), which is
// also the text of the command line. A value with a blank or a double quote
// (a hand-edited project file) would split into other arguments than the
// list and could add options of its own; such a command is not run.
class driverCommand
{
    Q_DECLARE_TR_FUNCTIONS(driverCommand)

public:
    static const QString modbusDriver; // "qelDrvModbus"
    static const QString macroDriver; // "qelDrvMacro"

    // port + "--read_" + type in lower case, addr [+ "--verbose", "1"]
    static driverCommand read(
        const QStringList &port, const QString &type, const QString &addr, bool verbose);
    // port + "--write_" + type in lower case, addr, "--data", value
    // [+ "--verbose", "1"]
    static driverCommand write(const QStringList &port, const QString &type, const QString &addr,
        const QString &value, bool verbose);
    // port + "--macro", name, "--param", param [+ "--verbose", "1"]
    static driverCommand macro(
        const QStringList &port, const QString &name, const QString &param, bool verbose);

    QString program; // base name of the driver
    QStringList arguments; // as the driver is to receive them

    // The argument text: the port part, a blank, the request part; e.g.
    // "--address 1 --ip 10.0.0.5 --port 502 --macro FD_MACRO_LOGIN --param \"1 0042\"".
    QString text() const;
    // Empty when the command may run; otherwise why it may not.
    QString problem() const;

private:
    driverCommand(
        const QString &program, const QStringList &port, const QStringList &request, bool verbose);

    int portCount = 0; // the leading arguments that are the port part
    int quoted = -1; // the argument written in double quotes, -1 for none
    bool knownType = true;
};
