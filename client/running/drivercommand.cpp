#include "drivercommand.h"

#include "argumentline.h"
#include "driverconnection.h"
#include "optionpairs.h"
#include "valuefields.h"

#include <algorithm>

const QString driverCommand::modbusDriver = QStringLiteral("qelDrvModbus");
const QString driverCommand::macroDriver = QStringLiteral("qelDrvMacro");

driverCommand::driverCommand(const QString &program, const std::optional<portValues> &port,
    const QStringList &request, bool verbose)
    : program(program)
    , arguments(port ? port->arguments() : QStringList())
{
    portCount = arguments.size();
    keepLineOpen = port && port->keepOpen;
    serialLine = port && port->kind == portValues::Serial;
    if (port)
        quoted = port->fileArguments();
    arguments << request;
    if (verbose)
        arguments << QStringLiteral("--verbose") << QStringLiteral("1");
}

driverCommand driverCommand::read(
    const std::optional<portValues> &port, const readValues &request, bool verbose)
{
    driverCommand command(modbusDriver, port, request.arguments(), verbose);
    command.knownType = request.isKnown();
    return command;
}

driverCommand driverCommand::write(
    const std::optional<portValues> &port, const writeValues &request, bool verbose)
{
    const QStringList arguments = request.arguments();
    driverCommand command(modbusDriver, port, arguments, verbose);
    command.knownType = request.isKnown();
    // A text may hold blanks: it is written in double quotes, the last
    // argument of the request.
    if (request.isText())
        command.quoted << command.portCount + arguments.size() - 1;
    QString error;
    request.rawValue(&error);
    if (!error.isEmpty())
        command.refusal = tr("Not run: %1").arg(error);
    return command;
}

driverCommand driverCommand::macro(
    const std::optional<portValues> &port, const macroValues &request, bool verbose)
{
    driverCommand command(macroDriver, port, request.arguments(), verbose);
    // The parameter text follows "--macro", the name and "--param".
    command.quoted << command.portCount + 3;
    return command;
}

QString driverCommand::text() const
{
    QString line;
    for (int i = 0; i < arguments.size(); ++i) {
        // The port part and the request part are joined by one blank, even
        // when there is no port part.
        if (i > 0 || portCount == 0)
            line += QLatin1Char(' ');
        if (quoted.contains(i))
            line += QLatin1Char('"') + arguments.at(i) + QLatin1Char('"');
        else
            line += arguments.at(i);
    }
    return line;
}

QString driverCommand::problem() const
{
    if (!refusal.isEmpty())
        return refusal;
    if (!knownType)
        return tr("Not run: the register kind or data type is not one the driver knows");
    // A control character would reach the driver as less than the row shows
    // (a NUL ends the argument) or as another line.
    const bool control = std::any_of(arguments.cbegin(), arguments.cend(),
        [](const QString &argument) { return valueFields::hasControlCharacter(argument); });
    if (control || ArgumentLine::split(text()) != arguments)
        return tr("Not run: a value is empty or holds a blank, a double quote or a control "
                  "character");
    return QString();
}

int driverCommand::silenceLimitMs() const
{
    // The engine's limit for the line as the driver will make it; without
    // the port's options the driver refuses its command line at once.
    const int engineLimit = portCount == 0
        ? 0
        : DriverConnection::requestLimitMs(
            OptionPairs(arguments.mid(0, portCount), DriverConnection::optionNames()));
    return engineLimit + StartMarginMs;
}
