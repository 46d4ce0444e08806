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
    // The platform's "Connection timed out" would read like a silent device.
    const QString cause = error == ETIMEDOUT ? tr("Timed out while connecting")
                                             : QString::fromLocal8Bit(Modbus::errorText(error));
    printError("<font color=\"red\">" + tr("Connection fails:") + " " + cause + "</font><br>");
    if (!serialDevice.isEmpty() && (error == EACCES || error == EPERM))
        printPermissionHint(serialDevice);
}

QString requestFailureText(const ModbusContext *context, int code)
{
    if (code == ETIMEDOUT) {
        const Modbus::ReplyTimeout timeout = Modbus::lastReplyTimeout(context);
        switch (timeout.kind) {
        case Modbus::ReplyTimeout::NoReply:
            return tr("The device did not answer within %1 ms").arg(timeout.milliseconds);
        case Modbus::ReplyTimeout::Incomplete:
            return tr("The device's reply was incomplete after %1 ms").arg(timeout.milliseconds);
        case Modbus::ReplyTimeout::None:
            break;
        }
    }
    return QString::fromLocal8Bit(Modbus::errorText(code));
}

void printEngineError(const ModbusContext *context, int code)
{
    printError(requestFailureText(context, code) + "<br>");
}

DriverConnection::DriverConnection(const OptionPairs &lineOptions)
    : lineOptions(lineOptions)
{ }

DriverConnection::~DriverConnection()
{
    close();
}

bool DriverConnection::isTcp(const OptionPairs &options)
{
    return overNetwork(lineKind(options));
}

LineKind DriverConnection::lineKind(const OptionPairs &options)
{
    return LineSettings::kindOf(options);
}

QStringList DriverConnection::optionNames()
{
    return {QStringLiteral("--ip"), QStringLiteral("--port"), QStringLiteral("--baudrate"),
        QStringLiteral("--parity"), QStringLiteral("--data_bit"), QStringLiteral("--stop_bit"),
        QStringLiteral("--framing"), QStringLiteral("--tls"), QStringLiteral("--cert"),
        QStringLiteral("--key"), QStringLiteral("--ca"), QStringLiteral("--address"),
        QStringLiteral("--verbose")};
}

int DriverConnection::requestLimitMs(const OptionPairs &options)
{
    const Modbus::ContextPtr context = LineSettings::fromOptions(options).createContext();
    return context ? Modbus::requestLimitMs(context.get()) : 0;
}

QStringList DriverConnection::lineOptionNames()
{
    return {QStringLiteral("--address"), QStringLiteral("--port"), QStringLiteral("--baudrate"),
        QStringLiteral("--parity"), QStringLiteral("--data_bit"), QStringLiteral("--stop_bit"),
        QStringLiteral("--ip"), QStringLiteral("--framing"), QStringLiteral("--tls"),
        QStringLiteral("--cert"), QStringLiteral("--key"), QStringLiteral("--ca")};
}

void DriverConnection::close()
{
    if (connected)
        Modbus::close(modbusContext.get());
    connected = false;
    modbusContext.reset();
}

void DriverConnection::setCancelDescriptor(int descriptor)
{
    cancelDescriptor = descriptor;
    Modbus::setCancelDescriptor(modbusContext.get(), descriptor);
}

bool DriverConnection::usable()
{
    if (!connected || !Modbus::lineStillOpen(modbusContext.get()))
        return false;
    // A serial line has no connection to renew: the next request flushes
    // what a late reply left.
    return Modbus::lineInStep(modbusContext.get()) || !isTcp(lineOptions);
}

ModbusContext *DriverConnection::connect(const OptionPairs &requestOptions)
{
    const bool verbose = requestOptions.has(QStringLiteral("--verbose"))
        && Numbers::toDecimal(requestOptions.value(QStringLiteral("--verbose"))) == 1;
    if (!usable()) {
        close();
        // The trace of a verbose request shows the line being opened.
        if (!open(verbose))
            return nullptr;
    }
    Modbus::setDebug(modbusContext.get(), verbose);
    return modbusContext.get();
}

bool DriverConnection::open(bool verbose)
{
    const LineSettings line = LineSettings::fromOptions(lineOptions);
    modbusContext = line.createContext();
    const int address = lineOptions.has(QStringLiteral("--address"))
        ? int(Numbers::toDecimal(lineOptions.value(QStringLiteral("--address"))))
        : line.defaultAddress();

    if (!modbusContext) {
        printError("<font color=\"red\">" + tr("Unable to create the Modbus context") + "<br>");
        return false;
    }
    Modbus::setDebug(modbusContext.get(), verbose);
    Modbus::setAddress(modbusContext.get(), address);
    Modbus::setCancelDescriptor(modbusContext.get(), cancelDescriptor);

    if (Modbus::connect(modbusContext.get()) == -1) {
        // Taken at once: building the message may touch errno.
        const int error = errno;
        printConnectionFailure(error,
            overNetwork(line.kind) ? QString() : lineOptions.value(QStringLiteral("--port")));
        modbusContext.reset();
        return false;
    }
    connected = true;
    return true;
}
