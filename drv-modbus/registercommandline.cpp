#include "registercommandline.h"

#include "checks.h"
#include "optionpairs.h"

#include <QCoreApplication>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("qelDrvModbus", text);
}

const QStringList typedWriteOptions {
    "--write_u16", "--write_s16", "--write_u32", "--write_s32", "--write_f32"};

// Register addresses and counts, in the order they are checked.
const QStringList registerOptions {
    "--write",
    "--write_u16",
    "--write_u32",
    "--write_s16",
    "--write_s32",
    "--write_f32",
    "--read",
    "--read_u16",
    "--read_u32",
    "--read_s16",
    "--read_s32",
    "--read_f32",
    "--readIn",
    "--readIn_u16",
    "--readIn_u32",
    "--readIn_s16",
    "--readIn_s32",
    "--readIn_f32",
    "--range",
};

void appendMissing(const OptionPairs &options, const QString &name, QString *lines)
{
    if (!options.has(name))
        *lines += "&nbsp;" + name + "<br>";
}

// Text that is no number at all gets the number-check line only; a number
// outside low..high gets the range line.
void checkWholeNumber(const QString &value, int low, int high, QString *lines)
{
    if (Checks::numberCheck(value, lines))
        Checks::integerRangeCheck(value, low, high, lines);
}

void checkMember(
    const OptionPairs &options, const QString &name, const QStringList &allowed, QString *lines)
{
    if (options.has(name))
        Checks::memberCheck(options.value(name), allowed, lines);
}

} // namespace

namespace RegisterCommandLine {

QStringList optionTable()
{
    return {"--address", "--port", "--baudrate", "--write", "--write_u16", "--write_u32",
        "--write_s16", "--write_s32", "--write_f32", "--read", "--read_u16", "--read_u32",
        "--read_f32", "--read_s16", "--read_s32", "--readIn", "--readIn_u16", "--readIn_u32",
        "--readIn_f32", "--readIn_s16", "--readIn_s32", "--range", "--parity", "--data_bit",
        "--stop_bit", "--save", "--load", "--help", "--display", "--fdelay", "--verbose", "--data",
        "--ip", "--format"};
}

QString helpText()
{
    static const char *const serialExamples[] = {
        "qelDrvModbus.exe --address 1 --port \\\\.\\COM1 --baudrate 115200 --write 1 --load "
        "\"data.bin\"",
        "qelDrvModbus.exe --address 1 --port \\\\.\\COM1 --baudrate 115200 --write 1 --load "
        "\"data.txt\" --format HEX",
        "qelDrvModbus.exe --address 1 --port \\\\.\\COM1 --baudrate 115200 --write 1 --data "
        "[0x01,0x02]",
        "qelDrvModbus.exe --address 1 --port \\\\.\\COM1 --baudrate 115200 --write_u16 0 --data 10",
        "qelDrvModbus.exe --address 1 --port \\\\.\\COM1 --baudrate 115200 --read 1 --range 1000 "
        "--save \"data.bin\"",
        "qelDrvModbus.exe --address 1 --port \\\\.\\COM1 --baudrate 115200 --read 1 --range 1000 "
        "--save \"data.txt\" --display HEX",
        "qelDrvModbus.exe --address 1 --port \\\\.\\COM1 --baudrate 115200 --read 1 --range 1000 "
        "--display HEX",
        "qelDrvModbus.exe --address 1 --port \\\\.\\COM1 --baudrate 115200 --read_u16 0",
    };
    static const char *const tcpExamples[] = {
        "qelDrvModbus.exe --ip 127.0.0.1 --port 502 --write 0 --load \"data.bin\"",
        "qelDrvModbus.exe --ip 127.0.0.1 --port 502 --write 0 --load \"data.txt\" --format HEX",
        "qelDrvModbus.exe --ip 127.0.0.1 --port 502 --write 0 --data [0x01,0x02]",
        "qelDrvModbus.exe --ip 127.0.0.1 --port 502 --write_u16 0 --data 10",
        "qelDrvModbus.exe --ip 127.0.0.1 --port 502 --read 0 --range 1000 --save \"data.bin\"",
        "qelDrvModbus.exe --ip 127.0.0.1 --port 502 --read 0 --range 1000 --save \"data.txt\" "
        "--display HEX",
        "qelDrvModbus.exe --ip 127.0.0.1 --port 502 --read 0 --range 1000 --display HEX",
        "qelDrvModbus.exe --ip 127.0.0.1 --port 502 --read_u16 0",
    };
    static const char *const rows[][2] = {
        {"--address", "Device address"},
        {"--baudrate", "Baudrate"},
        {"--port", "Serial port name"},
        {"--write", "Write to address"},
        {"--write_u16", "Write U16 to address"},
        {"--write_u32", "Write U32 to address"},
        {"--write_s16", "Write S16 to address"},
        {"--write_s32", "Write S32 to address"},
        {"--write_f32", "Write F32 to address"},
        {"--data", "Data"},
        {"--read", "Read from address"},
        {"--read_u16", "Read U16 from address"},
        {"--read_u32", "Read U32 from address"},
        {"--read_f32", "Read F32 from address"},
        {"--read_s16", "Read S16 from address"},
        {"--read_s32", "Read S32 from address"},
        {"--readIn", "Read inputs from address"},
        {"--readIn_u16", "Read inputs U16 from address"},
        {"--readIn_u32", "Read inputs U32 from address"},
        {"--readIn_s16", "Read inputs S16 from address"},
        {"--readIn_s32", "Read inputs S32 from address"},
        {"--readIn_f32", "Read inputs F32 from address"},
        {"--range", "How many registers read or write"},
        {"--save", "Save data to"},
        {"--load", "Load data from"},
        {"--format", "Data format HEX, DEC, BIN"},
        {"--parity", "Serial port parity N,E,O"},
        {"--data_bit", "Serial data bits 8"},
        {"--stop_bit", "Serial stop bits 1,2"},
        {"--display", "Display read data as HEX, DEC"},
        {"--verbose", "Verbose mode when 1, off when 0"},
        {"--fdelay", "Frames delay"},
        {"--ip", "IP address"},
        {"--help", "Help"},
    };

    QString text = QStringLiteral("<br>");
    for (const char *example : serialExamples)
        text += QLatin1String(example) + "<br>";
    text += QStringLiteral("<br>");
    for (const char *example : tcpExamples)
        text += QLatin1String(example) + "<br>";
    text += QStringLiteral("<br>");
    for (const auto &row : rows)
        text += helpRow(QLatin1String(row[0]), tr(row[1]));
    return text + "<br>";
}

QString missingParameters(const OptionPairs &options)
{
    QString lines;
    if (!options.has(QStringLiteral("--ip"))) {
        appendMissing(options, QStringLiteral("--port"), &lines);
        appendMissing(options, QStringLiteral("--address"), &lines);
    }

    bool typedWrite = false;
    for (const QString &name : typedWriteOptions)
        typedWrite = typedWrite || options.has(name);

    if (options.has(QStringLiteral("--write"))) {
        if (!options.has(QStringLiteral("--data")))
            appendMissing(options, QStringLiteral("--load"), &lines);
        // Checked whenever it is given: a wrong format would read the file
        // in the wrong form.
        checkMember(options, QStringLiteral("--format"), {"DEC", "HEX", "BIN"}, &lines);
    } else if (typedWrite) {
        appendMissing(options, QStringLiteral("--data"), &lines);
    } else if (options.has(QStringLiteral("--read")) || options.has(QStringLiteral("--readIn"))) {
        appendMissing(options, QStringLiteral("--range"), &lines);
    }
    return lines;
}

QString invalidParameters(const OptionPairs &options)
{
    QString lines;
    const bool tcp = options.has(QStringLiteral("--ip"));

    // A request must reach only the device the user named: an address the
    // line does not take is refused here, not left to the engine.
    if (options.has(QStringLiteral("--address"))) {
        const QString address = options.value(QStringLiteral("--address"));
        if (Checks::numberCheck(address, &lines))
            Checks::deviceAddressCheck(address, tcp, &lines);
    }
    if (options.has(QStringLiteral("--baudrate")))
        Checks::numberCheck(options.value(QStringLiteral("--baudrate")), &lines);

    // Registers are never cut to 16 bits: 65536 would write register 0.
    for (const QString &name : registerOptions) {
        if (options.has(name))
            checkWholeNumber(options.value(name), 0, 65535, &lines);
    }

    checkMember(options, QStringLiteral("--parity"), {"N", "O", "E"}, &lines);
    checkMember(options, QStringLiteral("--data_bit"), {"8"}, &lines);
    checkMember(options, QStringLiteral("--stop_bit"), {"1", "2"}, &lines);
    checkMember(options, QStringLiteral("--display"), {"HEX", "DEC"}, &lines);
    // The pause is a whole number of milliseconds; -1 would be cut to 65535.
    if (options.has(QStringLiteral("--fdelay")))
        checkWholeNumber(options.value(QStringLiteral("--fdelay")), 0, 65535, &lines);
    // The connection reads the port as a decimal number, so the check does
    // too: 0x1F6 would pass as 502 and connect to port 0.
    const QString port = options.value(QStringLiteral("--port"));
    if (tcp && options.has(QStringLiteral("--port")) && Checks::numberCheck(port, &lines))
        Checks::decimalRangeCheck(port, 1, 65535, &lines);
    return lines;
}

QString requiredParametersMessage(const QString &lines)
{
    return tr("Required parameters") + ":<br>" + lines;
}

QString invalidParametersMessage(const QString &lines)
{
    return tr("Invalid parameters") + ":<br>" + lines;
}

} // namespace RegisterCommandLine
