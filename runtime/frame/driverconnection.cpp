#include "driverconnection.h"

#include "linesettings.h"
#include "numbers.h"
#include "optionpairs.h"
#include "reportprinter.h"
#include "translationcontext.h"

#include <cerrno>

namespace {
constexpr TranslationContext tr("DriverConnection");
} // namespace

// A serial line refused for lack of permission: names the group whose members
// may open it and the command that makes the user one of them.
static void printPermissionHint(const QString &device)
{
    const QString group
        = QString::fromStdString(Modbus::serialAccessGroup(device.toLocal8Bit().constData()));
    if (group.isEmpty())
        return;
    printError(tr("Hint: members of the group %1 may open %2; add your user to it with "
                  "\"sudo usermod -a -G %1 $USER\" and log in again.")
                   .arg(group, device)
        + "<br>");
}

void printConnectionFailure(int error, const QString &serialDevice)
{
    printError("<font color=\"red\">" + tr("Connection fails:") + " "
        + QString::fromLocal8Bit(Modbus::errorText(error)) + "</font><br>");
    if (!serialDevice.isEmpty() && (error == EACCES || error == EPERM))
        printPermissionHint(serialDevice);
}

void printEngineError(int code)
{
    printError(QString::fromLocal8Bit(Modbus::errorText(code)) + "<br>");
}

DriverConnection::~DriverConnection()
{
    if (connected)
        Modbus::close(modbusContext.get());
}

bool DriverConnection::isTcp(const OptionPairs &options)
{
    return overNetwork(lineKind(options));
}

LineKind DriverConnection::lineKind(const OptionPairs &options)
{
    return LineSettings::kindOf(options);
}

bool DriverConnection::open(const OptionPairs &options)
{
    const LineSettings line = LineSettings::fromOptions(options);
    modbusContext = line.createContext();
    const int address = options.has(QStringLiteral("--address"))
        ? int(Numbers::toDecimal(options.value(QStringLiteral("--address"))))
        : line.defaultAddress();

    if (!modbusContext) {
        printError("<font color=\"red\">" + tr("Unable to create the Modbus context") + "<br>");
        return false;
    }
    if (options.has(QStringLiteral("--verbose"))
        && Numbers::toDecimal(options.value(QStringLiteral("--verbose"))) == 1)
        Modbus::setDebug(modbusContext.get(), true);
    Modbus::setAddress(modbusContext.get(), address);

    if (Modbus::connect(modbusContext.get()) == -1) {
        // Taken at once: building the message may touch errno.
        const int error = errno;
        printConnectionFailure(
            error, overNetwork(line.kind) ? QString() : options.value(QStringLiteral("--port")));
        modbusContext.reset();
        return false;
    }
    connected = true;
    return true;
}
