#pragma once

#include "macrovalues.h"
#include "portvalues.h"
#include "readvalues.h"
#include "writevalues.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <optional>

// One driver run as the client builds it: the driver and the arguments it
// receives, the port's first (none without an active port), then the
// request's. The list goes to the driver as it is. Its text, the command
// line as it is written, is made from the list: the arguments separated by
// blanks, a macro's parameter text, the port's file names and a text
// written to registers in double quotes. A value that the text
// would not give back as written (one with a blank or a double quote from a
// hand-edited project file, which could pass as options of their own), one
// with a control character, or a write whose engineering value has no raw
// value, is not run.
class driverCommand
{
    Q_DECLARE_TR_FUNCTIONS(driverCommand)

public:
    static const QString modbusDriver; // "qelDrvModbus"
    static const QString macroDriver; // "qelDrvMacro"

    // port + the request's arguments [+ "--verbose", "1"]
    static driverCommand read(
        const std::optional<portValues> &port, const readValues &request, bool verbose);
    static driverCommand write(
        const std::optional<portValues> &port, const writeValues &request, bool verbose);
    static driverCommand macro(
        const std::optional<portValues> &port, const macroValues &request, bool verbose);

    QString program; // base name of the driver
    QStringList arguments; // as the driver receives them
    // The port keeps its line open: the request goes to a driver serving
    // the port ("--serve") instead of a run of its own.
    bool keepLineOpen = false;
    bool serialLine = false; // the port is a serial line

    // The leading arguments that are the port part, and the rest.
    QStringList portArguments() const { return arguments.mid(0, portCount); }
    QStringList requestArguments() const { return arguments.mid(portCount); }

    // The command line: the port part, a blank, the request part; e.g.
    // "--address 1 --ip 10.0.0.5 --port 502 --macro FD_MACRO_LOGIN --param \"1 0042\"".
    QString text() const;
    // Empty when the command may run; otherwise why it may not.
    QString problem() const;

    // How long the driver may stay silent before the client ends it: longer
    // than the driver's engine waits for a connection and one request on
    // the command's line at its speed, and time for the driver to start, so
    // that a device that is silent or slow is reported by the driver in its
    // words, never by the client's time-out in its place.
    int silenceLimitMs() const;
    // Time a driver takes to start and to print its cause once the engine
    // has given up, beyond the engine's own limit.
    static constexpr int StartMarginMs = 2000;

private:
    driverCommand(const QString &program, const std::optional<portValues> &port,
        const QStringList &request, bool verbose);

    int portCount = 0; // the leading arguments that are the port part
    QList<int> quoted; // the arguments written in double quotes
    bool knownType = true;
    QString refusal; // why the request has no arguments to run with
};
