// qelDrvMacro: sends one device macro, by name with its parameter text, to one
// device over a serial line or TCP, prints the outcome and the decoded answer
// of a data-returning macro, and exits with 0 on success, -1 on any failure;
// with "--serve" one macro per line of standard input over a line kept open.

#include "checks.h"
#include "cmm_write_macro.h"
#include "driverconnection.h"
#include "driverprogram.h"
#include "filenames.h"
#include "macrodriveroptions.h"
#include "optionpairs.h"
#include "reportprinter.h"
#include "translationcontext.h"

#include <QCoreApplication>

#include <memory>

namespace {

constexpr TranslationContext tr("MacroDriver");

// Builds the macro, prints the request line, sends it and prints the outcome.
bool sendMacro(ModbusContext *context, const QString &macro, const QString &params)
{
    auto command = std::make_unique<CmmNamespace::Cmm_Write_Macro>(context);
    if (!command->setFromText(macro, params)) {
        printError(tr("Macro params error") + "<br>");
        return false;
    }

    QString request = tr("macro") + " [ " + macro + " ] ";
    if (!params.isEmpty())
        request += tr("params") + " [ " + params + " ] ";
    printReport(request);

    if (!command->run()) {
        printReport(tr("ERR") + "<br>");
        printEngineError(context, command->error);
        return false;
    }
    QString outcome = tr("OK") + "<br>";
    if (command->returnsData())
        outcome += command->answerText() + "<br>";
    printReport(outcome);
    return true;
}

// One macro request: the checks of its command line, then the macro.
int macroRequest(const OptionPairs &options, DriverConnection &line)
{
    const QString missing = MacroDriverOptions::missingOptions(options);
    if (!missing.isEmpty()) {
        printError(Checks::requiredParametersMessage(missing));
        return -1;
    }
    const QString invalid = MacroDriverOptions::invalidValues(options);
    if (!invalid.isEmpty()) {
        printError(Checks::invalidParametersMessage(invalid));
        return -1;
    }

    ModbusContext *context = line.connect(options);
    if (!context)
        return -1;
    const bool sent = sendMacro(context, options.value(QStringLiteral("--macro")),
        options.value(QStringLiteral("--param")));
    return sent ? 0 : -1;
}

} // namespace

int main(int argc, char *argv[])
{
    FileNames::keepBytesAsGiven(); // the serial device name as given
    keepRunningWhenOutputCloses();
    QCoreApplication app(argc, argv);
    return DriverProgram(MacroDriverOptions::table(), MacroDriverOptions::usageText(), macroRequest)
        .run(QCoreApplication::arguments());
}
