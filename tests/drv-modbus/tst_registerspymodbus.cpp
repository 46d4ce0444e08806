// Coils, discrete inputs, single writes, identification objects, 32- and
// 64-bit values in every byte order and text against pymodbus, which shares
// no code with the engine or the simulator: qelDrvModbus against a pymodbus
// device (TCP and RTU), a pymodbus client against qelDevSim, and values
// written by one side with pymodbus's payload builder or decoder and read
// by the other.

#include "devsim.h"
#include "peerprocess.h"
#include "programrun.h"
#include "ptybus.h"

#include <QtTest>

namespace {

const QString Python = QStringLiteral("/usr/bin/python3");

QString script()
{
    return QStringLiteral(QEL_PYMODBUS_REGISTERS);
}

// 0 and 1 joined by commas, bit i from first on set when pattern(i).
QString bitList(int first, int count, int every)
{
    QStringList bits;
    for (int i = first; i < first + count; ++i)
        bits << (i % every == 0 ? QStringLiteral("1") : QStringLiteral("0"));
    return bits.join(',');
}

// A pymodbus device and the driver's options that reach it.
struct PymodbusDevice
{
    bool start(bool rtu)
    {
        QStringList arguments {script(), "server", rtu ? "rtu" : "tcp"};
        if (rtu) {
            if (!bus.start())
                return false;
            arguments << bus.deviceLine();
        }
        server.start(Python, arguments);
        const QString ready = server.waitForLine("ready");
        if (ready.isEmpty())
            return false;
        connection = rtu ? QStringList {"--port", bus.masterLine(), "--baudrate", "115200"}
                         : QStringList {"--ip", "127.0.0.1", "--port", ready.section(' ', 1)};
        connection << "--address"
                   << "1";
        return true;
    }

    PtyBus bus;
    PeerProcess server;
    QStringList connection;
};

struct TypedValue
{
    const char *type; // the driver's name, pymodbus's in lower case
    QString value; // as the driver prints it, and Python's repr() of the same value
};

const QStringList orders {"ABCD", "BADC", "CDAB", "DCBA"};

} // namespace

Q_DECLARE_METATYPE(TypedValue)

class TestRegistersPymodbus : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void driverAgainstPymodbus_data();
    void driverAgainstPymodbus();
    void pymodbusAgainstSimulator();
    void valuesInEveryOrder_data();
    void valuesInEveryOrder();
};

void TestRegistersPymodbus::initTestCase()
{
    QProcess probe;
    probe.start(Python, {"-c", "import pymodbus"});
    QVERIFY(probe.waitForFinished(30000));
    if (probe.exitCode() != 0)
        QSKIP("Debian's python3-pymodbus is not installed (scripts/setup.sh installs it)");
}

void TestRegistersPymodbus::driverAgainstPymodbus_data()
{
    QTest::addColumn<bool>("rtu");
    QTest::newRow("TCP") << false;
    QTest::newRow("RTU") << true;
}

// The device holds coil N on for N a multiple of 3, discrete input N for a
// multiple of 5 (up to 64999), holding register N = N.
void TestRegistersPymodbus::driverAgainstPymodbus()
{
    QFETCH(bool, rtu);
    PymodbusDevice device;
    QVERIFY2(device.start(rtu), qPrintable(device.bus.errorString() + device.server.errors()));

    QStringList coils;
    for (int i = 0; i < 2000; ++i)
        coils << QString::number(i % 2);
    const QList<QPair<QStringList, QString>> steps {
        {{"--read_coils", "0", "--range", "2001"}, "\n" + bitList(0, 2001, 3)},
        {{"--readIn_bits", "3", "--range", "10"}, "\n" + bitList(3, 10, 5)},
        {{"--read_coil", "65535"}, "1\r\n"},
        {{"--readIn_bit", "7"}, "0\r\n"},
        {{"--write_coil", "7", "--data", "1"}, ""},
        {{"--write_coils", "1000", "--data", coils.join(',')}, ""},
        {{"--read_coils", "2995", "--range", "10"}, "\n1,0,1,0,1,1,0,0,1,0"},
        {{"--write_single", "9", "--data", "-1"}, ""},
        {{"--write_str", "200", "--range", "4", "--data", "Feeder"}, ""},
        {{"--read_str", "200", "--range", "4"}, "Feeder\r\n"},
        {{"--read_device_id", "basic"},
            "VendorName: pymodbus\r\nProductCode: PM\r\nMajorMinorRevision: 3.0.0rc1\r\n"},
        {{"--read_device_id", "extended"},
            "VendorName: pymodbus\r\nProductCode: PM\r\nMajorMinorRevision: 3.0.0rc1\r\n"
            "VendorUrl: https://example.org\r\nProductName: Peer\r\nModelName: Model 7\r\n"
            "UserApplicationName: qel tests\r\n0x80: "
                + QString("80").repeated(50) + "\r\n0x81: " + QString("81").repeated(50)
                + "\r\n0x82: " + QString("82").repeated(50) + "\r\n"},
    };
    for (const auto &step : steps) {
        const ProgramResult result
            = runProgram(programPath("qelDrvModbus"), device.connection + step.first);
        QVERIFY2(result.finished && result.exitCode == 0,
            qPrintable(step.first.join(' ') + ": " + result.err));
        QVERIFY2(result.out.endsWith(step.second.toUtf8()),
            qPrintable(step.first.join(' ') + ": " + result.out.right(300)));
    }
    const QStringList writes = device.server.lines().filter(QRegularExpression("^set "));
    QCOMPARE(writes,
        QStringList({"set co 7 1", "set co 1000 " + coils.mid(0, 1968).join(','),
            "set co 2968 " + coils.mid(1968).join(','), "set hr 9 65535",
            "set hr 200 18021,25956,25970,0"}));

    // The device has discrete inputs up to 64999 only: its exception gives
    // its cause and status 255.
    const ProgramResult beyond = runProgram(programPath("qelDrvModbus"),
        device.connection + QStringList {"--readIn_bits", "64990", "--range", "20"});
    QCOMPARE(beyond.exitCode, 255);
    QCOMPARE(beyond.err, QByteArray("Illegal data address\n"));
    QVERIFY2(!beyond.out.contains('\n'), beyond.out.constData());
}

// qelDevSim as pymodbus's client finds it: bits, echoes, exceptions outside
// its banks and its identification objects.
void TestRegistersPymodbus::pymodbusAgainstSimulator()
{
    DevSim sim({"--coils", "0=1011001101", "--discrete", "2=110", "--id-object", "0x80=Priv"});
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    const ProgramResult client
        = runProgram(Python, {script(), "client", QString::number(sim.tcpPort())});
    QVERIFY2(client.finished && client.exitCode == 0, client.err.constData());
    QCOMPARE(QString::fromUtf8(client.out).split('\n', Qt::SkipEmptyParts),
        QStringList(
            {"read coils 0 10 | 1011001101", "read discrete 2 3 | 110", "write coil 7 on | OK",
                "write coils 20 1968 | OK 1968", "write coils 20 1969 | exception 3",
                "read coils 0 2000 | 101100110100000000001011101110", "read coils 65535 1 | 0",
                "read coils 65535 2 | exception 2", "read coils 0 2001 | exception 3",
                "write register 9 | OK", "read register 9 | ABCD",
                "identification basic | last next 00: 00=qel 01=qelDevSim 02=1.0",
                "identification regular | last next 00: 00=qel 01=qelDevSim 02=1.0",
                "identification extended | last next 00: 00=qel 01=qelDevSim 02=1.0 80=Priv",
                "identification object 0x80 | last next 00: 80=Priv",
                "identification object 0x81 | exception 2"}));
    QCOMPARE(sim.holding(9), quint16(0xABCD));
}

void TestRegistersPymodbus::valuesInEveryOrder_data()
{
    QTest::addColumn<TypedValue>("value");
    QTest::addColumn<bool>("driverWrites"); // the driver refuses to write what is not finite
    QTest::newRow("U32") << TypedValue {"U32", "287454020"} << true; // 0x11223344
    QTest::newRow("S32") << TypedValue {"S32", "-123456789"} << true;
    QTest::newRow("F32") << TypedValue {"F32", "-1234.5"} << true;
    QTest::newRow("U64") << TypedValue {"U64", "1234605616436508552"} << true; // 0x1122...88
    QTest::newRow("U64 largest") << TypedValue {"U64", "18446744073709551615"} << true;
    QTest::newRow("S64 most negative") << TypedValue {"S64", "-9223372036854775808"} << true;
    QTest::newRow("F64") << TypedValue {"F64", "-2.5e-300"} << true;
    QTest::newRow("F64 tenth") << TypedValue {"F64", "0.1"} << true;
    QTest::newRow("F64 NaN") << TypedValue {"F64", "nan"} << false;
    QTest::newRow("F64 infinity") << TypedValue {"F64", "inf"} << false;
    QTest::newRow("F64 negative infinity") << TypedValue {"F64", "-inf"} << false;
}

// For each order: pymodbus's builder writes, the driver reads; the driver
// writes, pymodbus's decoder reads.
void TestRegistersPymodbus::valuesInEveryOrder()
{
    QFETCH(TypedValue, value);
    QFETCH(bool, driverWrites);
    PymodbusDevice device;
    QVERIFY2(device.start(false), qPrintable(device.server.errors()));
    const QString port = device.connection.at(3);
    const QString type = QString::fromLatin1(value.type);
    const QString lower = type.toLower();

    QStringList encoded;
    for (int i = 0; i < orders.size(); ++i)
        encoded
            << QString("%1:%2:%3:%4").arg(lower, orders.at(i)).arg(1000 + 4 * i).arg(value.value);
    const ProgramResult builder
        = runProgram(Python, QStringList {script(), "encode", port} + encoded);
    QVERIFY2(builder.exitCode == 0 && builder.out.contains("done"), builder.out + builder.err);
    for (int i = 0; i < orders.size(); ++i) {
        const ProgramResult read = runProgram(programPath("qelDrvModbus"),
            device.connection
                + QStringList {
                    "--read_" + lower, QString::number(1000 + 4 * i), "--order", orders.at(i)});
        QVERIFY2(read.exitCode == 0, read.err.constData());
        QCOMPARE(QString::fromUtf8(read.out), value.value + "\r\n");
    }
    if (!driverWrites)
        return;

    QStringList decoded;
    QStringList expected;
    for (int i = 0; i < orders.size(); ++i) {
        const QString address = QString::number(2000 + 4 * i);
        const ProgramResult write = runProgram(programPath("qelDrvModbus"),
            device.connection
                + QStringList {
                    "--write_" + lower, address, "--data", value.value, "--order", orders.at(i)});
        QVERIFY2(write.exitCode == 0, write.err.constData());
        decoded << QString("%1:%2:%3").arg(lower, orders.at(i), address);
        expected << decoded.last() + " " + value.value;
    }
    const ProgramResult decoder
        = runProgram(Python, QStringList {script(), "decode", port} + decoded);
    QVERIFY2(decoder.exitCode == 0, decoder.err.constData());
    QCOMPARE(QString::fromUtf8(decoder.out).split('\n', Qt::SkipEmptyParts), expected);
}

QTEST_GUILESS_MAIN(TestRegistersPymodbus)
#include "tst_registerspymodbus.moc"
