// qelDrvModbus: reads and writes the registers of one device over a serial
// line (RTU) or TCP, one operation per run, or with "--serve" one operation
// per line of standard input over a line kept open.

#include "checks.h"
#include "driverconnection.h"
#include "driverprogram.h"
#include "filenames.h"
#include "optionpairs.h"
#include "registercommandline.h"
#include "registerrequest.h"
#include "reportprinter.h"
#include "requestrunner.h"

#include <QCoreApplication>

namespace {

constexpr int ExitSuccess = 0;
constexpr int ExitFailure = -1;

// One register request: the checks of its command line, then its operation.
int registerRequest(const OptionPairs &options, DriverConnection &line)
{
    const QString missing = RegisterCommandLine::missingParameters(options);
    if (!missing.isEmpty()) {
        printError(Checks::requiredParametersMessage(missing));
        return ExitFailure;
    }

    // The command line and the operation's data are checked whole before a
    // line is opened, so nothing reaches the device after bad input.
    QString invalid = RegisterCommandLine::invalidParameters(options);
    RegisterRequest request(options, &invalid);
    if (!invalid.isEmpty()) {
        printError(Checks::invalidParametersMessage(invalid));
        return ExitFailure;
    }
    QString loadError;
    if (!request.loadWords(&loadError)) {
        printError(loadError);
        return ExitFailure;
    }

    ModbusContext *context = line.connect(options);
    if (!context)
        return ExitFailure;
    return RequestRunner(context).run(request) ? ExitSuccess : ExitFailure;
}

} // namespace

int main(int argc, char *argv[])
{
    FileNames::keepBytesAsGiven(); // file and device names as given
    keepRunningWhenOutputCloses(); // a block write is never cut off half-way
    QCoreApplication application(argc, argv);
    return DriverProgram(
        RegisterCommandLine::optionTable(), RegisterCommandLine::helpText(), registerRequest)
        .run(application.arguments());
}
