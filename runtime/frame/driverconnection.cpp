#include "driverconnection.h"

#include "numbers.h"
#include "optionpairs.h"
#include "reportprinter.h"
#include "translationcontext.h"

#include <cerrno>

namespace {
constexpr TranslationContext tr("DriverConnection");

// Connection options are unsigned decimal; absent options take their default.
int decimalOption(const OptionPairs &options, const QString &name, int defaultValue)
{
    return options.has(name) ? int(Numbers::toDecimal(options.value(name))) : defaultValue;
}

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
    return options.has(QStringLiteral("--ip"));
}

LineKind DriverConnection::lineKind(const OptionPairs &options)
{
    return isTcp(options) ? LineKind::Tcp : LineKind::Serial;
}

bool DriverConnection::open(const OptionPairs &options)
{
    int address = 0;
    if (isTcp(options)) {
        const QByteArray ip = options.value(QStringLiteral("--ip")).toLatin1();
        modbusContext.reset(Modbus::newTcpContext(
            ip.constData(), decimalOption(options, QStringLiteral("--port"), 502)));
        address = 255;
    } else {
        const QByteArray device = options.value(QStringLiteral("--port")).toLocal8Bit();
        const QString parity = options.has(QStringLiteral("--parity"))
            ? options.value(QStringLiteral("--parity"))
            : QStringLiteral("N");
        modbusContext.reset(Modbus::newRtuContext(device.constData(),
            decimalOption(options, QStringLiteral("--baudrate"), 115200),
            parity.isEmpty() ? '\0' : parity.at(0).toLatin1(),
            decimalOption(options, QStringLiteral("--data_bit"), 8),
            decimalOption(options, QStringLiteral("--stop_bit"), 1)));
        address = 1;
    }
    address = decimalOption(options, QStringLiteral("--address"), address);

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
            error, isTcp(options) ? QString() : options.value(QStringLiteral("--port")));
        modbusContext.reset();
        return false;
    }
    connected = true;
    return true;
}
