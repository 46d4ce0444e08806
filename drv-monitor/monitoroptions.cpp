#include "monitoroptions.h"

#include "checks.h"
#include "engine/rtusettings.h"
#include "numbers.h"
#include "optionpairs.h"

#include <QCoreApplication>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("qelDrvMonitor", text);
}

struct OptionRow
{
    const char *name;
    bool takesValue;
    const char *usage;
};

const OptionRow optionRows[] = {
    {"--port", true, QT_TRANSLATE_NOOP("qelDrvMonitor", "Serial port name")},
    {"--baudrate", true, QT_TRANSLATE_NOOP("qelDrvMonitor", "Baudrate")},
    {"--parity", true, QT_TRANSLATE_NOOP("qelDrvMonitor", "Serial port parity N,E,O")},
    {"--data_bit", true, QT_TRANSLATE_NOOP("qelDrvMonitor", "Serial data bits 8 (7 with ASCII)")},
    {"--stop_bit", true, QT_TRANSLATE_NOOP("qelDrvMonitor", "Serial stop bits 1,2")},
    {"--framing", true, QT_TRANSLATE_NOOP("qelDrvMonitor", "Framing RTU (default) or ASCII")},
    {"--reply-window", true,
        QT_TRANSLATE_NOOP("qelDrvMonitor", "Milliseconds a reply may take (default 1000)")},
    {"--hex", false, QT_TRANSLATE_NOOP("qelDrvMonitor", "Frames in hex too")},
    {"--csv", true,
        QT_TRANSLATE_NOOP(
            "qelDrvMonitor", "One row per frame to a CSV file, - for standard output")},
    {"--duration", true,
        QT_TRANSLATE_NOOP("qelDrvMonitor", "Seconds to listen (default: until Ctrl+C)")},
    {"--help", false, QT_TRANSLATE_NOOP("qelDrvMonitor", "Help")},
};

const OptionRow *rowOf(const QString &name)
{
    for (const OptionRow &row : optionRows) {
        if (name == QLatin1String(row.name))
            return &row;
    }
    return nullptr;
}

constexpr int MaxReplyWindowMs = 60000;
constexpr int MaxDurationSeconds = 30 * 24 * 3600;

bool isAscii(const OptionPairs &options)
{
    return options.value(QStringLiteral("--framing")) == QLatin1String("ASCII");
}

void checkMember(
    const OptionPairs &options, const char *name, const QStringList &allowed, QString *errors)
{
    if (options.has(QLatin1String(name)))
        Checks::memberCheck(options.value(QLatin1String(name)), allowed, errors);
}

void checkWholeNumber(
    const OptionPairs &options, const char *name, int low, int high, QString *errors)
{
    const QString option = QLatin1String(name);
    if (options.has(option) && Checks::numberCheck(options.value(option), errors))
        Checks::integerRangeCheck(options.value(option), low, high, errors);
}

} // namespace

namespace MonitorOptions {

QStringList table()
{
    QStringList names;
    for (const OptionRow &row : optionRows)
        names.append(QLatin1String(row.name));
    return names;
}

QString usageText()
{
    QString text = "<br>" + QStringLiteral(R"(qelDrvMonitor.exe --port \\.\COM1 --baudrate 115200)")
        + "<br>"
        + QStringLiteral(R"(qelDrvMonitor.exe --port \\.\COM1 --baudrate 9600 --parity E)"
                         R"( --hex --csv "bus.csv" --duration 600)")
        + "<br><br>";
    for (const OptionRow &row : optionRows)
        text += helpRow(QLatin1String(row.name), tr(row.usage));
    return text;
}

QString missingOptions(const OptionPairs &options)
{
    return options.has(QStringLiteral("--port")) ? QString() : QStringLiteral("&nbsp;--port<br>");
}

QString invalidValues(const OptionPairs &options, const QStringList &arguments)
{
    QString errors;
    // An argument after an option that takes a value is that value.
    for (int i = 1; i < arguments.size(); ++i) {
        const OptionRow *previous = rowOf(arguments.at(i - 1));
        const bool isValue = i > 1 && previous && previous->takesValue;
        if (!isValue && arguments.at(i).startsWith(QLatin1String("--")) && !rowOf(arguments.at(i)))
            errors += "&nbsp;" + tr("Unknown option") + "&nbsp;" + arguments.at(i) + "<br>";
    }

    QStringList rates;
    for (const int rate : Modbus::knownBaudRates())
        rates.append(QString::number(rate));
    checkMember(options, "--baudrate", rates, &errors);
    checkMember(options, "--parity",
        {QStringLiteral("N"), QStringLiteral("E"), QStringLiteral("O")}, &errors);
    checkMember(options, "--data_bit",
        isAscii(options) ? QStringList {QStringLiteral("7"), QStringLiteral("8")}
                         : QStringList {QStringLiteral("8")},
        &errors);
    checkMember(options, "--stop_bit", {QStringLiteral("1"), QStringLiteral("2")}, &errors);
    checkMember(options, "--framing", {QStringLiteral("RTU"), QStringLiteral("ASCII")}, &errors);
    checkWholeNumber(options, "--reply-window", 1, MaxReplyWindowMs, &errors);
    const QString csv = QStringLiteral("--csv");
    if (options.has(csv)) {
        // A file name, not the next option taken as one.
        const QString file = options.value(csv);
        if (file.isEmpty() || rowOf(file))
            errors += "&nbsp;" + file + "&nbsp;" + tr("is not a file name") + "<br>";
    }
    checkWholeNumber(options, "--duration", 1, MaxDurationSeconds, &errors);
    return errors;
}

Settings settings(const OptionPairs &options)
{
    Settings result;
    result.line.device = options.value(QStringLiteral("--port"));
    if (options.has(QStringLiteral("--baudrate")))
        result.line.baudRate = int(Numbers::toDecimal(options.value(QStringLiteral("--baudrate"))));
    if (options.has(QStringLiteral("--parity")))
        result.line.parity = options.value(QStringLiteral("--parity")).at(0).toLatin1();
    if (options.has(QStringLiteral("--data_bit")))
        result.line.dataBits = int(Numbers::toDecimal(options.value(QStringLiteral("--data_bit"))));
    if (options.has(QStringLiteral("--stop_bit")))
        result.line.stopBits = int(Numbers::toDecimal(options.value(QStringLiteral("--stop_bit"))));
    result.ascii = isAscii(options);
    if (options.has(QStringLiteral("--reply-window")))
        result.replyWindowMs
            = int(Numbers::toReal(options.value(QStringLiteral("--reply-window"))));
    result.hex = options.has(QStringLiteral("--hex"));
    result.csvFile = options.value(QStringLiteral("--csv"));
    if (options.has(QStringLiteral("--duration")))
        result.durationSeconds = int(Numbers::toReal(options.value(QStringLiteral("--duration"))));
    return result;
}

} // namespace MonitorOptions
