#include "registercommandline.h"

#include "checks.h"
#include "connectionchecks.h"
#include "driverconnection.h"
#include "optionpairs.h"
#include "optiontable.h"

#include <algorithm>

namespace {

constexpr RegisterRequest::Kind BlockWrite = RegisterRequest::BlockWrite;
constexpr RegisterRequest::Kind RangeRead = RegisterRequest::RangeRead;
constexpr RegisterRequest::Kind TypedRead = RegisterRequest::TypedRead;
constexpr RegisterRequest::Kind TypedWrite = RegisterRequest::TypedWrite;
constexpr RegisterRequest::Table Holding = RegisterRequest::Holding;
constexpr RegisterRequest::Table Input = RegisterRequest::Input;

// A whole number from 0 to 65535, never cut to 16 bits: register 65536 would
// write register 0, a frame delay of -1 would pause 65535 ms. Text that is no
// number at all gets the number line only.
void wholeNumber(const QString &value, LineKind, QString *lines)
{
    if (Checks::numberCheck(value, lines))
        Checks::integerRangeCheck(value, 0, 65535, lines);
}

void display(const QString &value, LineKind, QString *lines)
{
    Checks::memberCheck(value, {QStringLiteral("HEX"), QStringLiteral("DEC")}, lines);
}

// One option of the register driver and the operation it chooses; operations
// are tried in ascending operationOrder (0: the option chooses none).
struct RegisterOption
{
    OptionRow option;
    int operationOrder = 0;
    RegisterRequest::Kind kind = RegisterRequest::Nothing;
    RegisterRequest::Table table = Holding;
    ValueType type = ValueType::U16;
};

constexpr OptionRow::Value Value = OptionRow::TakesValue;

// Every option in the order of the help text. Its value checks run in the
// order of their checkOrder: the device address and the baud rate, the
// registers, the line settings, the display, the frame delay, the TCP port,
// the framing and the TLS files.
const RegisterOption registerOptions[] = {
    {{"--address", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Device address"),
        ConnectionChecks::deviceAddress, 1}},
    {{"--baudrate", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Baudrate"),
        ConnectionChecks::baudRate, 2}},
    {{"--port", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Serial port name"),
        ConnectionChecks::tcpPort, 40, OptionRow::TcpOnly}},
    {{"--write", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Write to address"), wholeNumber, 3}, 13,
        BlockWrite, Holding, ValueType::U16},
    {{"--write_u16", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Write U16 to address"), wholeNumber,
         4},
        14, TypedWrite, Holding, ValueType::U16},
    {{"--write_u32", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Write U32 to address"), wholeNumber,
         5},
        16, TypedWrite, Holding, ValueType::U32},
    {{"--write_s16", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Write S16 to address"), wholeNumber,
         6},
        15, TypedWrite, Holding, ValueType::S16},
    {{"--write_s32", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Write S32 to address"), wholeNumber,
         7},
        17, TypedWrite, Holding, ValueType::S32},
    {{"--write_f32", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Write F32 to address"), wholeNumber,
         8},
        18, TypedWrite, Holding, ValueType::F32},
    {{"--data", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Data")}},
    {{"--read", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Read from address"), wholeNumber, 9}, 6,
        RangeRead, Holding, ValueType::U16},
    {{"--read_u16", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Read U16 from address"), wholeNumber,
         10},
        1, TypedRead, Holding, ValueType::U16},
    {{"--read_u32", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Read U32 from address"), wholeNumber,
         11},
        2, TypedRead, Holding, ValueType::U32},
    {{"--read_f32", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Read F32 from address"), wholeNumber,
         14},
        3, TypedRead, Holding, ValueType::F32},
    {{"--read_s16", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Read S16 from address"), wholeNumber,
         12},
        4, TypedRead, Holding, ValueType::S16},
    {{"--read_s32", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Read S32 from address"), wholeNumber,
         13},
        5, TypedRead, Holding, ValueType::S32},
    {{"--readIn", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Read inputs from address"), wholeNumber,
         15},
        12, RangeRead, Input, ValueType::U16},
    {{"--readIn_u16", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Read inputs U16 from address"),
         wholeNumber, 16},
        7, TypedRead, Input, ValueType::U16},
    {{"--readIn_u32", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Read inputs U32 from address"),
         wholeNumber, 17},
        9, TypedRead, Input, ValueType::U32},
    {{"--readIn_s16", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Read inputs S16 from address"),
         wholeNumber, 18},
        8, TypedRead, Input, ValueType::S16},
    {{"--readIn_s32", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Read inputs S32 from address"),
         wholeNumber, 19},
        10, TypedRead, Input, ValueType::S32},
    {{"--readIn_f32", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Read inputs F32 from address"),
         wholeNumber, 20},
        11, TypedRead, Input, ValueType::F32},
    {{"--range", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "How many registers read or write"),
        wholeNumber, 21}},
    {{"--save", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Save data to")}},
    {{"--load", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Load data from")}},
    // Checked with the required parameters of a block write.
    {{"--format", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Data format HEX, DEC, BIN")}},
    {{"--parity", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Serial port parity N,E,O"),
        ConnectionChecks::parity, 30}},
    {{"--data_bit", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Serial data bits 8"),
        ConnectionChecks::dataBits, 31}},
    {{"--stop_bit", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Serial stop bits 1,2"),
        ConnectionChecks::stopBits, 32}},
    {{"--display", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Display read data as HEX, DEC"),
        display, 33}},
    {{"--verbose", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Verbose mode when 1, off when 0")}},
    {{"--fdelay", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Frames delay"), wholeNumber, 34}},
    {{"--ip", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "IP address")}},
    {{"--help", OptionRow::Flag, QT_TRANSLATE_NOOP("qelDrvModbus", "Help")}},
    {{"--framing", Value,
        QT_TRANSLATE_NOOP("qelDrvModbus", "Framing RTU, ASCII (with --ip: gateway)"),
        ConnectionChecks::framing, 41}},
    {{"--tls", OptionRow::Flag,
        QT_TRANSLATE_NOOP("qelDrvModbus", "Modbus/TCP Security (TLS), port 802")}},
    {{"--cert", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "TLS client certificate (PEM)"),
        ConnectionChecks::tlsFile, 42}},
    {{"--key", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "TLS client private key (PEM)"),
        ConnectionChecks::tlsFile, 43}},
    {{"--ca", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "TLS certificate authorities (PEM)"),
        ConnectionChecks::tlsFile, 44}},
};

bool anyOfKind(const OptionPairs &options, RegisterRequest::Kind kind)
{
    for (const RegisterOption &row : registerOptions) {
        if (row.kind == kind && options.has(QLatin1String(row.option.name)))
            return true;
    }
    return false;
}

} // namespace

namespace RegisterCommandLine {

const OptionTable &optionTable()
{
    static const OptionTable table = [] {
        QVector<OptionRow> rows;
        for (const RegisterOption &row : registerOptions)
            rows.append(row.option);
        return OptionTable(TranslationContext("qelDrvModbus"), rows);
    }();
    return table;
}

QVector<Operation> operations()
{
    QVector<const RegisterOption *> chosen;
    for (const RegisterOption &row : registerOptions) {
        if (row.operationOrder > 0)
            chosen.append(&row);
    }
    std::sort(chosen.begin(), chosen.end(), [](const RegisterOption *a, const RegisterOption *b) {
        return a->operationOrder < b->operationOrder;
    });
    QVector<Operation> list;
    for (const RegisterOption *row : qAsConst(chosen))
        list.append({row->option.name, row->kind, row->table, row->type});
    return list;
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

    QString text = QStringLiteral("<br>");
    for (const char *example : serialExamples)
        text += QLatin1String(example) + "<br>";
    text += QStringLiteral("<br>");
    for (const char *example : tcpExamples)
        text += QLatin1String(example) + "<br>";
    return text + "<br>" + optionTable().helpRows() + "<br>";
}

QString missingParameters(const OptionPairs &options)
{
    QString lines;
    ConnectionChecks::missingOptions(options, &lines);

    if (anyOfKind(options, BlockWrite)) {
        if (!options.has(QStringLiteral("--data")))
            Checks::requireOption(options, QStringLiteral("--load"), &lines);
        // Checked whenever it is given: a wrong format would read the file
        // in the wrong form.
        if (options.has(QStringLiteral("--format")))
            Checks::memberCheck(options.value(QStringLiteral("--format")),
                {QStringLiteral("DEC"), QStringLiteral("HEX"), QStringLiteral("BIN")}, &lines);
    } else if (anyOfKind(options, TypedWrite)) {
        Checks::requireOption(options, QStringLiteral("--data"), &lines);
    } else if (anyOfKind(options, RangeRead)) {
        Checks::requireOption(options, QStringLiteral("--range"), &lines);
    }
    return lines;
}

QString invalidParameters(const OptionPairs &options)
{
    return optionTable().invalidValues(options, DriverConnection::lineKind(options));
}

} // namespace RegisterCommandLine
