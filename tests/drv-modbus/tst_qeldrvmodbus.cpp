// qelDrvModbus run as a program against the device simulator, over TCP on
// loopback and over a pseudo-terminal: what it prints, how it ends, and the
// exact frames the device received.

#include "devsim.h"
#include "filenames.h"
#include "filetargets.h"
#include "programrun.h"
#include "wireframe.h"

#include <QtTest>

#include <functional>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using Words = QVector<quint16>;

namespace {

// The simulator's device address on its serial line; over TCP the driver's
// default unit identifier 255 is used unless a test gives "--address".
constexpr int SerialAddress = 1;
constexpr int TcpUnit = 255;

QByteArray word(int value)
{
    return QByteArray(1, char((value >> 8) & 0xFF)) + char(value & 0xFF);
}

QByteArray readPdu(int function, int start, int count)
{
    return char(function) + word(start) + word(count);
}

QByteArray writePdu(int start, const Words &words)
{
    QByteArray pdu = char(16) + word(start) + word(words.size()) + char(words.size() * 2);
    for (const quint16 w : words)
        pdu += word(w);
    return pdu;
}

QByteArray pdu(const QString &hexBytes)
{
    return QByteArray::fromHex(hexBytes.toLatin1());
}

QString hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

// A frame as the simulator logs it: RTU address, PDU and CRC low byte first;
// TCP header with the transaction identifier of the run's n-th request.
QString frame(bool rtu, const QByteArray &pdu, int transaction = 1, int unit = -1)
{
    if (rtu) {
        const QByteArray adu = char(unit < 0 ? SerialAddress : unit) + pdu;
        // Bit by bit, so that a fault in the table-driven code of the engine
        // or the simulator does not hide itself.
        const quint16 crc = WireFrame::crc16(adu);
        return hex(adu + char(crc & 0xFF) + char(crc >> 8));
    }
    return hex(
        word(transaction) + word(0) + word(pdu.size() + 1) + char(unit < 0 ? TcpUnit : unit) + pdu);
}

QString bar(int percent)
{
    const int half = percent / 2;
    QString cells;
    for (int k = 1; k <= 50; ++k)
        cells += k < half ? '=' : k == half ? '>' : ' ';
    return "[" + cells + "] " + QString::number(percent) + " %\r";
}

// Value of the simulator's "--holding" and "--input" options: "START=W1,W2,...".
QString registers(int start, const Words &words)
{
    QStringList values;
    for (const quint16 w : words)
        values << QString::number(w);
    return QString::number(start) + "=" + values.join(',');
}

Words pattern(int count, int seed)
{
    Words words;
    for (int i = 0; i < count; ++i)
        words << quint16((i * 7919 + seed) & 0xFFFF);
    return words;
}

// The register driver's device: register 0 is an ordinary holding register,
// not the macro register.
class Device : public DevSim
{
public:
    explicit Device(const QStringList &options = {})
        : DevSim(QStringList {"--no-macros"} + options)
    { }
};

// The help text exactly as printed: lines end in "\r\n".
QByteArray expectedHelp()
{
    const QStringList lines {
        "",
        R"(qelDrvModbus.exe --address 1 --port \\.\COM1 --baudrate 115200 --write 1 --load "data.bin")",
        R"(qelDrvModbus.exe --address 1 --port \\.\COM1 --baudrate 115200 --write 1 --load "data.txt" --format HEX)",
        R"(qelDrvModbus.exe --address 1 --port \\.\COM1 --baudrate 115200 --write 1 --data [0x01,0x02])",
        R"(qelDrvModbus.exe --address 1 --port \\.\COM1 --baudrate 115200 --write_u16 0 --data 10)",
        R"(qelDrvModbus.exe --address 1 --port \\.\COM1 --baudrate 115200 --read 1 --range 1000 --save "data.bin")",
        R"(qelDrvModbus.exe --address 1 --port \\.\COM1 --baudrate 115200 --read 1 --range 1000 --save "data.txt" --display HEX)",
        R"(qelDrvModbus.exe --address 1 --port \\.\COM1 --baudrate 115200 --read 1 --range 1000 --display HEX)",
        R"(qelDrvModbus.exe --address 1 --port \\.\COM1 --baudrate 115200 --read_u16 0)",
        "",
        R"(qelDrvModbus.exe --ip 127.0.0.1 --port 502 --write 0 --load "data.bin")",
        R"(qelDrvModbus.exe --ip 127.0.0.1 --port 502 --write 0 --load "data.txt" --format HEX)",
        R"(qelDrvModbus.exe --ip 127.0.0.1 --port 502 --write 0 --data [0x01,0x02])",
        R"(qelDrvModbus.exe --ip 127.0.0.1 --port 502 --write_u16 0 --data 10)",
        R"(qelDrvModbus.exe --ip 127.0.0.1 --port 502 --read 0 --range 1000 --save "data.bin")",
        R"(qelDrvModbus.exe --ip 127.0.0.1 --port 502 --read 0 --range 1000 --save "data.txt" --display HEX)",
        R"(qelDrvModbus.exe --ip 127.0.0.1 --port 502 --read 0 --range 1000 --display HEX)",
        R"(qelDrvModbus.exe --ip 127.0.0.1 --port 502 --read_u16 0)",
        R"(qelDrvModbus.exe --ip 127.0.0.1 --port 502 --read_coils 0 --range 2000)",
        R"(qelDrvModbus.exe --ip 127.0.0.1 --port 502 --write_coils 0 --data [1,0,1])",
        R"(qelDrvModbus.exe --ip 127.0.0.1 --port 502 --write_single 0 --data -1)",
        R"(qelDrvModbus.exe --ip 127.0.0.1 --port 502 --read_f64 0 --order ABCD)",
        R"(qelDrvModbus.exe --ip 127.0.0.1 --port 502 --write_str 0 --range 8 --data "Feeder 1")",
        R"(qelDrvModbus.exe --ip 127.0.0.1 --port 502 --read_device_id basic)",
        "",
        " --address          Device address",
        " --baudrate         Baudrate",
        " --port             Serial port name",
        " --write            Write to address",
        " --write_u16        Write U16 to address",
        " --write_u32        Write U32 to address",
        " --write_s16        Write S16 to address",
        " --write_s32        Write S32 to address",
        " --write_f32        Write F32 to address",
        " --data             Data",
        " --read             Read from address",
        " --read_u16         Read U16 from address",
        " --read_u32         Read U32 from address",
        " --read_f32         Read F32 from address",
        " --read_s16         Read S16 from address",
        " --read_s32         Read S32 from address",
        " --readIn           Read inputs from address",
        " --readIn_u16       Read inputs U16 from address",
        " --readIn_u32       Read inputs U32 from address",
        " --readIn_s16       Read inputs S16 from address",
        " --readIn_s32       Read inputs S32 from address",
        " --readIn_f32       Read inputs F32 from address",
        " --range            How many registers read or write",
        " --save             Save data to",
        " --load             Load data from",
        " --format           Data format HEX, DEC, BIN",
        " --parity           Serial port parity N,E,O",
        " --data_bit         Serial data bits 8",
        " --stop_bit         Serial stop bits 1,2",
        " --display          Display read data as HEX, DEC",
        " --verbose          Verbose mode when 1, off when 0",
        " --fdelay           Frames delay",
        " --ip               IP address",
        " --help             Help",
        " --framing          Framing RTU, ASCII (with --ip: gateway)",
        " --tls              Modbus/TCP Security (TLS), port 802",
        " --cert             TLS client certificate (PEM)",
        " --key              TLS client private key (PEM)",
        " --ca               TLS certificate authorities (PEM)",
        " --read_coils       Read coils from address",
        " --readIn_bits      Read discrete inputs from address",
        " --read_coil        Read one coil from address",
        " --readIn_bit       Read one discrete input from address",
        " --write_coil       Write one coil 0 or 1 to address",
        " --write_coils      Write coils to address",
        " --write_single     Write U16 or S16 with function 6 to address",
        " --read_u64         Read U64 from address",
        " --read_s64         Read S64 from address",
        " --read_f64         Read F64 from address",
        " --readIn_u64       Read inputs U64 from address",
        " --readIn_s64       Read inputs S64 from address",
        " --readIn_f64       Read inputs F64 from address",
        " --write_u64        Write U64 to address",
        " --write_s64        Write S64 to address",
        " --write_f64        Write F64 to address",
        " --order            Byte order of 32/64-bit values ABCD, BADC, CDAB, DCBA",
        " --read_str         Read text from address, --range registers",
        " --readIn_str       Read inputs text from address, --range registers",
        " --write_str        Write text to address, --range registers",
        " --read_device_id   Read identification objects basic, regular, extended",
        " --serve            Keep the line open: one request per line of standard input, each "
        "answered by its output and \"end KEY STATUS\" (KEY from the first line, \"serving "
        "KEY\")",
        "",
    };
    return (lines.join("\r\n") + "\r\n").toUtf8();
}

} // namespace

Q_DECLARE_METATYPE(Words)

class TestQelDrvModbus : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void helpText_data();
    void helpText();
    void refusedBeforeAnythingIsSent_data();
    void refusedBeforeAnythingIsSent();
    void connectOnly_data();
    void connectOnly();

    void typedRead_data();
    void typedRead();
    void typedWrite_data();
    void typedWrite();
    void rangeRead_data();
    void rangeRead();
    void fullRangeRead();
    void blockWrite_data();
    void blockWrite();
    void saveLoadRoundTrip_data();
    void saveLoadRoundTrip();
    void emptyImageWritesNothing_data();
    void emptyImageWritesNothing();
    void bitsValuesAndText_data();
    void bitsValuesAndText();
    void bitImages_data();
    void bitImages();

    void failure_data();
    void failure();
    void failedSaveNamesTheFile();
    void saveTargets_data();
    void saveTargets();
    void hugeLoadRefused_data();
    void hugeLoadRefused();
    void notARegularFileRefused_data();
    void notARegularFileRefused();
    void closedOutputDoesNotCutAWrite();
    void connectionRefused();
    void lineNotCreated_data();
    void lineNotCreated();
    void windowsDeviceName();

private:
    ProgramResult drive(const QStringList &arguments, int timeoutMs = 60000);
    QStringList lineArguments(const DevSim &sim, bool rtu) const;
    QString path(const QString &name) const { return directory->filePath(name); }
    void writeFile(const QString &name, const QByteArray &content);

    std::unique_ptr<QTemporaryDir> directory;
};

void TestQelDrvModbus::initTestCase()
{
    FileNames::keepBytesAsGiven(); // names not UTF-8 reach the driver as bytes
    QVERIFY2(QFileInfo(programPath("qelDrvModbus")).isExecutable(),
        qPrintable(programPath("qelDrvModbus")));
}

void TestQelDrvModbus::init()
{
    directory = std::make_unique<QTemporaryDir>();
    QVERIFY(directory->isValid());
}

ProgramResult TestQelDrvModbus::drive(const QStringList &arguments, int timeoutMs)
{
    ProgramResult result = runProgram(programPath("qelDrvModbus"), arguments, timeoutMs);
    if (!result.started || !result.finished || result.crashed)
        qWarning() << "qelDrvModbus" << arguments << "did not run through:" << result.err;
    return result;
}

QStringList TestQelDrvModbus::lineArguments(const DevSim &sim, bool rtu) const
{
    if (rtu)
        return {"--port", sim.ptyPath(), "--address", QString::number(SerialAddress), "--baudrate",
            "115200"};
    return {"--ip", "127.0.0.1", "--port", QString::number(sim.tcpPort())};
}

void TestQelDrvModbus::writeFile(const QString &name, const QByteArray &content)
{
    QFile file(path(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), qint64(content.size()));
}

static QByteArray readFile(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

static bool startLine(DevSim &sim, bool rtu)
{
    const bool started = rtu ? sim.startRtu() : sim.startTcp();
    if (!started)
        qWarning() << "simulator did not start:" << sim.startError();
    return started;
}

static void addLineRows(const char *name, std::function<void(QTestData &)> fill)
{
    for (const bool rtu : {false, true}) {
        QTestData &row = QTest::newRow(qPrintable(QString(rtu ? "rtu: " : "tcp: ") + name));
        row << rtu;
        fill(row);
    }
}

// --- Help and checks ---------------------------------------------------------

void TestQelDrvModbus::helpText_data()
{
    QTest::addColumn<bool>("withLine");
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("empty command line") << false << QStringList {};
    QTest::newRow("only unknown arguments") << false << QStringList {"-Help", "-h", "x"};
    QTest::newRow("--help") << true << QStringList {"--help"};
    QTest::newRow("--help with an operation")
        << true << QStringList {"--write_u16", "0", "--data", "1", "--help"};
}

void TestQelDrvModbus::helpText()
{
    QFETCH(bool, withLine);
    QFETCH(QStringList, arguments);
    Device sim;
    QVERIFY(startLine(sim, false));
    const ProgramResult result
        = drive((withLine ? lineArguments(sim, false) : QStringList {}) + arguments);
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, expectedHelp());
    QCOMPARE(result.err, QByteArray());
    QCOMPARE(sim.requestLog(), QStringList());
}

void TestQelDrvModbus::refusedBeforeAnythingIsSent_data()
{
    QTest::addColumn<bool>("rtu");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("error");

    QTest::newRow("serial without port and address")
        << true << QStringList {"--read_u16", "0"}
        << QByteArray("Required parameters:\n --port\n --address\n");
    QTest::newRow("block write without data")
        << false << QStringList {"--write", "0"} << QByteArray("Required parameters:\n --load\n");
    QTest::newRow("load format")
        << false << QStringList {"--write", "0", "--load", "x", "--format", "TXT"}
        << QByteArray("Required parameters:\n TXT is not a member of: DEC HEX BIN\n");
    QTest::newRow("typed write without data") << false << QStringList {"--write_s32", "0"}
                                              << QByteArray("Required parameters:\n --data\n");
    QTest::newRow("range read without range")
        << true << QStringList {"--readIn", "0"} << QByteArray("Required parameters:\n --range\n");

    QTest::newRow("parity X") << true << QStringList {"--parity", "X", "--read_u16", "0"}
                              << QByteArray("Invalid parameters:\n X is not a member of: N O E\n");
    QTest::newRow("option without value") << false << QStringList {"--read_u16", "0", "--fdelay"}
                                          << QByteArray("Invalid parameters:\n  is not a number\n");
    QTest::newRow("serial address 248")
        << true << QStringList {"--address", "248", "--read_u16", "0"}
        << QByteArray("Invalid parameters:\n 248 is not a device address: 0..247\n");
    QTest::newRow("tcp address 256")
        << false << QStringList {"--address", "256", "--read_u16", "0"}
        << QByteArray("Invalid parameters:\n 256 is not a device address: 0..247, 255\n");
    QTest::newRow("register 65536 is not register 0")
        << false << QStringList {"--write_u16", "65536", "--data", "1"}
        << QByteArray("Invalid parameters:\n 65536 is not a whole number from 0 to 65535\n");
    QTest::newRow("range past register 65535")
        << false << QStringList {"--read", "65400", "--range", "200"}
        << QByteArray("Invalid parameters:\n 65400 is not a whole number from 0 to 65336\n");
    QTest::newRow("U16 70000 is not 4464")
        << true << QStringList {"--write_u16", "0", "--data", "70000"}
        << QByteArray("Invalid parameters:\n 70000 is not a whole number from 0 to 65535\n");
    QTest::newRow("S16 value")
        << false << QStringList {"--write_s16", "0", "--data", "-32769"}
        << QByteArray("Invalid parameters:\n -32769 is not a whole number from -32768 to 32767\n");
    QTest::newRow("F32 value") << false << QStringList {"--write_f32", "0", "--data", "1e39"}
                               << QByteArray(
                                      "Invalid parameters:\n 1e39 is not a finite F32 value\n");
    QTest::newRow("block data part") << true << QStringList {"--write", "0", "--data", "[1,2,x,4]"}
                                     << QByteArray("Invalid parameters:\n x is not a number\n");
    QTest::newRow("block write past register 65535")
        << false << QStringList {"--write", "65535", "--data", "[1,2]"}
        << QByteArray("Invalid parameters:\n 65535 is not a whole number from 0 to 65534\n");

    QTest::newRow("frame delay -1 is not 65535 ms")
        << false << QStringList {"--read", "0", "--range", "200", "--fdelay", "-1"}
        << QByteArray("Invalid parameters:\n -1 is not a whole number from 0 to 65535\n");
    QTest::newRow("tcp port 0x1F6 is not port 0")
        << false << QStringList {"--port", "0x1F6", "--read_u16", "0"}
        << QByteArray(
               "Invalid parameters:\n 0x1F6 is not a decimal whole number from 1 to 65535\n");
    QTest::newRow("load file missing")
        << false << QStringList {"--write", "0", "--load", "%dir%/missing.bin"}
        << QByteArray(
               "Unable to load data from \"%dir%/missing.bin\":\n No such file or directory\n");
    QTest::newRow("odd binary load file")
        << true << QStringList {"--write", "0", "--load", "%dir%/odd.bin"}
        << QByteArray("Unable to load data from \"%dir%/odd.bin\":\n odd length in bytes: 3\n");
    QTest::newRow("text load file with a bad part")
        << false << QStringList {"--write", "0", "--load", "%dir%/bad.txt", "--format", "HEX"}
        << QByteArray("Unable to load data from \"%dir%/bad.txt\":\n 0x0G is not a number\n");
    QTest::newRow("text load file of 65536 words")
        << false << QStringList {"--write", "0", "--load", "%dir%/words.txt", "--format", "DEC"}
        << QByteArray("Invalid parameters:\n 65536 words do not fit in the 65535 registers of a "
                      "block write\n");
    QTest::newRow("coil value 2")
        << false << QStringList {"--write_coil", "0", "--data", "2"}
        << QByteArray("Invalid parameters:\n 2 is not a whole number from 0 to 1\n");
    QTest::newRow("coils with a 2")
        << true << QStringList {"--write_coils", "0", "--data", "[1,2,0]"}
        << QByteArray("Invalid parameters:\n 2 is not a whole number from 0 to 1\n");
    QTest::newRow("coils loaded with a 2")
        << false
        << QStringList {"--write_coils", "0", "--load", "%dir%/bits.txt", "--format", "DEC"}
        << QByteArray("Invalid parameters:\n value 2 at position 2 is not 0 or 1\n");
    QTest::newRow("coils past address 65535")
        << false << QStringList {"--read_coils", "65000", "--range", "1000"}
        << QByteArray("Invalid parameters:\n 65000 is not a whole number from 0 to 64536\n");
    QTest::newRow("single register 65536")
        << false << QStringList {"--write_single", "0", "--data", "65536"}
        << QByteArray("Invalid parameters:\n 65536 is not a whole number from -32768 to 65535\n");
    QTest::newRow("U64 beyond its range")
        << false << QStringList {"--write_u64", "0", "--data", "18446744073709551616"}
        << QByteArray("Invalid parameters:\n 18446744073709551616 is not a whole number from 0 to "
                      "18446744073709551615\n");
    QTest::newRow("S64 below its range")
        << false << QStringList {"--write_s64", "0", "--data", "-9223372036854775809"}
        << QByteArray("Invalid parameters:\n -9223372036854775809 is not a whole number from "
                      "-9223372036854775808 to 9223372036854775807\n");
    QTest::newRow("F64 infinity") << true << QStringList {"--write_f64", "0", "--data", "inf"}
                                  << QByteArray(
                                         "Invalid parameters:\n inf is not a finite F64 value\n");
    QTest::newRow("F64 past register 65535")
        << false << QStringList {"--read_f64", "65533"}
        << QByteArray("Invalid parameters:\n 65533 is not a whole number from 0 to 65532\n");
    QTest::newRow("order XYZ")
        << false << QStringList {"--read_u32", "0", "--order", "XYZ"}
        << QByteArray("Invalid parameters:\n XYZ is not a member of: ABCD BADC CDAB DCBA\n");
    QTest::newRow("order of a 16-bit value")
        << false << QStringList {"--write_u16", "0", "--data", "1", "--order", "ABCD"}
        << QByteArray("Invalid parameters:\n --order applies to 32- and 64-bit values only (U32, "
                      "S32, F32, U64, S64, F64)\n");
    QTest::newRow("text longer than its registers")
        << true << QStringList {"--write_str", "0", "--range", "2", "--data", "ABCDE"}
        << QByteArray(
               "Invalid parameters:\n the text takes 5 bytes, more than the 4 of 2 registers\n");
    QTest::newRow("text write without range")
        << false << QStringList {"--write_str", "0", "--data", "A"}
        << QByteArray("Required parameters:\n --range\n");
    QTest::newRow("identification of another category")
        << false << QStringList {"--read_device_id", "full"}
        << QByteArray("Invalid parameters:\n full is not a member of: basic regular extended\n");
    QTest::newRow("load file past register 65535")
        << false << QStringList {"--write", "65534", "--load", "%dir%/three.txt", "--format", "DEC"}
        << QByteArray("Invalid parameters:\n 65534 is not a whole number from 0 to 65533\n");
}

void TestQelDrvModbus::refusedBeforeAnythingIsSent()
{
    QFETCH(bool, rtu);
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, error);
    writeFile("odd.bin", QByteArray::fromHex("010002"));
    writeFile("bad.txt", "0x0001 0x0G");
    writeFile("three.txt", "1,2,3");
    writeFile("bits.txt", "1,2");
    writeFile("words.txt", QByteArray("0 ").repeated(65536));
    for (QString &argument : arguments)
        argument.replace("%dir%", directory->path());
    error.replace("%dir%", directory->path().toUtf8());

    Device sim;
    QVERIFY(startLine(sim, rtu));
    QStringList line = lineArguments(sim, rtu);
    if (error.contains("--port"))
        line.clear(); // the serial line options are what is missing
    for (const QString own : {"--address", "--port"}) { // the row gives its own
        const int at = line.indexOf(own);
        if (arguments.contains(own) && at >= 0)
            line.erase(line.begin() + at, line.begin() + at + 2);
    }
    const ProgramResult result = drive(line + arguments);
    QCOMPARE(result.exitCode, ExitFailure);
    QCOMPARE(result.err, error);
    QCOMPARE(result.out, QByteArray());
    QCOMPARE(sim.requestLog(), QStringList());
}

void TestQelDrvModbus::connectOnly_data()
{
    QTest::addColumn<bool>("rtu");
    QTest::newRow("tcp") << false;
    QTest::newRow("rtu") << true;
}

void TestQelDrvModbus::connectOnly()
{
    QFETCH(bool, rtu);
    Device sim;
    QVERIFY(startLine(sim, rtu));
    const ProgramResult result = drive(lineArguments(sim, rtu) + QStringList {"--display", "HEX"});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, QByteArray());
    QCOMPARE(result.err, QByteArray());
    QCOMPARE(sim.requestLog(), QStringList());
}

// --- Reads and writes --------------------------------------------------------

void TestQelDrvModbus::typedRead_data()
{
    QTest::addColumn<bool>("rtu");
    QTest::addColumn<QString>("image"); // simulator option: --holding=... or --input=...
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("pdu");
    QTest::addColumn<QByteArray>("out");

    struct Case
    {
        const char *name;
        const char *registers;
        QStringList arguments;
        QByteArray pdu;
        const char *out;
    };
    const Case cases[] = {
        {"U16", "--holding=100=4660", {"--read_u16", "100"}, readPdu(3, 100, 1), "4660"},
        {"U16 HEX 255", "--holding=0=255", {"--read_u16", "0", "--display", "HEX"},
            readPdu(3, 0, 1), "0xff"},
        {"S16 -2", "--holding=7=65534", {"--read_s16", "7"}, readPdu(3, 7, 1), "-2"},
        {"S16 HEX -2", "--holding=7=65534", {"--read_s16", "7", "--display", "HEX"},
            readPdu(3, 7, 1), "0x-2"},
        {"U32, low word first", "--holding=0=13124,4386", {"--read_u32", "0"}, readPdu(3, 0, 2),
            "287454020"},
        {"U32 HEX", "--holding=0=13124,4386", {"--read_u32", "0", "--display", "HEX"},
            readPdu(3, 0, 2), "0x11223344"},
        {"S32", "--holding=20=61072,65534", {"--read_s32", "20"}, readPdu(3, 20, 2), "-70000"},
        {"S32 HEX", "--holding=20=61072,65534", {"--read_s32", "20", "--display", "HEX"},
            readPdu(3, 20, 2), "0x-11170"},
        {"F32", "--holding=10=0,16320", {"--read_f32", "10"}, readPdu(3, 10, 2), "1.5"},
        {"F32 HEX raw bits", "--holding=10=0,16320", {"--read_f32", "10", "--display", "HEX"},
            readPdu(3, 10, 2), "0x3fc00000"},
        {"F32 at a hex register", "--holding=16=4059,16457", {"--read_f32", "0x10"},
            readPdu(3, 16, 2), "3.14159"},
        {"input U16 65534", "--input=5=65534", {"--readIn_u16", "5"}, readPdu(4, 5, 1), "65534"},
        {"input U16 HEX", "--input=5=65534", {"--readIn_u16", "5", "--display", "HEX"},
            readPdu(4, 5, 1), "0xfffe"},
        {"input S16", "--input=5=65534", {"--readIn_s16", "5"}, readPdu(4, 5, 1), "-2"},
        {"input U32", "--input=65534=1,2", {"--readIn_u32", "65534"}, readPdu(4, 65534, 2),
            "131073"},
        {"input S32 HEX", "--input=3=65535,65535", {"--readIn_s32", "3", "--display", "HEX"},
            readPdu(4, 3, 2), "0x-1"},
        {"input F32", "--input=9=0,49152", {"--readIn_f32", "9"}, readPdu(4, 9, 2), "-2"},
        {"input F32 1e10", "--input=9=761,20501", {"--readIn_f32", "9"}, readPdu(4, 9, 2), "1e+10"},
        {"input F32 HEX", "--input=9=761,20501", {"--readIn_f32", "9", "--display", "HEX"},
            readPdu(4, 9, 2), "0x501502f9"},
        {"input S16 HEX", "--input=5=65534", {"--readIn_s16", "5", "--display", "HEX"},
            readPdu(4, 5, 1), "0x-2"},
        {"input U32 HEX", "--input=65534=1,2", {"--readIn_u32", "65534", "--display", "HEX"},
            readPdu(4, 65534, 2), "0x20001"},
        {"input S32", "--input=3=65535,65535", {"--readIn_s32", "3"}, readPdu(4, 3, 2), "-1"},
        {"DEC display is decimal", "--holding=0=65535", {"--read_u16", "0", "--display", "DEC"},
            readPdu(3, 0, 1), "65535"},
    };
    for (const Case &c : cases) {
        addLineRows(c.name, [&](QTestData &row) {
            row << QString(c.registers) << c.arguments << c.pdu << QByteArray(c.out) + "\r\n";
        });
    }
}

void TestQelDrvModbus::typedRead()
{
    QFETCH(bool, rtu);
    QFETCH(QString, image);
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, pdu);
    QFETCH(QByteArray, out);
    const int equals = image.indexOf('=');
    Device sim({image.left(equals), image.mid(equals + 1)});
    QVERIFY(startLine(sim, rtu));
    const ProgramResult result = drive(lineArguments(sim, rtu) + arguments);
    QCOMPARE(result.err, QByteArray());
    QCOMPARE(result.out, out);
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(sim.requestLog(), QStringList {frame(rtu, pdu)});
}

void TestQelDrvModbus::typedWrite_data()
{
    QTest::addColumn<bool>("rtu");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("start");
    QTest::addColumn<Words>("words");

    struct Case
    {
        const char *name;
        QStringList arguments;
        int start;
        Words words;
    };
    const Case cases[] = {
        {"U16 10", {"--write_u16", "0", "--data", "10"}, 0, {10}},
        {"U16 hex", {"--write_u16", "300", "--data", "0xBEEF"}, 300, {0xBEEF}},
        {"S16 -2", {"--write_s16", "3", "--data", "-2"}, 3, {0xFFFE}},
        {"U32 0x11223344", {"--write_u32", "0", "--data", "0x11223344"}, 0, {0x3344, 0x1122}},
        {"S32 -70000", {"--write_s32", "40", "--data", "-70000"}, 40, {0xEE90, 0xFFFE}},
        {"F32 1,5 at 10", {"--write_f32", "10", "--data", "1,5"}, 10, {0x0000, 0x3FC0}},
        {"F32 at the last pair", {"--write_f32", "65534", "--data", "-2"}, 65534, {0, 0xC000}},
    };
    for (const Case &c : cases)
        addLineRows(c.name, [&](QTestData &row) { row << c.arguments << c.start << c.words; });
}

void TestQelDrvModbus::typedWrite()
{
    QFETCH(bool, rtu);
    QFETCH(QStringList, arguments);
    QFETCH(int, start);
    QFETCH(Words, words);
    Device sim({"--holding", registers(start, Words(words.size(), 0x5555))});
    QVERIFY(startLine(sim, rtu));
    const ProgramResult result = drive(lineArguments(sim, rtu) + arguments);
    QCOMPARE(result.err, QByteArray());
    QCOMPARE(result.out, (bar(0) + bar(100)).toUtf8());
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(sim.requestLog(), QStringList {frame(rtu, writePdu(start, words))});
    for (int i = 0; i < words.size(); ++i)
        QCOMPARE(sim.holding(start + i), words.at(i));
}

void TestQelDrvModbus::rangeRead_data()
{
    QTest::addColumn<bool>("rtu");
    QTest::addColumn<int>("function");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QList<int>>("percents");

    addLineRows("250 from 0 in 120, 120, 10", [](QTestData &row) {
        row << 3 << 0 << 250 << QStringList {} << QList<int> {33, 66, 100};
    });
    addLineRows("inputs, decimal, no pause", [](QTestData &row) {
        row << 4 << 1000 << 121 << QStringList {"--display", "DEC", "--fdelay", "0"}
            << QList<int> {50, 100};
    });
    addLineRows("hex display, one request", [](QTestData &row) {
        row << 3 << 65415 << 120 << QStringList {"--display", "HEX"} << QList<int> {100};
    });
    addLineRows(
        "range 0", [](QTestData &row) { row << 3 << 5 << 0 << QStringList {} << QList<int> {}; });
}

void TestQelDrvModbus::rangeRead()
{
    QFETCH(bool, rtu);
    QFETCH(int, function);
    QFETCH(int, start);
    QFETCH(int, count);
    QFETCH(QStringList, options);
    QFETCH(QList<int>, percents);
    const Words words = pattern(qMax(count, 1), start);
    const QString table = function == 3 ? "--holding" : "--input";
    Device sim({table, registers(start, words)});
    QVERIFY(startLine(sim, rtu));

    const QString operation = function == 3 ? "--read" : "--readIn";
    const ProgramResult result = drive(lineArguments(sim, rtu)
        + QStringList {operation, QString::number(start), "--range", QString::number(count)}
        + options);
    QCOMPARE(result.err, QByteArray());
    QCOMPARE(result.exitCode, 0);

    QStringList frames;
    for (int done = 0; done < count; done += 120)
        frames << frame(
            rtu, readPdu(function, start + done, qMin(120, count - done)), frames.size() + 1);
    QCOMPARE(sim.requestLog(), frames);

    QString out = bar(0);
    for (const int percent : percents)
        out += bar(percent);
    QStringList values;
    const bool decimal = options.contains("DEC");
    for (int i = 0; i < count; ++i)
        values << (decimal ? QString::number(words.at(i))
                           : "0x" + QString("%1").arg(words.at(i), 4, 16, QChar('0')).toUpper());
    out += "\n" + values.join(',');
    QCOMPARE(QString::fromUtf8(result.out), out);
}

void TestQelDrvModbus::fullRangeRead()
{
    const Words words = pattern(65535, 3);
    const QString image = path("image.bin");
    QFile file(image);
    QVERIFY(file.open(QIODevice::WriteOnly));
    for (const quint16 w : words)
        file.write(QByteArray(1, char(w & 0xFF)) + char(w >> 8));
    file.close();
    Device sim({"--holding-file", image});
    QVERIFY(startLine(sim, false));
    const ProgramResult result = drive(lineArguments(sim, false)
        + QStringList {
            "--read", "0", "--range", "65535", "--fdelay", "0", "--save", path("all.bin")});
    QCOMPARE(result.err, QByteArray());
    QCOMPARE(result.exitCode, 0);
    const QStringList log = sim.requestLog();
    QCOMPARE(log.size(), 547);
    QCOMPARE(log.last(), frame(false, readPdu(3, 546 * 120, 15), 547));
    QVERIFY(result.out.endsWith(bar(100).toUtf8()));
    QByteArray expected;
    for (const quint16 w : words)
        expected += char(w & 0xFF) + QByteArray(1, char(w >> 8));
    QCOMPARE(readFile(path("all.bin")), expected);
}

void TestQelDrvModbus::blockWrite_data()
{
    QTest::addColumn<bool>("rtu");
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("data");
    QTest::addColumn<Words>("words");

    addLineRows("[1,2,3] at 5", [](QTestData &row) { row << 5 << "[1,2,3]" << Words {1, 2, 3}; });
    addLineRows("[1, 2]: blanks separate", [](QTestData &row) {
        row << 5 << "[1, 2]" << Words {1, 2};
    });
    addLineRows("help example", [](QTestData &row) { row << 1 << "[0x01,0x02]" << Words {1, 2}; });
    QStringList many;
    for (const quint16 w : pattern(250, 11))
        many << QString::number(w);
    addLineRows("250 words in 120, 120, 10",
        [&](QTestData &row) { row << 100 << many.join(',') << pattern(250, 11); });
    addLineRows("up to the last register", [](QTestData &row) {
        row << 65533 << "7 8 9" << Words {7, 8, 9};
    });
}

void TestQelDrvModbus::blockWrite()
{
    QFETCH(bool, rtu);
    QFETCH(int, start);
    QFETCH(QString, data);
    QFETCH(Words, words);
    const int untouched = qMin(int(words.size()) + 1, 65536 - start);
    Device sim({"--holding", registers(start, Words(untouched, 0x5555))});
    QVERIFY(startLine(sim, rtu));
    const ProgramResult result = drive(
        lineArguments(sim, rtu) + QStringList {"--write", QString::number(start), "--data", data});
    QCOMPARE(result.err, QByteArray());
    QCOMPARE(result.exitCode, 0);

    QStringList frames;
    QString out = bar(0);
    const int total = (words.size() + 119) / 120;
    for (int done = 0; done < words.size(); done += 120) {
        frames << frame(rtu, writePdu(start + done, words.mid(done, 120)), frames.size() + 1);
        out += bar(frames.size() * 100 / total);
    }
    QCOMPARE(sim.requestLog(), frames);
    QCOMPARE(QString::fromUtf8(result.out), out);
    for (int i = 0; i < words.size(); ++i)
        QCOMPARE(sim.holding(start + i), words.at(i));
    if (untouched > words.size())
        QCOMPARE(sim.holding(start + words.size()), quint16(0x5555));
}

void TestQelDrvModbus::saveLoadRoundTrip_data()
{
    QTest::addColumn<bool>("rtu");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("format");

    addLineRows("binary", [](QTestData &row) {
        row << ""
            << "";
    });
    addLineRows("binary, format BIN", [](QTestData &row) {
        row << ""
            << "BIN";
    });
    addLineRows("HEX text", [](QTestData &row) {
        row << "HEX"
            << "HEX";
    });
    addLineRows("DEC text", [](QTestData &row) {
        row << "DEC"
            << "DEC";
    });
}

void TestQelDrvModbus::saveLoadRoundTrip()
{
    QFETCH(bool, rtu);
    QFETCH(QString, display);
    QFETCH(QString, format);
    const Words words = pattern(300, 5);
    Device sim({"--holding", registers(0, words)});
    QVERIFY(startLine(sim, rtu));

    const QString image = path("saved/deeper/image");
    QStringList save {"--read", "0", "--range", "300", "--fdelay", "0", "--save", image};
    if (!display.isEmpty())
        save << "--display" << display;
    ProgramResult result = drive(lineArguments(sim, rtu) + save);
    QCOMPARE(result.err, QByteArray());
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(QString::fromUtf8(result.out), bar(0) + bar(33) + bar(66) + bar(100));

    QByteArray expected;
    QStringList texts;
    for (const quint16 w : words) {
        expected += char(w & 0xFF) + QByteArray(1, char(w >> 8));
        texts << (display == "DEC" ? QString::number(w)
                                   : "0x" + QString("%1").arg(w, 4, 16, QChar('0')).toUpper());
    }
    if (!display.isEmpty())
        expected = texts.join(',').toUtf8();
    QCOMPARE(readFile(image), expected);

    QStringList load {"--write", "1000", "--load", image};
    if (!format.isEmpty())
        load << "--format" << format;
    result = drive(lineArguments(sim, rtu) + load);
    QCOMPARE(result.err, QByteArray());
    QCOMPARE(result.exitCode, 0);
    const QStringList log = sim.requestLog();
    QCOMPARE(log.size(), 3 + 3);
    QCOMPARE(log.at(3), frame(rtu, writePdu(1000, words.mid(0, 120))));
    QCOMPARE(log.at(5), frame(rtu, writePdu(1240, words.mid(240)), 3));
    for (int i = 0; i < words.size(); ++i)
        QCOMPARE(sim.holding(1000 + i), words.at(i));
}

void TestQelDrvModbus::emptyImageWritesNothing_data()
{
    QTest::addColumn<QString>("format");
    QTest::newRow("binary") << "BIN";
    QTest::newRow("text") << "DEC";
}

void TestQelDrvModbus::emptyImageWritesNothing()
{
    QFETCH(QString, format);
    writeFile("empty", QByteArray());
    Device sim;
    QVERIFY(startLine(sim, false));
    const ProgramResult result = drive(lineArguments(sim, false)
        + QStringList {"--write", "0", "--load", path("empty"), "--format", format});
    QCOMPARE(result.err, QByteArray());
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(QString::fromUtf8(result.out), bar(0));
    QCOMPARE(sim.requestLog(), QStringList());
}

// --- Failures ----------------------------------------------------------------

// Coils and discrete inputs, single writes, 64-bit values in their orders,
// text and identification objects: what the driver prints and the exact
// requests the device received.
void TestQelDrvModbus::bitsValuesAndText_data()
{
    QTest::addColumn<bool>("rtu");
    QTest::addColumn<QStringList>("simulator");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QStringList>("pdus"); // the requests' protocol data units in hex

    struct Case
    {
        const char *name;
        QStringList simulator;
        QStringList arguments;
        QString out;
        QStringList pdus;
    };
    const QString written = bar(0) + bar(100);
    QStringList alternating;
    for (int i = 0; i < 2000; ++i)
        alternating << QString::number(i % 2);
    const QString longObject(200, 'x');
    const Case cases[] = {
        {"coils, a range ending inside a byte", {"--coils", "0=1011001101"},
            {"--read_coils", "0", "--range", "10"}, written + "\n1,0,1,1,0,0,1,1,0,1",
            {"01 0000 000A"}},
        {"2001 coils in requests of 2000 and 1", {"--coils", "2000=1"},
            {"--read_coils", "0", "--range", "2001", "--fdelay", "0"},
            bar(0) + bar(50) + bar(100) + "\n" + QString("0,").repeated(2000) + "1",
            {"01 0000 07D0", "01 07D0 0001"}},
        {"discrete inputs shown as 0 and 1 with HEX", {"--discrete", "2=110"},
            {"--readIn_bits", "2", "--range", "3", "--display", "HEX"}, written + "\n1,1,0",
            {"02 0002 0003"}},
        {"one coil", {"--coils", "2=1"}, {"--read_coil", "2"}, "1\r\n", {"01 0002 0001"}},
        {"one discrete input, HEX", {"--discrete", "65535=1"},
            {"--readIn_bit", "65535", "--display", "HEX"}, "1\r\n", {"02 FFFF 0001"}},
        {"coil on", {}, {"--write_coil", "7", "--data", "1"}, written, {"05 0007 FF00"}},
        {"coil off at the last address", {}, {"--write_coil", "65535", "--data", "0"}, written,
            {"05 FFFF 0000"}},
        {"2000 coils in requests of 1968 and 32", {},
            {"--write_coils", "0", "--data", alternating.join(',')}, bar(0) + bar(50) + bar(100),
            {"0F 0000 07B0 F6" + QString(" AA").repeated(246), "0F 07B0 0020 04 AA AA AA AA"}},
        {"single register -1", {}, {"--write_single", "5", "--data", "-1"}, written,
            {"06 0005 FFFF"}},
        {"single register 0x1234", {}, {"--write_single", "0", "--data", "0x1234"}, written,
            {"06 0000 1234"}},
        {"U32 in BADC", {}, {"--write_u32", "0", "--data", "0x11223344", "--order", "BADC"},
            written, {"10 0000 0002 04 2211 4433"}},
        {"U64 in ABCD", {},
            {"--write_u64", "10", "--data", "0x1122334455667788", "--order", "ABCD"}, written,
            {"10 000A 0004 08 1122 3344 5566 7788"}},
        {"U64 in CDAB, the default", {}, {"--write_u64", "10", "--data", "0x1122334455667788"},
            written, {"10 000A 0004 08 7788 5566 3344 1122"}},
        {"S64, the most negative", {}, {"--write_s64", "10", "--data", "-9223372036854775808"},
            written, {"10 000A 0004 08 0000 0000 0000 8000"}},
        {"F64 1.5 in DCBA", {}, {"--write_f64", "10", "--data", "1,5", "--order", "DCBA"}, written,
            {"10 000A 0004 08 0000 0000 0000 F83F"}},
        {"S64, the most negative in HEX", {"--holding", "10=0,0,0,0x8000"},
            {"--read_s64", "10", "--display", "HEX"}, "0x-8000000000000000\r\n", {"03 000A 0004"}},
        {"S64, the most negative", {"--holding", "10=0,0,0,0x8000"}, {"--read_s64", "10"},
            "-9223372036854775808\r\n", {"03 000A 0004"}},
        {"U64, the largest input", {"--input", "0=65535,65535,65535,65535"}, {"--readIn_u64", "0"},
            "18446744073709551615\r\n", {"04 0000 0004"}},
        {"F64 NaN in ABCD", {"--holding", "10=0x7FF8,0,0,0"},
            {"--read_f64", "10", "--order", "ABCD"}, "nan\r\n", {"03 000A 0004"}},
        {"F64 minus infinity", {"--holding", "10=0,0,0,0xFFF0"}, {"--read_f64", "10"}, "-inf\r\n",
            {"03 000A 0004"}},
        {"F64 0.1 with every digit it needs", {"--input", "0=0x3FB9,0x9999,0x9999,0x999A"},
            {"--readIn_f64", "0", "--order", "ABCD"}, "0.1\r\n", {"04 0000 0004"}},
        {"F64 raw bits in HEX", {"--input", "0=0x3FB9,0x9999,0x9999,0x999A"},
            {"--readIn_f64", "0", "--order", "ABCD", "--display", "HEX"}, "0x3fb999999999999a\r\n",
            {"04 0000 0004"}},
        {"F32 in ABCD", {"--holding", "0=0x3FC0,0"}, {"--read_f32", "0", "--order", "ABCD"},
            "1.5\r\n", {"03 0000 0002"}},
        {"text padded with NULs", {}, {"--write_str", "10", "--range", "3", "--data", "AB"},
            written, {"10 000A 0003 06 4142 0000 0000"}},
        {"text of every byte, no NUL", {"--holding", "10=0x4142,0x4344"},
            {"--read_str", "10", "--range", "2"}, "ABCD\r\n", {"03 000A 0002"}},
        {"text up to the first NUL", {"--holding", "10=0x4100,0x4344"},
            {"--read_str", "10", "--range", "2"}, "A\r\n", {"03 000A 0002"}},
        {"text with a control character and a byte not UTF-8",
            {"--input", "10=0x411B,0xFF42,0xC3B3"}, {"--readIn_str", "10", "--range", "3"},
            "A\\x1B\\xFFB\u00F3\r\n", {"04 000A 0003"}},
        {"text of 121 registers in two requests",
            {"--holding", "0=" + QString("0x5858,").repeated(121).chopped(1)},
            {"--read_str", "0", "--range", "121", "--fdelay", "0"}, QString(242, 'X') + "\r\n",
            {"03 0000 0078", "03 0078 0001"}},
        {"identification objects", {"--id-object", "0x80=Priv", "--id-object", "3=\x1B[2J"},
            {"--read_device_id", "extended"},
            "VendorName: qel\r\nProductCode: qelDevSim\r\nMajorMinorRevision: 1.0\r\n"
            "VendorUrl: \\x1B[2J\r\n0x80: Priv\r\n",
            {"2B 0E 03 00"}},
        {"identification objects in two replies",
            {"--id-object", "0x80=" + longObject, "--id-object", "0x81=" + longObject},
            {"--read_device_id", "extended"},
            "VendorName: qel\r\nProductCode: qelDevSim\r\nMajorMinorRevision: 1.0\r\n0x80: "
                + longObject + "\r\n0x81: " + longObject + "\r\n",
            {"2B 0E 03 00", "2B 0E 03 81"}},
        {"basic identification objects only", {"--id-object", "0x80=Priv"},
            {"--read_device_id", "basic"},
            "VendorName: qel\r\nProductCode: qelDevSim\r\nMajorMinorRevision: 1.0\r\n",
            {"2B 0E 01 00"}},
    };
    for (const Case &c : cases)
        addLineRows(
            c.name, [&](QTestData &row) { row << c.simulator << c.arguments << c.out << c.pdus; });
}

void TestQelDrvModbus::bitsValuesAndText()
{
    QFETCH(bool, rtu);
    QFETCH(QStringList, simulator);
    QFETCH(QStringList, arguments);
    QFETCH(QString, out);
    QFETCH(QStringList, pdus);
    Device sim(simulator);
    QVERIFY(startLine(sim, rtu));
    const ProgramResult result = drive(lineArguments(sim, rtu) + arguments);
    QCOMPARE(result.err, QByteArray());
    QCOMPARE(QString::fromUtf8(result.out), out);
    QCOMPARE(result.exitCode, 0);
    QStringList frames;
    for (const QString &text : pdus)
        frames << frame(rtu, pdu(QString(text).remove(' ')), frames.size() + 1);
    QCOMPARE(sim.requestLog(), frames);
}

// Coils saved as 0 and 1 in the layouts of register images, and loaded back.
void TestQelDrvModbus::bitImages_data()
{
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("image");
    QTest::newRow("binary") << ""
                            << "" << QByteArray::fromHex("0100000001000100");
    QTest::newRow("DEC") << "DEC"
                         << "DEC" << QByteArray("1,0,1,1");
    QTest::newRow("HEX is 0 and 1 too") << "HEX"
                                        << "HEX" << QByteArray("1,0,1,1");
}

void TestQelDrvModbus::bitImages()
{
    QFETCH(QString, display);
    QFETCH(QString, format);
    QFETCH(QByteArray, image);
    Device sim({"--coils", "3=1011"});
    QVERIFY(startLine(sim, false));
    QStringList save {"--read_coils", "3", "--range", "4", "--save", path("coils")};
    if (!display.isEmpty())
        save << "--display" << display;
    const ProgramResult saved = drive(lineArguments(sim, false) + save);
    QCOMPARE(saved.exitCode, 0);
    QCOMPARE(readFile(path("coils")), image);

    QStringList load {"--write_coils", "100", "--load", path("coils")};
    if (!format.isEmpty())
        load << "--format" << format;
    const ProgramResult loaded = drive(lineArguments(sim, false) + load);
    QCOMPARE(loaded.exitCode, 0);
    const ProgramResult back
        = drive(lineArguments(sim, false) + QStringList {"--read_coils", "100", "--range", "4"});
    QVERIFY2(back.out.endsWith("\n1,0,1,1"), back.out.constData());
    QCOMPARE(sim.requestLog().value(1), frame(false, pdu("0F00640004010D")));
}

void TestQelDrvModbus::failure_data()
{
    QTest::addColumn<bool>("rtu");
    QTest::addColumn<QStringList>("simulator");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("out");
    QTest::addColumn<int>("requests"); // requests that reached the simulator
    QTest::addColumn<QString>("trace"); // in the output of a run with --verbose 1
    QTest::addColumn<QString>("cause"); // the one line on standard error, a regular expression

    const QStringList read {"--read_u16", "0"};
    addLineRows("exception 2 on a read", [&](QTestData &row) {
        row << QStringList {"--fault", "exception=2"} << read << "0\r\n"
            << 1 << "Illegal data address"
            << "Illegal data address";
    });
    addLineRows("exception 2 on a HEX read", [&](QTestData &row) {
        row << QStringList {"--fault", "exception=2"}
            << QStringList {"--read_f32", "0", "--display", "HEX"} << "0x0\r\n"
            << 1 << "Illegal data address"
            << "Illegal data address";
    });
    addLineRows("exception 12", [&](QTestData &row) {
        row << QStringList {"--fault", "exception=12"} << QStringList {"--readIn_s32", "4"}
            << "0\r\n"
            << 1 << "Invalid exception code"
            << "Invalid exception code";
    });
    addLineRows("silence ends after the time-out", [&](QTestData &row) {
        row << QStringList {"--fault", "silent"} << read << "0\r\n"
            << 1 << "timed out"
            << "The device did not answer within 2000 ms";
    });
    addLineRows("stall in mid-frame", [&](QTestData &row) {
        row << QStringList {"--fault", "stall=4000"} << read << "0\r\n"
            << 1 << "timed out"
            << "The device's reply was incomplete after \\d+ ms";
    });
    // 245 bytes, each within the byte time-out, would take 98 s.
    addLineRows("a reply that trickles ends with a time-out", [&](QTestData &row) {
        row << QStringList {"--fault", "trickle=400"}
            << QStringList {"--read", "0", "--range", "120", "--fdelay", "0"} << bar(0) << 1
            << "timed out"
            << "The device's reply was incomplete after \\d+ ms";
    });
    addLineRows("range read stops at the failed request", [&](QTestData &row) {
        row << QStringList {"--fault", "exception=4,request=2"}
            << QStringList {"--read", "0", "--range", "250", "--fdelay", "0"} << bar(0) + bar(33)
            << 2 << "Slave device or server failure"
            << "Slave device or server failure";
    });
    addLineRows("write failure", [&](QTestData &row) {
        row << QStringList {"--fault", "exception=3"}
            << QStringList {"--write_u32", "0", "--data", "5"} << bar(0) << 1
            << "Illegal data value"
            << "Illegal data value";
    });
    addLineRows("block write stops at the failed request", [&](QTestData &row) {
        row << QStringList {"--fault", "exception=6,request=2"}
            << QStringList {"--write", "0", "--data", QString("1,").repeated(300).chopped(1)}
            << bar(0) + bar(33) << 2 << "Slave device or server is busy"
            << "Slave device or server is busy";
    });
    addLineRows("register write echoed with another value", [&](QTestData &row) {
        row << QStringList {"--fault", "bad-echo"}
            << QStringList {"--write_single", "0", "--data", "5"} << bar(0) << 1
            << "Value not corresponding to the request (0x4 != 0x5)"
            << "Invalid data";
    });
    addLineRows("coil write echoed with another value", [&](QTestData &row) {
        row << QStringList {"--fault", "bad-echo"}
            << QStringList {"--write_coil", "3", "--data", "1"} << bar(0) << 1
            << "Value not corresponding to the request (0xFF01 != 0xFF00)"
            << "Invalid data";
    });
    addLineRows("coils write echoed with another quantity", [&](QTestData &row) {
        row << QStringList {"--fault", "bad-echo"}
            << QStringList {"--write_coils", "0", "--data", "[1,0,1]"} << bar(0) << 1
            << "Quantity not corresponding to the request (2 != 3)"
            << "Invalid data";
    });
    addLineRows("coils with a byte count beyond their quantity", [&](QTestData &row) {
        row << QStringList {"--fault", "length"}
            << QStringList {"--read_coils", "0", "--range", "10"} << bar(0) << 1
            << "Message length not corresponding to the computed length"
            << "Invalid data";
    });
    addLineRows("exception on coils", [&](QTestData &row) {
        row << QStringList {"--fault", "exception=2"} << QStringList {"--read_coil", "9"} << "0\r\n"
            << 1 << "Illegal data address"
            << "Illegal data address";
    });
    addLineRows("identification objects without end", [&](QTestData &row) {
        row << QStringList {"--fault", "more-follows"} << QStringList {"--read_device_id", "basic"}
            << "" << 64 << "[2B][0E][01][3F]"
            << "The device still has more identification objects to follow after 64 requests";
    });
    addLineRows("identification refused", [&](QTestData &row) {
        row << QStringList {"--fault", "exception=1"} << QStringList {"--read_device_id", "regular"}
            << "" << 1 << "Illegal function"
            << "Illegal function";
    });
    addLineRows("identification that trickles ends with a time-out", [&](QTestData &row) {
        row << QStringList {"--fault", "trickle=400"} << QStringList {"--read_device_id", "basic"}
            << "" << 1 << "timed out"
            << "The device's reply was incomplete after \\d+ ms";
    });
    QTest::newRow("rtu: reply from another address")
        << true << QStringList {"--fault", "other-address=5"} << read << "0\r\n"
        << 1 << "The responding slave 5 isn't the requested slave 1"
        << "Response not from requested slave";
    QTest::newRow("rtu: wrong CRC") << true << QStringList {"--fault", "bad-crc"} << read << "0\r\n"
                                    << 1 << "ERROR CRC received 0x"
                                    << "Invalid CRC";
    QTest::newRow("tcp: wrong transaction identifier")
        << false << QStringList {"--fault", "bad-transaction"} << read << "0\r\n"
        << 1 << "Invalid transaction ID received 0x0 (not 0x1)"
        << "Invalid data";
}

void TestQelDrvModbus::failure()
{
    QFETCH(bool, rtu);
    QFETCH(QStringList, simulator);
    QFETCH(QStringList, arguments);
    QFETCH(QString, out);
    QFETCH(int, requests);
    QFETCH(QString, trace);
    QFETCH(QString, cause);

    for (const bool verbose : {false, true}) {
        Device sim(simulator);
        QVERIFY(startLine(sim, rtu));
        const QStringList extra = verbose ? QStringList {"--verbose", "1"} : QStringList {};
        const ProgramResult result = drive(lineArguments(sim, rtu) + arguments + extra);
        QCOMPARE(result.exitCode, ExitFailure);
        QCOMPARE(sim.requestLog().size(), requests);
        // The cause is the last line, after the engine's diagnostics if any.
        const QRegularExpression lastLine("(^|\n)" + cause + "\n$");
        if (!verbose) {
            QCOMPARE(QString::fromUtf8(result.out), out);
            QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(cause + "\n"))
                         .match(QString::fromUtf8(result.err))
                         .hasMatch(),
                result.err.constData());
        } else {
            const QString all = QString::fromUtf8(result.out + result.err);
            QVERIFY2(all.contains(trace), qPrintable(all));
            QVERIFY2(
                lastLine.match(QString::fromUtf8(result.err)).hasMatch(), result.err.constData());
        }
    }
}

void TestQelDrvModbus::failedSaveNamesTheFile()
{
    writeFile("plain", "keep");
    Device sim({"--holding", "0=1,2,3"});
    QVERIFY(startLine(sim, false));
    const QString target = path("plain/image.bin");
    const ProgramResult result = drive(lineArguments(sim, false)
        + QStringList {"--read", "0", "--range", "3", "--fdelay", "0", "--save", target});
    QCOMPARE(result.exitCode, ExitFailure);
    QCOMPARE(QString::fromUtf8(result.out), bar(0) + bar(100));
    QVERIFY2(result.err.startsWith("Unable to save data to \"" + target.toUtf8() + "\":\n "),
        result.err.constData());
    QCOMPARE(readFile(path("plain")), QByteArray("keep"));
}

void TestQelDrvModbus::saveTargets_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("reason"); // empty: the save succeeds
    QTest::addColumn<QString>("kindAfter");
    QTest::newRow("FIFO read by another process") << "fifo"
                                                  << ""
                                                  << "fifo";
    QTest::newRow("/dev/stdout into a pipe") << "/dev/stdout"
                                             << ""
                                             << "";
    QTest::newRow("name that is not UTF-8") << "image-\xb3\xff.bin"
                                            << ""
                                            << "file";
    QTest::newRow("private null device") << "null"
                                         << ""
                                         << "character device";
    QTest::newRow("private full device") << "full"
                                         << "No space left on device"
                                         << "character device";
}

void TestQelDrvModbus::saveTargets()
{
    QFETCH(QString, target);
    QFETCH(QString, reason);
    QFETCH(QString, kindAfter);
    const QByteArray image("\x01\x00\xab\x00\xff\xff", 6);
    Device sim({"--holding", "0=1,171,65535"});
    QVERIFY(startLine(sim, false));

    QString file = target.startsWith('/') ? target : path(FileNames::fromBytes(target.toLatin1()));
    QProcess reader; // reads the FIFO into a file
    if (target == "fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        reader.setStandardOutputFile(path("received"));
        reader.start("cat", {file});
        QVERIFY(reader.waitForStarted(10000));
    } else if (target == "null" || target == "full") {
        if (!makeCharacterDevice(file, MemoryDevices, target == "null" ? NullMinor : FullMinor))
            QSKIP("making a device node needs root");
    }

    const ProgramResult result = drive(lineArguments(sim, false)
        + QStringList {"--read", "0", "--range", "3", "--fdelay", "0", "--save", file});
    const QByteArray bars = (bar(0) + bar(100)).toUtf8();
    if (!reason.isEmpty()) {
        QCOMPARE(result.exitCode, ExitFailure);
        QVERIFY2(result.err.contains(reason.toUtf8()), result.err.constData());
    } else {
        QCOMPARE(result.err, QByteArray());
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, target == "/dev/stdout" ? bars + image : bars);
    }
    if (target == "fifo") {
        QVERIFY(reader.waitForFinished(30000));
        QCOMPARE(readFile(path("received")), image);
    } else if (kindAfter == "file") {
        const QByteArray bytes = QFile::encodeName(directory->path()) + '/' + target.toLatin1();
        QCOMPARE(::access(bytes.constData(), F_OK), 0);
        QCOMPARE(readFile(file), image);
    }
    if (!kindAfter.isEmpty())
        QCOMPARE(fileKind(file), kindAfter);
}

void TestQelDrvModbus::hugeLoadRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("size"); // as the message gives it
    QTest::newRow("2 GiB sparse binary") << "sparse"
                                         << "BIN"
                                         << "2147483648 bytes";
    QTest::newRow("2 GiB sparse text") << "sparse"
                                       << "HEX"
                                       << "2147483648 bytes";
    QTest::newRow("1 GiB file") << "allocated"
                                << "DEC"
                                << "1073741824 bytes";
}

void TestQelDrvModbus::hugeLoadRefused()
{
    QFETCH(QString, kind);
    QFETCH(QString, format);
    QFETCH(QString, size);
    const QString file = path("huge");
    const QByteArray name = QFile::encodeName(file);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT, 0600);
    QVERIFY(fd >= 0);
    const bool made = kind == "sparse" ? ::ftruncate(fd, off_t(2) << 30) == 0
                                       : ::posix_fallocate(fd, 0, off_t(1) << 30) == 0;
    ::close(fd);
    QVERIFY(made);

    Device sim;
    QVERIFY(startLine(sim, false));
    const ProgramResult result = drive(lineArguments(sim, false)
        + QStringList {"--write", "0", "--load", file, "--format", format});
    QVERIFY(result.finished);
    QCOMPARE(result.exitCode, ExitFailure);
    QCOMPARE(result.out, QByteArray());
    const QString limit = format == "BIN" ? "131070" : "458750";
    QCOMPARE(QString::fromUtf8(result.err),
        "Unable to load data from \"" + file + "\":\n too large: " + size + ", at most " + limit
            + " bytes for 65535 registers\n");
    QCOMPARE(sim.requestLog(), QStringList());
    // The largest child so far held far less than the file.
    struct rusage usage;
    QCOMPARE(::getrusage(RUSAGE_CHILDREN, &usage), 0);
    QVERIFY2(usage.ru_maxrss < 300 * 1024, qPrintable(QString::number(usage.ru_maxrss)));
}

void TestQelDrvModbus::notARegularFileRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("format");
    QTest::newRow("FIFO without a writer") << "fifo"
                                           << "BIN";
    QTest::newRow("FIFO closed without a byte") << "fifo closed"
                                                << "DEC";
    QTest::newRow("FIFO fed without end") << "fifo fed"
                                          << "HEX";
    QTest::newRow("private zero device") << "zero device"
                                         << "BIN";
}

// A block write loads only a regular file: a FIFO held the driver until
// something wrote to it, and one closed at once gave an empty image, so the
// run ended with status 0 having written nothing.
void TestQelDrvModbus::notARegularFileRefused()
{
    QFETCH(QString, kind);
    QFETCH(QString, format);
    const QString file = path("image");
    const NotARegularFile source(file, kind);
    if (!source.isMade())
        QSKIP("making a device node needs root");

    Device sim;
    QVERIFY(startLine(sim, false));
    const ProgramResult result = drive(lineArguments(sim, false)
            + QStringList {"--write", "0", "--load", file, "--format", format},
        30000);
    QVERIFY(result.finished);
    QCOMPARE(result.exitCode, ExitFailure);
    QCOMPARE(result.out, QByteArray());
    QCOMPARE(QString::fromUtf8(result.err),
        "Unable to load data from \"" + file + "\":\n not a regular file\n");
    QCOMPARE(sim.requestLog(), QStringList());
}

// Standard output is a pipe nobody reads any more (qelDrvModbus ... | head):
// the block write still goes to its end.
void TestQelDrvModbus::closedOutputDoesNotCutAWrite()
{
    const Words words = pattern(600, 3);
    QStringList values;
    for (const quint16 w : words)
        values << QString::number(w);
    Device sim;
    QVERIFY(startLine(sim, false));
    const ClosedOutputRun run = runWithClosedOutput(programPath("qelDrvModbus"),
        lineArguments(sim, false)
            + QStringList {"--write", "0", "--data", "[" + values.join(',') + "]"});
    QVERIFY(run.started);
    QVERIFY2(run.exited, qPrintable(QString::number(run.signal)));
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(sim.requestLog().size(), 5);
    for (int i = 0; i < words.size(); ++i)
        QCOMPARE(sim.holding(i), words.at(i));
}

void TestQelDrvModbus::connectionRefused()
{
    quint16 port = 0;
    {
        Device sim;
        QVERIFY(startLine(sim, false));
        port = sim.tcpPort();
    } // stopped: nothing listens on the port any more
    const ProgramResult result
        = drive({"--ip", "127.0.0.1", "--port", QString::number(port), "--read_u16", "0"});
    QCOMPARE(result.exitCode, ExitFailure);
    QCOMPARE(result.out, QByteArray());
    QCOMPARE(result.err, QByteArray("Connection fails: Connection refused\n"));
}

void TestQelDrvModbus::lineNotCreated_data()
{
    QTest::addColumn<bool>("rtu");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("error");

    // The number check reads hexadecimal, the line settings only decimal.
    QTest::newRow("baud rate 0x2580 reads as 0")
        << true << QStringList {"--baudrate", "0x2580"}
        << QByteArray(
               "The baud rate value must not be zero\nUnable to create the Modbus context\n");
    QTest::newRow("empty serial device name")
        << true << QStringList {"--port", ""}
        << QByteArray("The device string is empty\nUnable to create the Modbus context\n");
    QTest::newRow("IP address of 16 characters")
        << false << QStringList {"--ip", "127.000.000.0001"}
        << QByteArray("The IP string has been truncated\nUnable to create the Modbus context\n");
    QTest::newRow("serial device that does not exist")
        << true << QStringList {"--port", "/dev/qel-no-such-line"}
        << QByteArray("Connection fails: No such file or directory\n");
}

void TestQelDrvModbus::lineNotCreated()
{
    QFETCH(bool, rtu);
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, error);
    Device sim;
    QVERIFY(startLine(sim, rtu));
    // The row's line options come first, so they are the ones used.
    const ProgramResult result = drive(
        arguments + lineArguments(sim, rtu) + QStringList {"--write_u16", "0", "--data", "1"});
    QCOMPARE(result.exitCode, ExitFailure);
    QCOMPARE(result.out, QByteArray());
    QCOMPARE(result.err, error);
    QCOMPARE(sim.requestLog(), QStringList());
}

void TestQelDrvModbus::windowsDeviceName()
{
    Device sim({"--holding", "3=777"});
    QVERIFY(startLine(sim, true));
    QVERIFY(sim.ptyPath().startsWith("/dev/"));
    const QString name = "\\\\.\\" + sim.ptyPath().mid(5); // \\.\pts/N opens /dev/pts/N
    const ProgramResult result = drive({"--port", name, "--address", "1", "--read_u16", "3"});
    QCOMPARE(result.err, QByteArray());
    QCOMPARE(result.out, QByteArray("777\r\n"));
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(sim.requestLog(), QStringList {frame(true, readPdu(3, 3, 1))});
}

QTEST_GUILESS_MAIN(TestQelDrvModbus)
#include "tst_qeldrvmodbus.moc"
