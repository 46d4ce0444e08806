#include "monitoroptions.h"

#include "checks.h"
#include "connectionchecks.h"
#include "engine/rtusettings.h"
#include "numbers.h"
#include "optionpairs.h"
#include "optiontable.h"

namespace {

constexpr TranslationContext tr("qelDrvMonitor");

constexpr int MaxReplyWindowMs = 60000;
constexpr int MaxDurationSeconds = 30 * 24 * 3600;

// A rate the line can run at: one of the table's, since a listener at any
// other rate hears nothing but noise.
void baudRate(const QString &value, LineKind, QString *lines)
{
    QStringList rates;
    for (const int rate : Modbus::knownBaudRates())
        rates.append(QString::number(rate));
    Checks::memberCheck(value, rates, lines);
}

// Parity in the order the drivers list it.
void parity(const QString &value, LineKind, QString *lines)
{
    Checks::memberCheck(
        value, {QStringLiteral("N"), QStringLiteral("E"), QStringLiteral("O")}, lines);
}

void framing(const QString &value, LineKind, QString *lines)
{
    Checks::memberCheck(value, {QStringLiteral("RTU"), QStringLiteral("ASCII")}, lines);
}

void replyWindow(const QString &value, LineKind, QString *lines)
{
    if (Checks::numberCheck(value, lines))
        Checks::integerRangeCheck(value, 1, MaxReplyWindowMs, lines);
}

void duration(const QString &value, LineKind, QString *lines)
{
    if (Checks::numberCheck(value, lines))
        Checks::integerRangeCheck(value, 1, MaxDurationSeconds, lines);
}

// Modbus ASCII is often sent with seven data bits; RTU needs eight.
void asciiDataBits(const QString &value, LineKind, QString *lines)
{
    Checks::memberCheck(value, {QStringLiteral("7"), QStringLiteral("8")}, lines);
}

void csvFile(const QString &value, LineKind, QString *lines);

constexpr OptionRow::Value Value = OptionRow::TakesValue;

// The data bits of ASCII are checked by asciiDataBits (see invalidValues).
const OptionRow optionRows[] = {
    {"--port", Value, QT_TRANSLATE_NOOP("qelDrvMonitor", "Serial port name")},
    {"--baudrate", Value, QT_TRANSLATE_NOOP("qelDrvMonitor", "Baudrate"), baudRate},
    {"--parity", Value, QT_TRANSLATE_NOOP("qelDrvMonitor", "Serial port parity N,E,O"), parity},
    {"--data_bit", Value, QT_TRANSLATE_NOOP("qelDrvMonitor", "Serial data bits 8 (7 with ASCII)"),
        ConnectionChecks::dataBits},
    {"--stop_bit", Value, QT_TRANSLATE_NOOP("qelDrvMonitor", "Serial stop bits 1,2"),
        ConnectionChecks::stopBits},
    {"--framing", Value, QT_TRANSLATE_NOOP("qelDrvMonitor", "Framing RTU (default) or ASCII"),
        framing},
    {"--reply-window", Value,
        QT_TRANSLATE_NOOP("qelDrvMonitor", "Milliseconds a reply may take (default 1000)"),
        replyWindow},
    {"--hex", OptionRow::Flag, QT_TRANSLATE_NOOP("qelDrvMonitor", "Frames in hex too")},
    {"--csv", Value,
        QT_TRANSLATE_NOOP(
            "qelDrvMonitor", "One row per frame to a CSV file, - for standard output"),
        csvFile},
    {"--duration", Value,
        QT_TRANSLATE_NOOP("qelDrvMonitor", "Seconds to listen (default: until Ctrl+C)"), duration},
    {"--help", OptionRow::Flag, QT_TRANSLATE_NOOP("qelDrvMonitor", "Help")},
};

// A file name, not nothing and not the next option taken as one.
void csvFile(const QString &value, LineKind, QString *lines)
{
    if (value.isEmpty() || MonitorOptions::table().names().contains(value))
        *lines += "&nbsp;" + value + "&nbsp;" + tr("is not a file name") + "<br>";
}

bool isAscii(const OptionPairs &options)
{
    return options.value(QStringLiteral("--framing")) == QLatin1String("ASCII");
}

} // namespace

namespace MonitorOptions {

const OptionTable &table()
{
    static const OptionTable options(tr, optionRows);
    return options;
}

QString usageText()
{
    return "<br>" + QStringLiteral(R"(qelDrvMonitor.exe --port \\.\COM1 --baudrate 115200)")
        + "<br>"
        + QStringLiteral(R"(qelDrvMonitor.exe --port \\.\COM1 --baudrate 9600 --parity E)"
                         R"( --hex --csv "bus.csv" --duration 600)")
        + "<br><br>" + table().helpRows();
}

QString missingOptions(const OptionPairs &options)
{
    QString missing;
    Checks::requireOption(options, QStringLiteral("--port"), &missing);
    return missing;
}

QString invalidValues(const OptionPairs &options)
{
    QVector<OptionRow> rows = table().rows();
    if (isAscii(options)) {
        for (OptionRow &row : rows) {
            if (row.name == QLatin1String("--data_bit"))
                row.check = asciiDataBits;
        }
    }
    return OptionTable(tr, rows).invalidValues(options, LineKind::Serial);
}

Settings settings(const OptionPairs &options)
{
    const auto decimal = [&options](const char *name, int defaultValue) {
        const QString option = QLatin1String(name);
        return options.has(option) ? int(Numbers::toDecimal(options.value(option))) : defaultValue;
    };
    Settings result;
    result.line.device = options.value(QStringLiteral("--port"));
    result.line.baudRate = decimal("--baudrate", result.line.baudRate);
    if (options.has(QStringLiteral("--parity")))
        result.line.parity = options.value(QStringLiteral("--parity")).at(0).toLatin1();
    result.line.dataBits = decimal("--data_bit", result.line.dataBits);
    result.line.stopBits = decimal("--stop_bit", result.line.stopBits);
    result.ascii = isAscii(options);
    result.replyWindowMs = decimal("--reply-window", result.replyWindowMs);
    result.hex = options.has(QStringLiteral("--hex"));
    result.csvFile = options.value(QStringLiteral("--csv"));
    result.durationSeconds = decimal("--duration", result.durationSeconds);
    return result;
}

} // namespace MonitorOptions
