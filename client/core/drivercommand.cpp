#include "drivercommand.h"

#include "exe.h"

const QString driverCommand::modbusDriver = QStringLiteral("qelDrvModbus");
const QString driverCommand::macroDriver = QStringLiteral("qelDrvMacro");

namespace {

const QString verboseOption = QStringLiteral(" --verbose 1");

bool isDataType(const QString &type)
{
    static const QStringList types {QStringLiteral("F32"), QStringLiteral("U32"),
        QStringLiteral("S32"), QStringLiteral("U16"), QStringLiteral("S16")};
    return types.contains(type, Qt::CaseInsensitive);
}

} // namespace

QStringList driverPort::serialArguments(
    const QString &addr, const QString &com, const QString &baudrate)
{
    return {QStringLiteral("--address"), addr, QStringLiteral("--port"),
        QStringLiteral("\\\\.\\") + com, QStringLiteral("--baudrate"), baudrate};
}

QStringList driverPort::tcpArguments(const QString &addr, const QString &ip, const QString &port)
{
    return {QStringLiteral("--address"), addr, QStringLiteral("--ip"), ip, QStringLiteral("--port"),
        port};
}

driverCommand driverCommand::read(
    const driverPort &port, const QString &type, const QString &addr, bool verbose)
{
    driverCommand command;
    command.program = modbusDriver;
    command.knownType = isDataType(type);
    command.arguments
        = port.text + QStringLiteral(" --read_") + type.toLower() + QLatin1Char(' ') + addr;
    command.expected = port.arguments;
    command.expected << QStringLiteral("--read_") + type.toLower() << addr;
    if (verbose) {
        command.arguments += verboseOption;
        command.expected << QStringLiteral("--verbose") << QStringLiteral("1");
    }
    return command;
}

driverCommand driverCommand::write(const driverPort &port, const QString &type, const QString &addr,
    const QString &value, bool verbose)
{
    driverCommand command;
    command.program = modbusDriver;
    command.knownType = isDataType(type);
    command.arguments = port.text + QStringLiteral(" --write_") + type.toLower() + QLatin1Char(' ')
        + addr + QStringLiteral(" --data") + QLatin1Char(' ') + value;
    command.expected = port.arguments;
    command.expected << QStringLiteral("--write_") + type.toLower() << addr
                     << QStringLiteral("--data") << value;
    if (verbose) {
        command.arguments += verboseOption;
        command.expected << QStringLiteral("--verbose") << QStringLiteral("1");
    }
    return command;
}

driverCommand driverCommand::macro(
    const driverPort &port, const QString &name, const QString &param, bool verbose)
{
    driverCommand command;
    command.program = macroDriver;
    command.arguments = port.text + QStringLiteral(" --macro ") + name + QStringLiteral(" --param")
        + QStringLiteral(" \"") + param + QLatin1Char('"');
    command.expected = port.arguments;
    command.expected << QStringLiteral("--macro") << name << QStringLiteral("--param") << param;
    if (verbose) {
        command.arguments += verboseOption;
        command.expected << QStringLiteral("--verbose") << QStringLiteral("1");
    }
    return command;
}

QString driverCommand::problem() const
{
    if (!knownType)
        return tr("Not run: the data type is not one of F32, U32, S32, U16, S16");
    if (AppExe::exe::splitArguments(arguments) != expected)
        return tr("Not run: a value is empty or holds a blank or a double quote");
    return QString();
}
