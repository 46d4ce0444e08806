#include "registercommandline.h"

#include "checks.h"
#include "connectionchecks.h"
#include "driverconnection.h"
#include "optionpairs.h"
#include "optiontable.h"

#include <QStringList>

#include <algorithm>

namespace {

constexpr RegisterRequest::Kind BlockWrite = RegisterRequest::BlockWrite;
constexpr RegisterRequest::Kind RangeRead = RegisterRequest::RangeRead;
constexpr RegisterRequest::Kind TypedRead = RegisterRequest::TypedRead;
constexpr RegisterRequest::Kind TypedWrite = RegisterRequest::TypedWrite;
constexpr RegisterRequest::Kind SingleWrite = RegisterRequest::SingleWrite;
constexpr RegisterRequest::Kind TextRead = RegisterRequest::TextRead;
constexpr RegisterRequest::Kind TextWrite = RegisterRequest::TextWrite;
constexpr RegisterRequest::Kind DeviceIdRead = RegisterRequest::DeviceIdRead;
constexpr RegisterRequest::Table Holding = RegisterRequest::Holding;
constexpr RegisterRequest::Table Input = RegisterRequest::Input;
constexpr RegisterRequest::Table Coils = RegisterRequest::Coils;
constexpr RegisterRequest::Table DiscreteInputs = RegisterRequest::DiscreteInputs;

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

void byteOrder(const QString &value, LineKind, QString *lines)
{
    Checks::memberCheck(value, ByteOrders::names(), lines);
}

void deviceIdCode(const QString &value, LineKind, QString *lines)
{
    Checks::memberCheck(value, RegisterCommandLine::deviceIdCodes(), lines);
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
// registers, the line settings, the display, the frame delay, the byte order
// and the device identification, the TCP port, the framing and the TLS files.
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
    {{"--read_coils", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Read coils from address"),
         wholeNumber, 22},
        19, RangeRead, Coils, ValueType::Bit},
    {{"--readIn_bits", Value,
         QT_TRANSLATE_NOOP("qelDrvModbus", "Read discrete inputs from address"), wholeNumber, 22},
        20, RangeRead, DiscreteInputs, ValueType::Bit},
    {{"--read_coil", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Read one coil from address"),
         wholeNumber, 22},
        21, TypedRead, Coils, ValueType::Bit},
    {{"--readIn_bit", Value,
         QT_TRANSLATE_NOOP("qelDrvModbus", "Read one discrete input from address"), wholeNumber,
         22},
        22, TypedRead, DiscreteInputs, ValueType::Bit},
    {{"--write_coil", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Write one coil 0 or 1 to address"),
         wholeNumber, 22},
        23, TypedWrite, Coils, ValueType::Bit},
    {{"--write_coils", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Write coils to address"),
         wholeNumber, 22},
        24, BlockWrite, Coils, ValueType::Bit},
    {{"--write_single", Value,
         QT_TRANSLATE_NOOP("qelDrvModbus", "Write U16 or S16 with function 6 to address"),
         wholeNumber, 22},
        25, SingleWrite, Holding, ValueType::U16},
    {{"--read_u64", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Read U64 from address"), wholeNumber,
         22},
        26, TypedRead, Holding, ValueType::U64},
    {{"--read_s64", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Read S64 from address"), wholeNumber,
         22},
        27, TypedRead, Holding, ValueType::S64},
    {{"--read_f64", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Read F64 from address"), wholeNumber,
         22},
        28, TypedRead, Holding, ValueType::F64},
    {{"--readIn_u64", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Read inputs U64 from address"),
         wholeNumber, 22},
        29, TypedRead, Input, ValueType::U64},
    {{"--readIn_s64", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Read inputs S64 from address"),
         wholeNumber, 22},
        30, TypedRead, Input, ValueType::S64},
    {{"--readIn_f64", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Read inputs F64 from address"),
         wholeNumber, 22},
        31, TypedRead, Input, ValueType::F64},
    {{"--write_u64", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Write U64 to address"), wholeNumber,
         22},
        32, TypedWrite, Holding, ValueType::U64},
    {{"--write_s64", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Write S64 to address"), wholeNumber,
         22},
        33, TypedWrite, Holding, ValueType::S64},
    {{"--write_f64", Value, QT_TRANSLATE_NOOP("qelDrvModbus", "Write F64 to address"), wholeNumber,
         22},
        34, TypedWrite, Holding, ValueType::F64},
    {{"--order", Value,
        QT_TRANSLATE_NOOP("qelDrvModbus", "Byte order of 32/64-bit values ABCD, BADC, CDAB, DCBA"),
        byteOrder, 35}},
    {{"--read_str", Value,
         QT_TRANSLATE_NOOP("qelDrvModbus", "Read text from address, --range registers"),
         wholeNumber, 22},
        35, TextRead, Holding, ValueType::U16},
    {{"--readIn_str", Value,
         QT_TRANSLATE_NOOP("qelDrvModbus", "Read inputs text from address, --range registers"),
         wholeNumber, 22},
        36, TextRead, Input, ValueType::U16},
    {{"--write_str", Value,
         QT_TRANSLATE_NOOP("qelDrvModbus", "Write text to address, --range registers"), wholeNumber,
         22},
        37, TextWrite, Holding, ValueType::U16},
    {{"--read_device_id", Value,
         QT_TRANSLATE_NOOP("qelDrvModbus", "Read identification objects basic, regular, extended"),
         deviceIdCode, 36},
        38, DeviceIdRead, Holding, ValueType::U16},
    {{"--serve", OptionRow::Flag,
        QT_TRANSLATE_NOOP("qelDrvModbus",
            "Keep the line open: one request per line of standard input, each answered by its "
            "output and \"end KEY STATUS\" (KEY from the first line, \"serving KEY\")")}},
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

QStringList deviceIdCodes()
{
    return {QStringLiteral("basic"), QStringLiteral("regular"), QStringLiteral("extended")};
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
        "qelDrvModbus.exe --ip 127.0.0.1 --port 502 --read_coils 0 --range 2000",
        "qelDrvModbus.exe --ip 127.0.0.1 --port 502 --write_coils 0 --data [1,0,1]",
        "qelDrvModbus.exe --ip 127.0.0.1 --port 502 --write_single 0 --data -1",
        "qelDrvModbus.exe --ip 127.0.0.1 --port 502 --read_f64 0 --order ABCD",
        "qelDrvModbus.exe --ip 127.0.0.1 --port 502 --write_str 0 --range 8 --data \"Feeder 1\"",
        "qelDrvModbus.exe --ip 127.0.0.1 --port 502 --read_device_id basic",
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
    } else if (anyOfKind(options, TypedWrite) || anyOfKind(options, SingleWrite)) {
        Checks::requireOption(options, QStringLiteral("--data"), &lines);
    } else if (anyOfKind(options, RangeRead) || anyOfKind(options, TextRead)) {
        Checks::requireOption(options, QStringLiteral("--range"), &lines);
    } else if (anyOfKind(options, TextWrite)) {
        Checks::requireOption(options, QStringLiteral("--range"), &lines);
        Checks::requireOption(options, QStringLiteral("--data"), &lines);
    }
    return lines;
}

QString invalidParameters(const OptionPairs &options)
{
    return optionTable().invalidValues(options, DriverConnection::lineKind(options));
}

} // namespace RegisterCommandLine
