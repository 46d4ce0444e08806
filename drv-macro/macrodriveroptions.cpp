#include "macrodriveroptions.h"

#include "checks.h"
#include "driverconnection.h"
#include "optionpairs.h"

#include <QCoreApplication>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("MacroDriver", text);
}

struct OptionRow
{
    const char *name;
    const char *usage;
};

const OptionRow optionRows[] = {
    {"--address", QT_TRANSLATE_NOOP("MacroDriver", "Device address")},
    {"--baudrate", QT_TRANSLATE_NOOP("MacroDriver", "Baudrate")},
    {"--port", QT_TRANSLATE_NOOP("MacroDriver", "Serial port name")},
    {"--macro", QT_TRANSLATE_NOOP("MacroDriver", "Macro name")},
    {"--param", QT_TRANSLATE_NOOP("MacroDriver", "Macro parameters")},
    {"--parity", QT_TRANSLATE_NOOP("MacroDriver", "Serial port parity N,E,O")},
    {"--data_bit", QT_TRANSLATE_NOOP("MacroDriver", "Serial data bits 8")},
    {"--stop_bit", QT_TRANSLATE_NOOP("MacroDriver", "Serial stop bits 1,2")},
    {"--verbose", QT_TRANSLATE_NOOP("MacroDriver", "Verbose mode when 1, off when 0")},
    {"--ip", QT_TRANSLATE_NOOP("MacroDriver", "IP address")},
    {"--help", QT_TRANSLATE_NOOP("MacroDriver", "Help")},
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

void requireOption(const OptionPairs &options, const QString &name, QString *missing)
{
    if (!options.has(name))
        *missing += "&nbsp;" + name + "<br>";
}

} // namespace

namespace MacroDriverOptions {

QStringList table()
{
    QStringList names;
    for (const OptionRow &row : optionRows)
        names.append(QLatin1String(row.name));
    return names;
}

QString usageText()
{
    const QString login = QStringLiteral(" --macro FD_MACRO_LOGIN --param \"1 7305\"");
    QString text = "<br>"
        + QStringLiteral(R"(qelDrvMacro.exe --address 1 --port \\.\COM1 --baudrate 115200)") + login
        + "<br>" + QStringLiteral("qelDrvMacro.exe --address 255 --ip 127.0.0.1") + login
        + "<br><br>";
    for (const OptionRow &row : optionRows)
        text += helpRow(QLatin1String(row.name), tr(row.usage));
    return text + "<br>" + QLatin1String(macroList);
}

QString missingOptions(const OptionPairs &options)
{
    QString missing;
    if (!DriverConnection::isTcp(options)) {
        requireOption(options, QStringLiteral("--port"), &missing);
        requireOption(options, QStringLiteral("--address"), &missing);
    }
    requireOption(options, QStringLiteral("--macro"), &missing);
    requireOption(options, QStringLiteral("--param"), &missing);
    return missing;
}

QString invalidValues(const OptionPairs &options)
{
    QString errors;
    const bool tcp = DriverConnection::isTcp(options);
    const QString address = QStringLiteral("--address");
    if (options.has(address)) {
        // The address is read as a decimal number; one that passes the number
        // check but reads otherwise ("0x10", "1.5") or that the line refuses
        // is named instead of being replaced by another address.
        const QString value = options.value(address);
        if (Checks::numberCheck(value, &errors))
            Checks::deviceAddressCheck(value, tcp, &errors);
    }
    if (tcp) {
        // The connection reads the port as a decimal number, so the check
        // does too: 0x1F6 would pass as 502 and connect to port 0.
        const QString port = QStringLiteral("--port");
        if (options.has(port) && Checks::numberCheck(options.value(port), &errors))
            Checks::decimalRangeCheck(options.value(port), 1, 65535, &errors);
        return errors;
    }
    if (options.has(QStringLiteral("--baudrate")))
        Checks::numberCheck(options.value(QStringLiteral("--baudrate")), &errors);
    if (options.has(QStringLiteral("--parity")))
        Checks::memberCheck(options.value(QStringLiteral("--parity")),
            {QStringLiteral("N"), QStringLiteral("E"), QStringLiteral("O")}, &errors);
    if (options.has(QStringLiteral("--data_bit")))
        Checks::memberCheck(
            options.value(QStringLiteral("--data_bit")), {QStringLiteral("8")}, &errors);
    if (options.has(QStringLiteral("--stop_bit")))
        Checks::memberCheck(options.value(QStringLiteral("--stop_bit")),
            {QStringLiteral("1"), QStringLiteral("2")}, &errors);
    return errors;
}

} // namespace MacroDriverOptions
