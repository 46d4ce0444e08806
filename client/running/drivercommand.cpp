#include "drivercommand.h"

#include "exe.h"

const QString driverCommand::modbusDriver = QStringLiteral("qelDrvModbus");
const QString driverCommand::macroDriver = QStringLiteral("qelDrvMacro");

namespace {

bool isDataType(const QString &type)
{
    static const QStringList types {QStringLiteral("F32"), QStringLiteral("U32"),
        QStringLiteral("S32"), QStringLiteral("U16"), QStringLiteral("S16")};
    return types.contains(type, Qt::CaseInsensitive);
}

} // namespace

driverCommand::driverCommand(
    const QString &program, const QStringList &port, const QStringList &request, bool verbose)
    : program(program)
    , arguments(port + request)
    , portCount(port.size())
{
    if (verbose)
        arguments << QStringLiteral("--verbose") << QStringLiteral("1");
}

driverCommand driverCommand::read(
    const QStringList &port, const QString &type, const QString &addr, bool verbose)
{
    driverCommand command(
        modbusDriver, port, {QStringLiteral("--read_") + type.toLower(), addr}, verbose);
    command.knownType = isDataType(type);
    return command;
}

driverCommand driverCommand::write(const QStringList &port, const QString &type,
    const QString &addr, const QString &value, bool verbose)
{
    driverCommand command(modbusDriver, port,
        {QStringLiteral("--write_") + type.toLower(), addr, QStringLiteral("--data"), value},
        verbose);
    command.knownType = isDataType(type);
    return command;
}

driverCommand driverCommand::macro(
    const QStringList &port, const QString &name, const QString &param, bool verbose)
{
    driverCommand command(macroDriver, port,
        {QStringLiteral("--macro"), name, QStringLiteral("--param"), param}, verbose);
    command.quoted = port.size() + 3;
    return command;
}

QString driverCommand::text() const
{
    QString line = arguments.mid(0, portCount).join(QLatin1Char(' '));
    for (int i = portCount; i < arguments.size(); ++i) {
        line += QLatin1Char(' ');
        if (i == quoted)
            line += QLatin1Char('"') + arguments.at(i) + QLatin1Char('"');
        else
            line += arguments.at(i);
    }
    return line;
}

QString driverCommand::problem() const
{
    if (!knownType)
        return tr("Not run: the data type is not one of F32, U32, S32, U16, S16");
    if (AppExe::exe::splitArguments(text()) != arguments)
        return tr("Not run: a value is empty or holds a blank or a double quote");
    return QString();
}
