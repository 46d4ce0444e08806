#include "macrodriveroptions.h"

#include "checks.h"
#include "connectionchecks.h"
#include "driverconnection.h"
#include "optionpairs.h"
#include "optiontable.h"

namespace {

// Parity in the order this program has always listed it.
void parity(const QString &value, LineKind, QString *lines)
{
    Checks::memberCheck(
        value, {QStringLiteral("N"), QStringLiteral("E"), QStringLiteral("O")}, lines);
}

constexpr OptionRow::Value Value = OptionRow::TakesValue;

// Every option in the order of the usage text; values are checked in this
// order too. Over TCP the serial line's settings are not used, nor checked.
const OptionRow optionRows[] = {
    {"--address", Value, QT_TRANSLATE_NOOP("MacroDriver", "Device address"),
        ConnectionChecks::deviceAddress},
    {"--baudrate", Value, QT_TRANSLATE_NOOP("MacroDriver", "Baudrate"), ConnectionChecks::baudRate,
        0, OptionRow::SerialLineOnly},
    {"--port", Value, QT_TRANSLATE_NOOP("MacroDriver", "Serial port name"),
        ConnectionChecks::tcpPort, 0, OptionRow::TcpOnly},
    {"--macro", Value, QT_TRANSLATE_NOOP("MacroDriver", "Macro name")},
    {"--param", Value, QT_TRANSLATE_NOOP("MacroDriver", "Macro parameters")},
    {"--parity", Value, QT_TRANSLATE_NOOP("MacroDriver", "Serial port parity N,E,O"), parity, 0,
        OptionRow::SerialLineOnly},
    {"--data_bit", Value, QT_TRANSLATE_NOOP("MacroDriver", "Serial data bits 8"),
        ConnectionChecks::dataBits, 0, OptionRow::SerialLineOnly},
    {"--stop_bit", Value, QT_TRANSLATE_NOOP("MacroDriver", "Serial stop bits 1,2"),
        ConnectionChecks::stopBits, 0, OptionRow::SerialLineOnly},
    {"--verbose", Value, QT_TRANSLATE_NOOP("MacroDriver", "Verbose mode when 1, off when 0")},
    {"--ip", Value, QT_TRANSLATE_NOOP("MacroDriver", "IP address")},
    {"--help", OptionRow::Flag, QT_TRANSLATE_NOOP("MacroDriver", "Help")},
    {"--framing", Value,
        QT_TRANSLATE_NOOP("MacroDriver", "Framing RTU, ASCII (with --ip: gateway)"),
        ConnectionChecks::framing},
    {"--tls", OptionRow::Flag,
        QT_TRANSLATE_NOOP("MacroDriver", "Modbus/TCP Security (TLS), port 802")},
    {"--cert", Value, QT_TRANSLATE_NOOP("MacroDriver", "TLS client certificate (PEM)"),
        ConnectionChecks::tlsFile},
    {"--key", Value, QT_TRANSLATE_NOOP("MacroDriver", "TLS client private key (PEM)"),
        ConnectionChecks::tlsFile},
    {"--ca", Value, QT_TRANSLATE_NOOP("MacroDriver", "TLS certificate authorities (PEM)"),
        ConnectionChecks::tlsFile},
    {"--serve", OptionRow::Flag,
        QT_TRANSLATE_NOOP("MacroDriver",
            "Keep the line open: one request per line of standard input, each answered by its "
            "output and \"end KEY STATUS\" (KEY from the first line, \"serving KEY\")")},
};

// The macro list of the usage text. It is fixed text, kept as the users know
// it; what each macro accepts is the catalogue's. Its lines end with a bare
// line feed.
const char *const macroList = "MACRO_SET\n"
                              "\n"
                              " FD_MACRO_CLEAR_COUNTERS [ mask ] \n"
                              " FD_MACRO_CLEAR_SIGNALS [ number clear ] \n"
                              " FD_MACRO_CONTROL_SWITCH [ type number command ] \n"
                              " FD_MACRO_LOGIN [ user, password ] \n"
                              " FD_MACRO_LOGOUT [] \n"
                              " FD_MACRO_READ_SETTINGS [ bank ] \n"
                              " FD_MACRO_READ_SETTINGS_02 [ bank profile ] \n"
                              " FD_MACRO_RUN_BOOTLOADER [] \n"
                              " FD_MACRO_SAVE_PROFILE_2 [ type count crc slot lang ] \n"
                              " FD_MACRO_SET_ACTIVE_PROFILE [ profile_number ] \n"
                              " FD_MACRO_SET_CONTROL_LR [ control ] \n"
                              " FD_MACRO_SET_DAR_COMMAND [ cmd ] \n"
                              " FD_MACRO_SET_DATE_TIME [ yyyy MM dd dw hh mm ss ms options ] \n"
                              " FD_MACRO_SET_DATE_TIME [] \n"
                              " FD_MACRO_SET_MEMORY_READ_TYPE [ type page_number ] \n"
                              " FD_MACRO_SET_PAGE_MEMORY_READ [ page_number ] \n"
                              " FD_MACRO_SET_PAGE_MEMORY_WRITE [ page_number ] \n"
                              " FD_MACRO_SET_PASSWORD_TIME[ com time] \n"
                              " FD_MACRO_SET_ACTIVE_SETofSETTINGS[ setofsettings ] \n"
                              " FD_MACRO_SET_PORT_TIMEOUT[ com time ] \n"
                              " FD_MACRO_SET_IP_ADDRESS [ com addr ] \n"
                              " FD_MACRO_SET_IP_MASK [ com addr ] \n"
                              " FD_MACRO_SET_IP_GATEWAY [ com addr ] \n"
                              " FD_MACRO_SET_USER_PRIVILEGES[ user,privileges ] \n"
                              " FD_MACRO_SET_PORT_ADDRESS [ com addr] \n"
                              " FD_MACRO_SET_PORT_SETTINGS [ com baudrate parity stop_bits ] \n"
                              " FD_MACRO_SET_PORT_PROTOCOL [com protocol ] \n"
                              " FD_MACRO_SET_SETTINGS [ bank profile ] \n"
                              " FD_MACRO_SET_SETTINGS_02 [ bank profile_number ] \n"
                              " FD_MACRO_SET_SN [ serial_number ] \n"
                              " FD_MACRO_SET_USER_COMMANDS [ cmd ] \n"
                              " FD_MACRO_SET_WORK_MODE [ mode ] \n"
                              " FD_MACRO_SYSTEM_RESET [] \n"
                              " FD_MACRO_WRITE_FLASH [] \n"
                              " FD_MACRO_SET_IEC101_PARAMETERS [ com x1 x2 x3 x4] \n"
                              "\n"
                              "\n"
                              "MACRO_GET\n"
                              "\n"
                              " FD_MACRO_GET_DEVICE_INFO \n"
                              " FD_MACRO_GET_PROFILE_HEADER [ profile_number ] \n"
                              " FD_MACRO_GET_SN [] \n"
                              " FD_MACRO_GET_DEVICE_KEY [] \n"
                              " FD_MACRO_GET_EVENTS_COUNT [] \n"
                              "\n";

} // namespace

namespace MacroDriverOptions {

const OptionTable &table()
{
    static const OptionTable options(TranslationContext("MacroDriver"), optionRows);
    return options;
}

QString usageText()
{
    const QString login = QStringLiteral(" --macro FD_MACRO_LOGIN --param \"1 7305\"");
    return "<br>"
        + QStringLiteral(R"(qelDrvMacro.exe --address 1 --port \\.\COM1 --baudrate 115200)") + login
        + "<br>" + QStringLiteral("qelDrvMacro.exe --address 255 --ip 127.0.0.1") + login
        + "<br><br>" + table().helpRows() + "<br>" + QLatin1String(macroList);
}

QString missingOptions(const OptionPairs &options)
{
    QString missing;
    ConnectionChecks::missingOptions(options, &missing);
    Checks::requireOption(options, QStringLiteral("--macro"), &missing);
    Checks::requireOption(options, QStringLiteral("--param"), &missing);
    return missing;
}

QString invalidValues(const OptionPairs &options)
{
    return table().invalidValues(options, DriverConnection::lineKind(options));
}

} // namespace MacroDriverOptions
