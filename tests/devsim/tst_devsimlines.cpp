// qelDevSim on both of its lines, driven with raw frames: RTU on a
// pseudo-terminal or a serial device (framing, CRC, addressing, several
// devices, the line's settings) and TCP (MBAP header, connections, the
// process); on either, replies, exceptions, macros, identification, faults,
// the request and reply logs and the register dump.

#include "crc16.h"
#include "devsim.h"
#include "programrun.h"
#include "rawmaster.h"

#include <QtTest>
#include <arpa/inet.h>
#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <termios.h>
#include <unistd.h>

enum class Line { Rtu, Tcp };
Q_DECLARE_METATYPE(Line)

class TestDevSimLines : public QObject
{
    Q_OBJECT
private slots:
    // Both lines
    void exchange_data();
    void exchange();
    void bitsAndObjects_data();
    void bitsAndObjects();
    void fault_data();
    void fault();
    void stallInMidFrame_data();
    void stallInMidFrame();
    void trickle_data();
    void trickle();
    void writesReachHoldingDump_data();
    void writesReachHoldingDump();

    // RTU
    void ignored_data();
    void ignored();
    void severalDevices();
    void framesBackToBack();
    void frameEndedBySilence();
    void reopenedLine();
    void replyLog();
    void broadcastWrite_data();
    void broadcastWrite();
    void exclusiveUseEndsWithItsUser();
    void serialDevice_data();
    void serialDevice();

    // TCP
    void silence_data();
    void silence();
    void faultScopes();
    void droppedConnection();
    void connectionsLogged();
    void closedAfterTheReply();
    void delayedReply();
    void countingRegisters();
    void requestLogKeepsEveryFrame();
    void macroLog();
    void registerFiles();
    void badLengthFieldClosesConnection();
    void masterThatDoesNotRead();
    void cleanShutdown();
    void interruptEndsIt();
    void endsWithItsStarter();
    void usage();
    void badCommandLine_data();
    void badCommandLine();
};

namespace {

// The frame with its CRC (checked against known answers in tst_devsimparts).
QByteArray rtu(const char *hex)
{
    return Crc16::appended(hexBytes(hex));
}

QByteArray exchangeOnce(DevSim &sim, const QByteArray &request, int replyLength)
{
    RawMaster master;
    if (!master.openTcp(sim.tcpPort()) || !master.send(request))
        return "not sent";
    return master.receive(replyLength);
}

// The frame of the bytes given (address or unit first) on the line: with
// their CRC, or after an MBAP header with the transaction identifier.
QByteArray onLine(Line line, const QString &hex, int transaction)
{
    const QByteArray bytes = hexBytes(qPrintable(hex));
    if (line == Line::Rtu)
        return Crc16::appended(bytes);
    QByteArray frame;
    for (const int word : {transaction, 0, int(bytes.size())}) {
        frame.append(char(word >> 8));
        frame.append(char(word & 0xFF));
    }
    return frame + bytes;
}

// Text as hex bytes.
QString hexText(const char *text)
{
    return QString::fromLatin1(QByteArray(text).toHex(' ').toUpper());
}

// The simulator on a line, with a bare master connected to it.
struct SimOnLine
{
    explicit SimOnLine(const QStringList &options = {})
        : sim(options)
    { }

    bool start(Line line)
    {
        if (line == Line::Rtu)
            return sim.startRtu() && master.openSerial(sim.ptyPath());
        return sim.startTcp() && master.openTcp(sim.tcpPort());
    }

    DevSim sim;
    RawMaster master;
};

} // namespace

void TestDevSimLines::exchange_data()
{
    QTest::addColumn<Line>("line");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("reply");
    {
        const QStringList registers {"--holding", "0=0x1234", "--input", "5=7,8"};
        QTest::newRow("RTU: read holding, spelled out")
            << Line::Rtu << registers << hexBytes("01 03 00 00 00 01 84 0A")
            << hexBytes("01 03 02 12 34 B5 33");
        QTest::newRow("RTU: read input")
            << Line::Rtu << registers << rtu("01 04 00 05 00 02") << rtu("01 04 04 00 07 00 08");
        QTest::newRow("RTU: exception")
            << Line::Rtu << registers << rtu("01 03 00 00 00 7E") << rtu("01 83 03");
        QTest::newRow("RTU: unknown function")
            << Line::Rtu << registers << rtu("01 07") << rtu("01 87 01");
        QTest::newRow("RTU: device at address 9")
            << Line::Rtu << QStringList {"--address", "9", "--input", "0=1"}
            << rtu("09 04 00 00 00 01") << rtu("09 04 02 00 01");
        QTest::newRow("RTU: broadcast answered when asked")
            << Line::Rtu << QStringList {"--address", "5", "--answer-broadcast"}
            << rtu("00 03 00 00 00 01") << rtu("05 03 02 00 00");
        QTest::newRow("RTU: write")
            << Line::Rtu << registers << rtu("01 10 00 10 00 02 04 00 01 00 02")
            << rtu("01 10 00 10 00 02");
        QTest::newRow("RTU: macro write")
            << Line::Rtu << QStringList()
            << rtu("01 10 00 00 00 06 0C 01 02 FE FD 03 02 00 01 02 03 FC FD")
            << rtu("01 10 00 00 00 06");
        QTest::newRow("RTU: macro write refused")
            << Line::Rtu << QStringList()
            << rtu("01 10 00 00 00 06 0C 01 02 FE FD 03 02 00 01 02 03 FC FC") << rtu("01 90 03");
        QTest::newRow("RTU: macro read, serial number")
            << Line::Rtu << QStringList {"--sn", "513"}
            << rtu("01 41 00 00 00 04 00 E2 FF 1D 01 00 FE FF")
            << rtu("01 41 0A 00 E2 FF 1D 01 01 02 01 FE FE");
        // Macro 300 with 117 zero parameter words, then the complements of 1 and 117.
        const QByteArray longest = hexBytes("01 41 00 00 00 79 01 2C FE D3 01 75")
            + QByteArray(234, '\0') + hexBytes("FE 8A");
        QTest::newRow("RTU: macro read, 117 parameters")
            << Line::Rtu << QStringList {"--macro-answer", "300=1"} << Crc16::appended(longest)
            << rtu("01 41 0A 01 2C FE D3 01 01 00 01 FE FE");
        QTest::newRow("RTU: identification, version 1")
            << Line::Rtu << QStringList {"--id-text", "ABCDEFGHIJ"} << hexBytes("01 11 C0 2C")
            << rtu("01 11 42 41 44 43 46 45 48 47 4A 49");
        QTest::newRow("RTU: identification, version 3")
            << Line::Rtu << QStringList {"--id-version", "3", "--id-text", "QEL"} << rtu("01 11")
            << rtu("01 11 45 51 00 4C 00 00 00 00 00 00 00 00 00 00");
        QTest::newRow("RTU: identification, version 4, a zero inside")
            << Line::Rtu << QStringList {"--device", "1,version=4,id=AB"} << rtu("01 11")
            << rtu("01 11 42 41 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
    }
    {
        const QStringList registers {"--holding", "100=1234,0xFB2E,7", "--input", "0=2305,65535",
            "--holding", "65535=0xBEEF"};
        QTest::newRow("TCP: read holding")
            << Line::Tcp << registers << hexBytes("00 01 00 00 00 06 01 03 00 64 00 03")
            << hexBytes("00 01 00 00 00 09 01 03 06 04 D2 FB 2E 00 07");
        QTest::newRow("TCP: read input")
            << Line::Tcp << registers << hexBytes("12 34 00 00 00 06 01 04 00 00 00 02")
            << hexBytes("12 34 00 00 00 07 01 04 04 09 01 FF FF");
        QTest::newRow("TCP: unit 255 is the first device")
            << Line::Tcp << registers << hexBytes("00 07 00 00 00 06 FF 03 00 65 00 01")
            << hexBytes("00 07 00 00 00 05 FF 03 02 FB 2E");
        QTest::newRow("TCP: last register")
            << Line::Tcp << registers << hexBytes("00 01 00 00 00 06 01 03 FF FF 00 01")
            << hexBytes("00 01 00 00 00 05 01 03 02 BE EF");
        QTest::newRow("TCP: 125 registers")
            << Line::Tcp << registers << hexBytes("00 01 00 00 00 06 01 04 00 00 00 7D")
            << hexBytes("00 01 00 00 00 FD 01 04 FA 09 01 FF FF") + QByteArray(246, '\0');
        QTest::newRow("TCP: 126 registers")
            << Line::Tcp << registers << hexBytes("00 01 00 00 00 06 01 03 00 00 00 7E")
            << hexBytes("00 01 00 00 00 03 01 83 03");
        QTest::newRow("TCP: no register")
            << Line::Tcp << registers << hexBytes("00 01 00 00 00 06 01 04 00 00 00 00")
            << hexBytes("00 01 00 00 00 03 01 84 03");
        QTest::newRow("TCP: beyond register 65535")
            << Line::Tcp << registers << hexBytes("00 01 00 00 00 06 01 03 FF FF 00 02")
            << hexBytes("00 01 00 00 00 03 01 83 02");
        QTest::newRow("TCP: write two registers")
            << Line::Tcp << registers
            << hexBytes("00 02 00 00 00 0B 01 10 00 0A 00 02 04 00 01 00 02")
            << hexBytes("00 02 00 00 00 06 01 10 00 0A 00 02");
        QTest::newRow("TCP: write with a wrong byte count")
            << Line::Tcp << registers
            << hexBytes("00 02 00 00 00 0B 01 10 00 0A 00 02 03 00 01 00 02")
            << hexBytes("00 02 00 00 00 03 01 90 03");
        QTest::newRow("TCP: write 124 registers")
            << Line::Tcp << registers << hexBytes("00 02 00 00 00 07 01 10 00 0A 00 7C 00")
            << hexBytes("00 02 00 00 00 03 01 90 03");
        QTest::newRow("TCP: write beyond register 65535")
            << Line::Tcp << registers
            << hexBytes("00 02 00 00 00 0B 01 10 FF FF 00 02 04 00 01 00 02")
            << hexBytes("00 02 00 00 00 03 01 90 02");
        QTest::newRow("TCP: unknown function")
            << Line::Tcp << registers << hexBytes("00 03 00 00 00 03 01 2B 0D")
            << hexBytes("00 03 00 00 00 03 01 AB 01");
        QTest::newRow("TCP: unknown unit")
            << Line::Tcp << registers << hexBytes("00 04 00 00 00 06 07 03 00 64 00 01")
            << hexBytes("00 04 00 00 00 03 07 83 0B");
        QTest::newRow("TCP: read with a short request")
            << Line::Tcp << registers << hexBytes("00 04 00 00 00 05 01 03 00 64 00")
            << hexBytes("00 04 00 00 00 03 01 83 03");
        QTest::newRow("TCP: macro write")
            << Line::Tcp << QStringList()
            << hexBytes(
                   "00 05 00 00 00 13 01 10 00 00 00 06 0C 01 02 FE FD 03 02 00 01 02 03 FC FD")
            << hexBytes("00 05 00 00 00 06 01 10 00 00 00 06");
        QTest::newRow("TCP: macro write, code complement damaged")
            << Line::Tcp << QStringList()
            << hexBytes(
                   "00 05 00 00 00 13 01 10 00 00 00 06 0C 01 02 FE FC 03 02 00 01 02 03 FC FD")
            << hexBytes("00 05 00 00 00 03 01 90 03");
        QTest::newRow("TCP: macro write, specification complement damaged")
            << Line::Tcp << QStringList()
            << hexBytes(
                   "00 05 00 00 00 13 01 10 00 00 00 06 0C 01 02 FE FD 03 02 00 01 02 03 FD FD")
            << hexBytes("00 05 00 00 00 03 01 90 03");
        QTest::newRow("TCP: macro write, count complement damaged")
            << Line::Tcp << QStringList()
            << hexBytes(
                   "00 05 00 00 00 13 01 10 00 00 00 06 0C 01 02 FE FD 03 02 00 01 02 03 FC FC")
            << hexBytes("00 05 00 00 00 03 01 90 03");
        QTest::newRow("TCP: macro write, count does not fit the length")
            << Line::Tcp << QStringList()
            << hexBytes(
                   "00 05 00 00 00 13 01 10 00 00 00 06 0C 01 02 FE FD 03 01 00 01 02 03 FC FE")
            << hexBytes("00 05 00 00 00 03 01 90 03");
        QTest::newRow("TCP: write at register 0 with macros off")
            << Line::Tcp << QStringList {"--no-macros"}
            << hexBytes("00 06 00 00 00 09 01 10 00 00 00 01 02 12 34")
            << hexBytes("00 06 00 00 00 06 01 10 00 00 00 01");
        QTest::newRow("TCP: macro read, serial number")
            << Line::Tcp << QStringList {"--sn", "4660"}
            << hexBytes("00 07 00 00 00 0E 01 41 00 00 00 04 00 E2 FF 1D 01 00 FE FF")
            << hexBytes("00 07 00 00 00 0D 01 41 0A 00 E2 FF 1D 01 01 12 34 FE FE");
        QTest::newRow("TCP: macro read, device info")
            << Line::Tcp << QStringList {"--device-info", "5,6,7"}
            << hexBytes("00 07 00 00 00 0E 01 41 00 00 00 04 00 E1 FF 1E 01 00 FE FF")
            << hexBytes("00 07 00 00 00 11 01 41 0E 00 E1 FF 1E 01 03 00 05 00 06 00 07 FE FC");
        QTest::newRow("TCP: macro read, device key")
            << Line::Tcp << QStringList {"--device-key", "0xA1B2,0xC3D4"}
            << hexBytes("00 07 00 00 00 0E 01 41 00 00 00 04 00 DC FF 23 01 00 FE FF")
            << hexBytes("00 07 00 00 00 0F 01 41 0C 00 DC FF 23 01 02 A1 B2 C3 D4 FE FD");
        QTest::newRow("TCP: macro read, events count")
            << Line::Tcp << QStringList {"--events-count", "1,2"}
            << hexBytes("00 07 00 00 00 0E 01 41 00 00 00 04 00 CA FF 35 01 00 FE FF")
            << hexBytes("00 07 00 00 00 0F 01 41 0C 00 CA FF 35 01 02 00 01 00 02 FE FD");
        QTest::newRow("TCP: macro read, override with no words")
            << Line::Tcp << QStringList {"--macro-answer", "226="}
            << hexBytes("00 07 00 00 00 0E 01 41 00 00 00 04 00 E2 FF 1D 01 00 FE FF")
            << hexBytes("00 07 00 00 00 0B 01 41 08 00 E2 FF 1D 01 00 FE FF");
        QTest::newRow("TCP: macro read, override of another code")
            << Line::Tcp << QStringList {"--macro-answer", "0x0102=9"}
            << hexBytes("00 07 00 00 00 12 01 41 00 00 00 06 01 02 FE FD 03 02 00 01 02 03 FC FD")
            << hexBytes("00 07 00 00 00 0D 01 41 0A 01 02 FE FD 03 01 00 09 FC FE");
        QTest::newRow("TCP: macro read, code without data")
            << Line::Tcp << QStringList()
            << hexBytes("00 07 00 00 00 12 01 41 00 00 00 06 01 02 FE FD 03 02 00 01 02 03 FC FD")
            << hexBytes("00 07 00 00 00 03 01 C1 01");
        QTest::newRow("TCP: macro read, damaged")
            << Line::Tcp << QStringList()
            << hexBytes("00 07 00 00 00 0E 01 41 00 00 00 04 00 E2 FF 1D 01 00 FE FE")
            << hexBytes("00 07 00 00 00 03 01 C1 03");
        QTest::newRow("TCP: macro read, quantity does not fit")
            << Line::Tcp << QStringList()
            << hexBytes("00 07 00 00 00 0E 01 41 00 00 00 05 00 E2 FF 1D 01 00 FE FF")
            << hexBytes("00 07 00 00 00 03 01 C1 03");
        QTest::newRow("TCP: macro read, serial number exception")
            << Line::Tcp << QStringList {"--sn", "exception"}
            << hexBytes("00 07 00 00 00 0E 01 41 00 00 00 04 00 E2 FF 1D 01 00 FE FF")
            << hexBytes("00 07 00 00 00 03 01 C1 01");
        QTest::newRow("TCP: identification, version 2")
            << Line::Tcp << QStringList {"--id-version", "2", "--id-text", "RB4-x"}
            << hexBytes("00 08 00 00 00 02 01 11")
            << hexBytes("00 08 00 00 00 0E 01 11 42 52 2D 34 00 78 00 00 00 00 00 00");
        QTest::newRow("TCP: demo F32 3.14159")
            << Line::Tcp << QStringList {"--demo"}
            << hexBytes("00 09 00 00 00 06 01 03 00 6A 00 02")
            << hexBytes("00 09 00 00 00 07 01 03 04 0F D0 40 49");
    }
}

void TestDevSimLines::exchange()
{
    QFETCH(Line, line);
    QFETCH(QStringList, options);
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, reply);
    SimOnLine on(options);
    QVERIFY2(on.start(line), qPrintable(on.sim.startError()));
    QVERIFY(on.master.send(request));
    QCOMPARE(on.master.receive(reply.size()).toHex(' '), reply.toHex(' '));
    // Nothing follows the reply.
    QVERIFY(on.master.receive(1, 200).isEmpty());
    QCOMPARE(on.sim.requestLog(), QStringList {QString::fromLatin1(request.toHex(' ').toUpper())});
}

// Functions 1, 2, 5, 6, 15 and 43/14: each row a sequence of exchanges
// ("request > reply", address or unit first) with one simulator, so a write
// is read back.
void TestDevSimLines::bitsAndObjects_data()
{
    QTest::addColumn<Line>("line");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("exchanges");
    const QStringList bits {"--coils", "0=1011001101", "--discrete", "2=1,1,0"};
    const QString basicObjects = "03 00 03 " + hexText("qel") + " 01 09 " + hexText("qelDevSim")
        + " 02 03 " + hexText("1.0");
    for (const Line line : {Line::Rtu, Line::Tcp}) {
        const QString name = line == Line::Rtu ? "RTU: " : "TCP: ";
        QTest::newRow(qPrintable(name + "coils, a range ending inside a byte"))
            << line << bits << QStringList {"01 01 00 00 00 0A > 01 01 02 CD 02"};
        QTest::newRow(qPrintable(name + "discrete inputs"))
            << line << bits << QStringList {"01 02 00 02 00 03 > 01 02 01 03"};
        QTest::newRow(qPrintable(name + "device identification, basic"))
            << line << QStringList()
            << QStringList {"01 2B 0E 01 00 > 01 2B 0E 01 81 00 00 " + basicObjects};
    }
    QTest::newRow("TCP: one coil on and off")
        << Line::Tcp << bits
        << QStringList {"01 05 00 07 FF 00 > 01 05 00 07 FF 00", "01 01 00 06 00 03 > 01 01 01 03",
               "01 05 00 00 00 00 > 01 05 00 00 00 00", "01 01 00 00 00 03 > 01 01 01 04"};
    QTest::newRow("TCP: coils written")
        << Line::Tcp << QStringList()
        << QStringList {"01 0F 00 14 00 0A 02 CD 02 > 01 0F 00 14 00 0A",
               "01 01 00 13 00 0C > 01 01 02 9A 05"};
    QTest::newRow("TCP: one register written")
        << Line::Tcp << QStringList()
        << QStringList {
               "01 06 00 64 AB CD > 01 06 00 64 AB CD", "01 03 00 64 00 01 > 01 03 02 AB CD"};
    QTest::newRow("TCP: 2000 bits, the last coil")
        << Line::Tcp << QStringList {"--coils", "65535=1"}
        << QStringList {"01 01 F8 30 07 D0 > 01 01 FA" + QString(" 00").repeated(249) + " 80"};
    QTest::newRow("TCP: bit ranges outside the banks")
        << Line::Tcp << QStringList()
        << QStringList {"01 01 00 00 07 D1 > 01 81 03", "01 02 00 00 00 00 > 01 82 03",
               "01 01 F8 31 07 D0 > 01 81 02", "01 0F FF FF 00 02 01 03 > 01 8F 02",
               "01 0F 00 00 07 B1 F7 > 01 8F 03"};
    QTest::newRow("TCP: malformed coil writes")
        << Line::Tcp << QStringList()
        << QStringList {"01 05 00 01 12 34 > 01 85 03", "01 05 00 01 00 FF > 01 85 03",
               "01 0F 00 00 00 0A 01 FF > 01 8F 03", "01 0F 00 00 00 0A 02 FF > 01 8F 03",
               "01 01 00 01 00 01 > 01 01 01 00"};
    QTest::newRow("TCP: objects one by one and outside the device")
        << Line::Tcp << QStringList {"--id-object", "1=RB4"}
        << QStringList {"01 2B 0E 04 01 > 01 2B 0E 04 81 00 00 01 01 03 " + hexText("RB4"),
               "01 2B 0E 04 05 > 01 AB 02", "01 2B 0E 05 00 > 01 AB 03",
               "01 2B 0D 01 00 > 01 AB 01"};
    QTest::newRow("TCP: stream from an object, and from one the device lacks")
        << Line::Tcp << QStringList()
        << QStringList {"01 2B 0E 01 02 > 01 2B 0E 01 81 00 00 01 02 03 " + hexText("1.0"),
               "01 2B 0E 01 09 > 01 2B 0E 01 81 00 00 " + basicObjects};
    QTest::newRow("TCP: regular and extended objects")
        << Line::Tcp << QStringList {"--id-object", "5=M", "--id-object", "0x80=X"}
        << QStringList {
               "01 2B 0E 02 02 > 01 2B 0E 02 83 00 00 02 02 03 " + hexText("1.0") + " 05 01 4D",
               "01 2B 0E 03 05 > 01 2B 0E 03 83 00 00 02 05 01 4D 80 01 58"};
}

void TestDevSimLines::bitsAndObjects()
{
    QFETCH(Line, line);
    QFETCH(QStringList, options);
    QFETCH(QStringList, exchanges);
    SimOnLine on(options);
    QVERIFY2(on.start(line), qPrintable(on.sim.startError()));
    for (int i = 0; i < exchanges.size(); ++i) {
        const QStringList parts = exchanges.at(i).split(QStringLiteral(" > "));
        const QByteArray reply = onLine(line, parts.at(1), i + 1);
        QVERIFY(on.master.send(onLine(line, parts.at(0), i + 1)));
        QCOMPARE(on.master.receive(reply.size()).toHex(' '), reply.toHex(' '));
    }
    QVERIFY(on.master.receive(1, 200).isEmpty());
}

void TestDevSimLines::fault_data()
{
    QTest::addColumn<Line>("line");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("reply");
    {
        const QByteArray read = rtu("01 03 00 00 00 01");
        const QByteArray macro = rtu("01 41 00 00 00 04 00 E2 FF 1D 01 00 FE FF");
        QByteArray badCrc = rtu("01 03 02 00 00");
        badCrc[5] = static_cast<char>(~badCrc.at(5));
        badCrc[6] = static_cast<char>(~badCrc.at(6));
        QTest::newRow("RTU: bad CRC") << Line::Rtu << "bad-crc" << read << badCrc;
        QTest::newRow("RTU: reply from address 5")
            << Line::Rtu << "other-address=5" << read << rtu("05 03 02 00 00");
        QTest::newRow("RTU: exception 2") << Line::Rtu << "exception=2" << read << rtu("01 83 02");
        QTest::newRow("RTU: exception 12")
            << Line::Rtu << "exception=12" << read << rtu("01 83 0C");
        QTest::newRow("RTU: two bytes more")
            << Line::Rtu << "length" << read << rtu("01 03 04 00 00 00 00");
        QTest::newRow("RTU: partial")
            << Line::Rtu << "partial" << read << rtu("01 03 02 00 00").left(3);
        QTest::newRow("RTU: transaction fault changes nothing on RTU")
            << Line::Rtu << "bad-transaction" << read << rtu("01 03 02 00 00");
        QTest::newRow("RTU: code complement") << Line::Rtu << "bad-code-complement" << macro
                                              << rtu("01 41 0A 00 E2 FF 1C 01 01 30 39 FE FE");
        QTest::newRow("RTU: specification complement")
            << Line::Rtu << "bad-spec-complement" << macro
            << rtu("01 41 0A 00 E2 FF 1D 01 01 30 39 FF FE");
        QTest::newRow("RTU: count complement") << Line::Rtu << "bad-count-complement" << macro
                                               << rtu("01 41 0A 00 E2 FF 1D 01 01 30 39 FE FF");
        QTest::newRow("RTU: macro reply two bytes short")
            << Line::Rtu << "length=-2" << macro << rtu("01 41 08 00 E2 FF 1D 01 01 30 39");
        QTest::newRow("RTU: identification one byte short")
            << Line::Rtu << "length=-1" << rtu("01 11") << rtu("01 11 65 71 44 6C 76 65 69 53 00");
        QTest::newRow("RTU: register write echoed with another value")
            << Line::Rtu << "bad-echo" << rtu("01 06 00 01 00 05") << rtu("01 06 00 01 00 04");
        QTest::newRow("RTU: coils write echoed with another quantity")
            << Line::Rtu << "bad-echo" << rtu("01 0F 00 00 00 03 01 05")
            << rtu("01 0F 00 00 00 02");
        QTest::newRow("RTU: objects with more to follow")
            << Line::Rtu << "more-follows" << rtu("01 2B 0E 01 01")
            << Crc16::appended(hexBytes("01 2B 0E 01 81 FF 02 02 01 09") + "qelDevSim"
                   + hexBytes("02 03") + "1.0");
    }
    {
        const QByteArray read = hexBytes("00 06 00 00 00 06 01 03 00 00 00 01");
        const QByteArray macro
            = hexBytes("00 07 00 00 00 0E 01 41 00 00 00 04 00 E2 FF 1D 01 00 FE FF");
        QTest::newRow("TCP: exception 4")
            << Line::Tcp << "exception=4" << read << hexBytes("00 06 00 00 00 03 01 83 04");
        QTest::newRow("TCP: exception 12")
            << Line::Tcp << "exception=12" << read << hexBytes("00 06 00 00 00 03 01 83 0C");
        QTest::newRow("TCP: stale transaction") << Line::Tcp << "bad-transaction" << read
                                                << hexBytes("00 05 00 00 00 05 01 03 02 00 00");
        QTest::newRow("TCP: transaction 0x1234") << Line::Tcp << "bad-transaction=0x1234" << read
                                                 << hexBytes("12 34 00 00 00 05 01 03 02 00 00");
        QTest::newRow("TCP: protocol 1")
            << Line::Tcp << "bad-protocol" << read << hexBytes("00 06 00 01 00 05 01 03 02 00 00");
        QTest::newRow("TCP: other unit") << Line::Tcp << "other-address=7" << read
                                         << hexBytes("00 06 00 00 00 05 07 03 02 00 00");
        QTest::newRow("TCP: two bytes more")
            << Line::Tcp << "length" << read << hexBytes("00 06 00 00 00 07 01 03 04 00 00 00 00");
        QTest::newRow("TCP: bad CRC changes nothing over TCP")
            << Line::Tcp << "bad-crc" << read << hexBytes("00 06 00 00 00 05 01 03 02 00 00");
        QTest::newRow("TCP: partial reply")
            << Line::Tcp << "partial" << read << hexBytes("00 06 00 00 00");
        QTest::newRow("TCP: first 3 bytes")
            << Line::Tcp << "partial=3" << read << hexBytes("00 06 00");
        QTest::newRow("TCP: code complement")
            << Line::Tcp << "bad-code-complement" << macro
            << hexBytes("00 07 00 00 00 0D 01 41 0A 00 E2 FF 1C 01 01 30 39 FE FE");
        QTest::newRow("TCP: specification complement")
            << Line::Tcp << "bad-spec-complement" << macro
            << hexBytes("00 07 00 00 00 0D 01 41 0A 00 E2 FF 1D 01 01 30 39 FF FE");
        QTest::newRow("TCP: count complement")
            << Line::Tcp << "bad-count-complement" << macro
            << hexBytes("00 07 00 00 00 0D 01 41 0A 00 E2 FF 1D 01 01 30 39 FE FF");
        QTest::newRow("TCP: coil write echoed with another value")
            << Line::Tcp << "bad-echo" << hexBytes("00 06 00 00 00 06 01 05 00 03 FF 00")
            << hexBytes("00 06 00 00 00 06 01 05 00 03 FF 01");
        QTest::newRow("TCP: coils with two bytes more")
            << Line::Tcp << "length" << hexBytes("00 06 00 00 00 06 01 01 00 00 00 03")
            << hexBytes("00 06 00 00 00 06 01 01 03 00 00 00");
        QTest::newRow("TCP: macro reply two bytes longer")
            << Line::Tcp << "length=2" << macro
            << hexBytes("00 07 00 00 00 0F 01 41 0C 00 E2 FF 1D 01 01 30 39 FE FE 00 00");
    }
}

void TestDevSimLines::fault()
{
    QFETCH(Line, line);
    QFETCH(QString, fault);
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, reply);
    SimOnLine on({"--fault", fault});
    QVERIFY2(on.start(line), qPrintable(on.sim.startError()));
    QVERIFY(on.master.send(request));
    QCOMPARE(on.master.receive(reply.size()).toHex(' '), reply.toHex(' '));
    QVERIFY(on.master.receive(1, 300).isEmpty());
}

void TestDevSimLines::stallInMidFrame_data()
{
    QTest::addColumn<Line>("line");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("before"); // bytes before the stall
    QTest::newRow("RTU") << Line::Rtu << "stall=2500,function=3" << rtu("01 03 00 00 00 01")
                         << rtu("01 03 02 00 00") << 3;
    QTest::newRow("TCP") << Line::Tcp << "stall=3000"
                         << hexBytes("00 01 00 00 00 06 01 03 00 00 00 01")
                         << hexBytes("00 01 00 00 00 05 01 03 02 00 00") << 5;
}

void TestDevSimLines::stallInMidFrame()
{
    QFETCH(Line, line);
    QFETCH(QString, fault);
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, reply);
    QFETCH(int, before);
    SimOnLine on({"--fault", fault});
    QVERIFY2(on.start(line), qPrintable(on.sim.startError()));
    QVERIFY(on.master.send(request));
    QCOMPARE(on.master.receive(before), reply.left(before));
    QVERIFY(on.master.receive(1, 500).isEmpty()); // the stall: time-out ended the wait
    QCOMPARE(on.master.receive(reply.size() - before, 20000), reply.mid(before));
}

void TestDevSimLines::trickle_data()
{
    QTest::addColumn<Line>("line");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QByteArray>("nextRequest"); // one the fault does not touch
    QTest::addColumn<QByteArray>("nextReply");
    QTest::newRow("RTU: other functions are not touched")
        << Line::Rtu
        << QStringList {"--input", "0=0x1234,0x5678", "--fault", "trickle=300,function=4"}
        << rtu("01 04 00 00 00 02") << rtu("01 04 04 12 34 56 78") << rtu("01 03 00 00 00 01")
        << rtu("01 03 02 00 00");
    const QByteArray request = hexBytes("00 01 00 00 00 06 01 03 00 00 00 01");
    const QByteArray reply = hexBytes("00 01 00 00 00 05 01 03 02 12 34");
    QTest::newRow("TCP: the next reply goes out whole")
        << Line::Tcp << QStringList {"--holding", "0=0x1234", "--fault", "trickle=300,request=1"}
        << request << reply << request << reply;
}

void TestDevSimLines::trickle()
{
    QFETCH(Line, line);
    QFETCH(QStringList, options);
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, reply);
    QFETCH(QByteArray, nextRequest);
    QFETCH(QByteArray, nextReply);
    SimOnLine on(options);
    QVERIFY2(on.start(line), qPrintable(on.sim.startError()));
    QVERIFY(on.master.send(request));
    QByteArray received = on.master.receive(1);
    QCOMPARE(received, reply.left(1));
    // The other bytes take 300 ms each: the short wait ends with only a few of them.
    received += on.master.receive(reply.size() - 1, 200);
    QVERIFY(received.size() < reply.size());
    received += on.master.receive(reply.size() - received.size(), 30000);
    QCOMPARE(received.toHex(' '), reply.toHex(' '));
    QVERIFY(on.master.send(nextRequest));
    QCOMPARE(on.master.receive(nextReply.size(), 10000).toHex(' '), nextReply.toHex(' '));
}

void TestDevSimLines::writesReachHoldingDump_data()
{
    QTest::addColumn<Line>("line");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QList<int>>("registers");
    QTest::addColumn<QList<int>>("values"); // of the registers, in the dump
    QTest::newRow("RTU: the last two registers")
        << Line::Rtu << QStringList() << rtu("01 10 FF FE 00 02 04 12 34 56 78")
        << rtu("01 10 FF FE 00 02") << QList<int> {65534, 65535} << QList<int> {0x1234, 0x5678};
    const QStringList initial {"--holding", "10=5,6,7"};
    QTest::newRow("TCP: two of three initial registers")
        << Line::Tcp << initial << hexBytes("00 02 00 00 00 0B 01 10 00 0B 00 02 04 AB CD 00 01")
        << hexBytes("00 02 00 00 00 06 01 10 00 0B 00 02") << QList<int> {10, 11, 12, 13}
        << QList<int> {5, 0xABCD, 1, 0};
    QTest::newRow("TCP: a refused write changes nothing")
        << Line::Tcp << initial << hexBytes("00 03 00 00 00 0B 01 10 00 0B 00 02 03 99 99 00 01")
        << hexBytes("00 03 00 00 00 03 01 90 03") << QList<int> {10, 11, 12}
        << QList<int> {5, 6, 7};
}

void TestDevSimLines::writesReachHoldingDump()
{
    QFETCH(Line, line);
    QFETCH(QStringList, options);
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, reply);
    QFETCH(QList<int>, registers);
    QFETCH(QList<int>, values);
    SimOnLine on(options);
    QVERIFY2(on.start(line), qPrintable(on.sim.startError()));
    QVERIFY(on.master.send(request));
    QCOMPARE(on.master.receive(reply.size()).toHex(' '), reply.toHex(' '));
    for (int i = 0; i < registers.size(); ++i)
        QCOMPARE(int(on.sim.holding(registers.at(i))), values.at(i));
}

void TestDevSimLines::ignored_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("note");
    QTest::newRow("bad CRC") << QStringList() << hexBytes("01 03 00 00 00 01 0A 84")
                             << QByteArray("bad CRC");
    QTest::newRow("another address") << QStringList() << rtu("02 03 00 00 00 01") << QByteArray();
    QTest::newRow("broadcast") << QStringList() << rtu("00 03 00 00 00 01") << QByteArray();
    QTest::newRow("identification of another address")
        << QStringList {"--device", "3", "--device", "4"} << rtu("05 11") << QByteArray();
    QTest::newRow("serial number, silent device")
        << QStringList {"--sn", "silent"} << rtu("01 41 00 00 00 04 00 E2 FF 1D 01 00 FE FF")
        << QByteArray();
    QTest::newRow("silent fault") << QStringList {"--fault", "silent"} << rtu("01 03 00 00 00 01")
                                  << QByteArray();
    QTest::newRow("drop fault, no connection to drop")
        << QStringList {"--fault", "drop"} << rtu("01 03 00 00 00 01") << QByteArray();
}

void TestDevSimLines::ignored()
{
    QFETCH(QStringList, options);
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, note);
    DevSim sim(options);
    QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
    RawMaster master;
    QVERIFY(master.openSerial(sim.ptyPath()));
    QVERIFY(master.send(request));
    QVERIFY(master.receive(1, 500).isEmpty()); // time-out ended the wait: no reply
    QCOMPARE(sim.requestLog(), QStringList {QString::fromLatin1(request.toHex(' ').toUpper())});
    if (!note.isEmpty())
        QVERIFY2(sim.errorOutput().contains(note), sim.errorOutput().constData());
}

void TestDevSimLines::severalDevices()
{
    DevSim sim({"--device", "1,version=1,sn=101,id=FIRST", "--device",
        "2,version=3,sn=silent,id=SECOND", "--device", "3,version=4,sn=exception,id=THIRD"});
    QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
    RawMaster master;
    QVERIFY(master.openSerial(sim.ptyPath()));
    const struct
    {
        QByteArray request;
        QByteArray reply;
    } steps[] = {
        {rtu("01 11"), rtu("01 11 49 46 53 52 00 54 00 00 00 00")},
        {rtu("02 11"), rtu("02 11 45 53 4F 43 44 4E 00 00 00 00 00 00 00 00")},
        {rtu("03 11"), rtu("03 11 48 54 52 49 00 44 00 00 00 00 00 00 00 00 00 00")},
        {rtu("01 41 00 00 00 04 00 E2 FF 1D 01 00 FE FF"),
            rtu("01 41 0A 00 E2 FF 1D 01 01 00 65 FE FE")},
        {rtu("03 41 00 00 00 04 00 E2 FF 1D 01 00 FE FF"), rtu("03 C1 01")},
    };
    QStringList log;
    for (const auto &step : steps) {
        QVERIFY(master.send(step.request));
        QCOMPARE(master.receive(step.reply.size()).toHex(' '), step.reply.toHex(' '));
        log << QString::fromLatin1(step.request.toHex(' ').toUpper());
    }
    // Device 2 identifies but does not answer its serial number.
    const QByteArray silent = rtu("02 41 00 00 00 04 00 E2 FF 1D 01 00 FE FF");
    QVERIFY(master.send(silent));
    QVERIFY(master.receive(1, 500).isEmpty());
    log << QString::fromLatin1(silent.toHex(' ').toUpper());
    QCOMPARE(sim.requestLog(), log);
    QCOMPARE(sim.macroLog(), QStringList {"read code=226 spec=1 params="});
}

void TestDevSimLines::framesBackToBack()
{
    DevSim sim({"--holding", "1=5"});
    QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
    RawMaster master;
    QVERIFY(master.openSerial(sim.ptyPath()));
    QVERIFY(master.send(rtu("01 03 00 01 00 01") + rtu("02 03 00 01 00 01") + rtu("01 11")));
    const QByteArray expected = rtu("01 03 02 00 05") + rtu("01 11 65 71 44 6C 76 65 69 53 00 6D");
    QCOMPARE(master.receive(expected.size()).toHex(' '), expected.toHex(' '));
    QCOMPARE(sim.requestLog().size(), 3);
}

void TestDevSimLines::frameEndedBySilence()
{
    DevSim sim;
    QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
    RawMaster master;
    QVERIFY(master.openSerial(sim.ptyPath()));
    // Function 0x2B of MEI type 13 has no length the simulator knows: silence
    // ends the frame.
    const QByteArray request = rtu("01 2B 0D 01 00");
    QVERIFY(master.send(request));
    QCOMPARE(master.receive(5).toHex(' '), rtu("01 AB 01").toHex(' '));
    QCOMPARE(sim.requestLog(), QStringList {QString::fromLatin1(request.toHex(' ').toUpper())});
}

void TestDevSimLines::reopenedLine()
{
    DevSim sim({"--input", "0=77"});
    QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
    const QByteArray reply = rtu("01 04 02 00 4D");
    for (int round = 0; round < 3; ++round) {
        RawMaster master;
        QVERIFY(master.openSerial(sim.ptyPath()));
        QVERIFY(master.send(rtu("01 04 00 00 00 01")));
        QCOMPARE(master.receive(reply.size()).toHex(' '), reply.toHex(' '));
    }
    QCOMPARE(sim.requestLog().size(), 3);
}

void TestDevSimLines::replyLog()
{
    DevSim sim({"--input", "0=9", "--count-input", "0", "--fault", "partial=3,request=2", "--fault",
        "bad-crc,request=3"});
    QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
    RawMaster master;
    QVERIFY(master.openSerial(sim.ptyPath()));
    QByteArray badCrc = rtu("01 04 02 00 0B");
    badCrc[5] = static_cast<char>(~badCrc.at(5));
    badCrc[6] = static_cast<char>(~badCrc.at(6));
    const QByteArray read = rtu("01 04 00 00 00 01");
    const struct
    {
        QByteArray request;
        QByteArray reply; // empty: none
    } steps[] = {
        {read, rtu("01 04 02 00 09")},
        {hexBytes("01 04 00 00 00 01 CA 31"), QByteArray()}, // bad CRC: ignored
        {rtu("02 04 00 00 00 01"), QByteArray()}, // another device
        {read, rtu("01 04 02 00 0A").left(3)}, // partial: what went out
        {read, badCrc},
        {read, rtu("01 04 02 00 0C")},
    };
    QStringList replies;
    for (const auto &step : steps) {
        QVERIFY(master.send(step.request));
        // Waits for one byte more than expected: the time-out ends the wait.
        QCOMPARE(master.receive(step.reply.size() + 1, 300).toHex(' '), step.reply.toHex(' '));
        replies << (step.reply.isEmpty() ? QStringLiteral("-")
                                         : QString::fromLatin1(step.reply.toHex(' ').toUpper()));
    }
    QCOMPARE(sim.requestLog().size(), replies.size());
    QCOMPARE(sim.replyLog(), replies);
}

void TestDevSimLines::broadcastWrite_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("reply");
    QTest::newRow("carried out, not answered") << QStringList {"--address", "4"} << QByteArray();
    QTest::newRow("answered when asked")
        << QStringList {"--address", "4", "--answer-broadcast"} << rtu("04 10 00 05 00 01");
    QTest::newRow("silent fault: not carried out")
        << QStringList {"--address", "4", "--fault", "silent"} << QByteArray();
}

void TestDevSimLines::broadcastWrite()
{
    QFETCH(QStringList, options);
    QFETCH(QByteArray, reply);
    DevSim sim(options);
    QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
    RawMaster master;
    QVERIFY(master.openSerial(sim.ptyPath()));
    QVERIFY(master.send(rtu("00 10 00 05 00 01 02 00 2A")));
    if (reply.isEmpty())
        QVERIFY(master.receive(1, 500).isEmpty()); // time-out ended the wait
    else
        QCOMPARE(master.receive(reply.size()).toHex(' '), reply.toHex(' '));
    const bool silenced = options.contains("silent");
    QCOMPARE(sim.holding(5), quint16(silenced ? 0 : 42));
    // A broadcast read is never carried out without being asked for.
    QVERIFY(master.send(rtu("00 03 00 05 00 01")));
    if (reply.isEmpty())
        QVERIFY(master.receive(1, 500).isEmpty());
    else
        QCOMPARE(master.receive(7).toHex(' '),
            rtu(silenced ? "04 03 02 00 00" : "04 03 02 00 2A").toHex(' '));
}

void TestDevSimLines::exclusiveUseEndsWithItsUser()
{
    DevSim sim({"--input", "0=1"});
    QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
    const QByteArray path = sim.ptyPath().toLocal8Bit();
    // A master takes the line for itself and ends without giving it back.
    const int first = ::open(path.constData(), O_RDWR | O_NOCTTY);
    QVERIFY(first >= 0);
    QCOMPARE(ioctl(first, TIOCEXCL), 0);
    int exclusive = 0;
    QCOMPARE(ioctl(first, TIOCGEXCL, &exclusive), 0);
    QCOMPARE(exclusive, 1);
    ::close(first);
    // Two round trips: the simulator has seen the close by the end of them.
    RawMaster master;
    QVERIFY(master.openSerial(sim.ptyPath()));
    const QByteArray reply = rtu("01 04 02 00 01");
    for (int i = 0; i < 2; ++i) {
        QVERIFY(master.send(rtu("01 04 00 00 00 01")));
        QCOMPARE(master.receive(reply.size()).toHex(' '), reply.toHex(' '));
    }
    const int second = ::open(path.constData(), O_RDWR | O_NOCTTY);
    QVERIFY(second >= 0);
    QCOMPARE(ioctl(second, TIOCGEXCL, &exclusive), 0);
    ::close(second);
    QCOMPARE(exclusive, 0);
}

void TestDevSimLines::serialDevice_data()
{
    QTest::addColumn<QStringList>("lineOptions");
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("parity");
    QTest::addColumn<int>("stopBits");
    QTest::newRow("9600 8E1") << QStringList {"--baud", "9600", "--parity", "E"} << int(B9600)
                              << int(PARENB) << 0;
    QTest::newRow("19200 8O2") << QStringList {"--baud", "19200", "--parity", "O", "--stop-bits",
        "2"} << int(B19200) << int(PARENB | PARODD)
                               << int(CSTOPB);
    QTest::newRow("default 115200 8N1") << QStringList() << int(B115200) << 0 << 0;
}

void TestDevSimLines::serialDevice()
{
    QFETCH(QStringList, lineOptions);
    QFETCH(int, speed);
    QFETCH(int, parity);
    QFETCH(int, stopBits);
    // A pseudo-terminal of the test's own stands in for the serial device:
    // the simulator opens its slave side, the test talks through its master side.
    int masterFd = -1;
    int slaveFd = -1;
    char name[256] = {};
    QCOMPARE(openpty(&masterFd, &slaveFd, name, nullptr, nullptr), 0);
    DevSim sim({"--input", "0=3"});
    const bool started = sim.startSerial(QString::fromLocal8Bit(name), lineOptions);
    termios settings {};
    const bool read = tcgetattr(slaveFd, &settings) == 0;
    ::close(slaveFd);
    const QByteArray request = rtu("01 04 00 00 00 01");
    const bool sent
        = ::write(masterFd, request.constData(), size_t(request.size())) == request.size();
    QByteArray reply;
    pollfd entry {masterFd, POLLIN, 0};
    while (reply.size() < 7 && poll(&entry, 1, 10000) == 1) {
        char buffer[64];
        const ssize_t got = ::read(masterFd, buffer, sizeof buffer);
        if (got <= 0)
            break;
        reply.append(buffer, int(got));
    }
    ::close(masterFd);
    QVERIFY2(started, qPrintable(sim.startError()));
    QVERIFY(read);
    QCOMPARE(int(cfgetospeed(&settings)), speed);
    // A pseudo-terminal keeps no parity-enable bit (it clears PARENB), but odd
    // parity still shows as PARODD.
    QCOMPARE(int(settings.c_cflag & PARODD), parity & PARODD);
    QCOMPARE(int(settings.c_cflag & CSTOPB), stopBits);
    QCOMPARE(int(settings.c_cflag & CSIZE), int(CS8));
    QCOMPARE(int(settings.c_lflag & (ICANON | ECHO)), 0);
    QVERIFY(sent);
    QCOMPARE(reply.toHex(' '), rtu("01 04 02 00 03").toHex(' '));
}

void TestDevSimLines::silence_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("silent") << "silent";
    QTest::newRow("silent for function 16") << "silent,function=16";
    QTest::newRow("silent for unit 1") << "silent,address=1";
}

void TestDevSimLines::silence()
{
    QFETCH(QString, fault);
    DevSim sim({"--fault", fault, "--no-macros"});
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    RawMaster master;
    QVERIFY(master.openTcp(sim.tcpPort()));
    QVERIFY(master.send(hexBytes("00 01 00 00 00 09 01 10 00 00 00 01 02 12 34")));
    // The wait ends by its time-out: no reply.
    QVERIFY(master.receive(1, 500).isEmpty());
    QCOMPARE(sim.requestLog().size(), 1);
    // A silent device did not carry the write out.
    QCOMPARE(sim.holding(0), quint16(0));
}

void TestDevSimLines::faultScopes()
{
    DevSim sim({"--holding", "0=11", "--input", "0=22", "--fault", "exception=6,request=2",
        "--fault", "exception=5,function=4"});
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    RawMaster master;
    QVERIFY(master.openTcp(sim.tcpPort()));
    const QByteArray holding = hexBytes("00 01 00 00 00 06 01 03 00 00 00 01");
    const QByteArray input = hexBytes("00 01 00 00 00 06 01 04 00 00 00 01");
    const struct
    {
        QByteArray request;
        QByteArray reply;
    } steps[] = {
        {holding, hexBytes("00 01 00 00 00 05 01 03 02 00 0B")},
        {holding, hexBytes("00 01 00 00 00 03 01 83 06")},
        {holding, hexBytes("00 01 00 00 00 05 01 03 02 00 0B")},
        {input, hexBytes("00 01 00 00 00 03 01 84 05")},
    };
    for (const auto &step : steps) {
        QVERIFY(master.send(step.request));
        QCOMPARE(master.receive(step.reply.size()).toHex(' '), step.reply.toHex(' '));
    }
}

void TestDevSimLines::droppedConnection()
{
    DevSim sim({"--fault", "drop,request=1"});
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    {
        RawMaster master;
        QVERIFY(master.openTcp(sim.tcpPort()));
        QVERIFY(master.send(hexBytes("00 01 00 00 00 06 01 03 00 00 00 01")));
        QVERIFY(master.waitForClose(10000));
        QVERIFY(master.receive(1, 100).isEmpty());
    }
    // The server goes on serving new connections.
    const QByteArray reply = hexBytes("00 01 00 00 00 05 01 03 02 00 00");
    QCOMPARE(
        exchangeOnce(sim, hexBytes("00 01 00 00 00 06 01 03 00 00 00 01"), reply.size()), reply);
}

void TestDevSimLines::connectionsLogged()
{
    // Each connection is a line of both logs before its frames, so the logs
    // still pair line by line and show what one connection carried.
    DevSim sim;
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    const QByteArray request = hexBytes("00 01 00 00 00 06 01 03 00 00 00 01");
    const QByteArray reply = hexBytes("00 01 00 00 00 05 01 03 02 00 00");
    QStringList ports;
    for (int connection = 0; connection < 2; ++connection) {
        RawMaster master;
        QVERIFY(master.openTcp(sim.tcpPort()));
        for (int i = 0; i < connection + 1; ++i) {
            QVERIFY(master.send(request));
            QCOMPARE(master.receive(reply.size()), reply);
        }
        ports << QString::number(master.localPort());
    }
    QCOMPARE(sim.connectionLog(),
        QStringList({"connection 1 from 127.0.0.1:" + ports.at(0),
            "connection 2 from 127.0.0.1:" + ports.at(1)}));
    QCOMPARE(sim.requestLog().size(), 3);
    QCOMPARE(sim.replyLog().size(), 3);
}

void TestDevSimLines::closedAfterTheReply()
{
    // "close": the reply goes out whole, then the connection ends; a new one
    // is served as ever.
    DevSim sim({"--fault", "close,every=2"});
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    const QByteArray reply = hexBytes("00 01 00 00 00 05 01 03 02 00 00");
    RawMaster master;
    QVERIFY(master.openTcp(sim.tcpPort()));
    QVERIFY(master.send(hexBytes("00 01 00 00 00 06 01 03 00 00 00 01")));
    QCOMPARE(master.receive(reply.size()), reply);
    QVERIFY(master.send(hexBytes("00 01 00 00 00 06 01 03 00 00 00 01")));
    QCOMPARE(master.receive(reply.size()), reply);
    QVERIFY(master.waitForClose(10000));
    QCOMPARE(
        exchangeOnce(sim, hexBytes("00 01 00 00 00 06 01 03 00 00 00 01"), reply.size()), reply);
    QCOMPARE(sim.connectionLog().size(), 2);
    QCOMPARE(sim.replyLog().size(), 3);
}

void TestDevSimLines::delayedReply()
{
    DevSim sim({"--fault", "delay=3000"});
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    RawMaster master;
    QVERIFY(master.openTcp(sim.tcpPort()));
    QVERIFY(master.send(hexBytes("00 01 00 00 00 06 01 03 00 00 00 01")));
    QVERIFY(master.receive(1, 500).isEmpty()); // time-out ended the wait
    const QByteArray reply = hexBytes("00 01 00 00 00 05 01 03 02 00 00");
    QCOMPARE(master.receive(reply.size(), 20000), reply);
}

void TestDevSimLines::countingRegisters()
{
    DevSim sim(
        {"--holding", "99=7,65534", "--count-holding", "100", "--input", "5=1", "--count-input",
            "5=-2", "--fault", "silent,request=4", "--fault", "exception=4,request=5"});
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    RawMaster master;
    QVERIFY(master.openTcp(sim.tcpPort()));
    const QByteArray holding = hexBytes("00 01 00 00 00 06 01 03 00 63 00 02");
    const QByteArray input = hexBytes("00 02 00 00 00 06 01 04 00 05 00 01");
    const QByteArray below = hexBytes("00 03 00 00 00 06 01 03 00 63 00 01");
    const struct
    {
        QByteArray request;
        QByteArray reply; // empty: none
    } steps[] = {
        {holding, hexBytes("00 01 00 00 00 07 01 03 04 00 07 FF FE")},
        {input, hexBytes("00 02 00 00 00 05 01 04 02 00 01")},
        {below, hexBytes("00 03 00 00 00 05 01 03 02 00 07")}, // 100 not read: no step
        {holding, QByteArray()}, // not carried out: no step
        {holding, hexBytes("00 01 00 00 00 03 01 83 04")}, // nor here
        {holding, hexBytes("00 01 00 00 00 07 01 03 04 00 07 FF FF")},
        {holding, hexBytes("00 01 00 00 00 07 01 03 04 00 07 00 00")}, // wraps
        {input, hexBytes("00 02 00 00 00 05 01 04 02 FF FF")},
    };
    QStringList requests;
    QStringList replies;
    for (const auto &step : steps) {
        QVERIFY(master.send(step.request));
        if (step.reply.isEmpty())
            QVERIFY(master.receive(1, 300).isEmpty());
        else
            QCOMPARE(master.receive(step.reply.size()).toHex(' '), step.reply.toHex(' '));
        requests << QString::fromLatin1(step.request.toHex(' ').toUpper());
        replies << (step.reply.isEmpty() ? QStringLiteral("-")
                                         : QString::fromLatin1(step.reply.toHex(' ').toUpper()));
    }
    QCOMPARE(sim.requestLog(), requests);
    QCOMPARE(sim.replyLog(), replies);
    // The holding dump follows the steps.
    QCOMPARE(sim.holding(100), quint16(1));
}

void TestDevSimLines::requestLogKeepsEveryFrame()
{
    DevSim sim;
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    QVERIFY(sim.requestLog().isEmpty());
    RawMaster master;
    QVERIFY(master.openTcp(sim.tcpPort()));
    // Two frames in one segment, the second one split over two sends.
    QVERIFY(master.send(hexBytes("00 01 00 00 00 06 01 03 00 00 00 01 00 02 00 00 00")));
    QVERIFY(master.send(hexBytes("06 01 04 00 10 00 02")));
    QCOMPARE(master.receive(11 + 13).size(), 24);
    QCOMPARE(sim.requestLog(),
        (QStringList {
            "00 01 00 00 00 06 01 03 00 00 00 01", "00 02 00 00 00 06 01 04 00 10 00 02"}));
}

void TestDevSimLines::macroLog()
{
    DevSim sim;
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    RawMaster master;
    QVERIFY(master.openTcp(sim.tcpPort()));
    QVERIFY(master.send(
        hexBytes("00 05 00 00 00 13 01 10 00 00 00 06 0C 01 02 FE FD 03 02 00 01 02 03 FC FD")));
    QCOMPARE(master.receive(12).size(), 12);
    // Refused: not logged.
    QVERIFY(master.send(
        hexBytes("00 05 00 00 00 13 01 10 00 00 00 06 0C 01 02 FE FD 03 02 00 01 02 03 FC FC")));
    QCOMPARE(master.receive(9).size(), 9);
    QVERIFY(
        master.send(hexBytes("00 07 00 00 00 10 01 41 00 00 00 05 00 E0 FF 1F 01 01 00 02 FE FE")));
    QCOMPARE(master.receive(7 + 2 + 104).size(), 113);
    QCOMPARE(sim.macroLog(),
        (QStringList {"write code=258 spec=3 params=1 515", "read code=224 spec=1 params=2"}));
    // Macros do not touch the registers.
    QCOMPARE(sim.holding(0), quint16(0));
    QCOMPARE(sim.holding(1), quint16(0));
}

void TestDevSimLines::registerFiles()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString image = folder.filePath("image.bin");
    QFile file(image);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(hexBytes("01 00 AB 00 FF FF"));
    file.close();
    DevSim sim({"--holding-file", "200=" + image, "--input-file", image, "--holding", "201=9"});
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    QCOMPARE(sim.holding(200), quint16(1));
    QCOMPARE(sim.holding(201), quint16(9)); // later options win
    QCOMPARE(sim.holding(202), quint16(65535));
    QCOMPARE(sim.input(0), quint16(1));
    QCOMPARE(sim.input(1), quint16(171));
    QCOMPARE(sim.input(2), quint16(65535));
    const QByteArray reply = hexBytes("00 01 00 00 00 09 01 03 06 00 01 00 09 FF FF");
    QCOMPARE(
        exchangeOnce(sim, hexBytes("00 01 00 00 00 06 01 03 00 C8 00 03"), reply.size()), reply);

    // An odd-length image is refused at start.
    QFile odd(folder.filePath("odd.bin"));
    QVERIFY(odd.open(QIODevice::WriteOnly));
    odd.write("abc");
    odd.close();
    const ProgramResult result = runProgram(
        programPath("qelDevSim"), {"--tcp", "127.0.0.1:0", "--holding-file", odd.fileName()});
    QVERIFY(result.finished);
    QCOMPARE(result.exitCode, 1);
    QVERIFY(result.out.isEmpty());
    QVERIFY2(result.err.contains("odd length"), result.err.constData());
}

void TestDevSimLines::badLengthFieldClosesConnection()
{
    DevSim sim;
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    RawMaster master;
    QVERIFY(master.openTcp(sim.tcpPort()));
    QVERIFY(master.send(hexBytes("00 01 00 00 01 06 01 03 00 00 00 01")));
    QVERIFY(master.waitForClose(10000));
    QCOMPARE(sim.requestLog(), QStringList {"00 01 00 00 01 06 01 03 00 00 00 01"});
}

// A master that sends request after request without reading its replies is
// held back: the simulator takes its requests only while few replies wait
// for it, so neither grows without end. Once the master reads, every request
// it sent is answered in turn, and other masters are served all along.
void TestDevSimLines::masterThatDoesNotRead()
{
    DevSim sim;
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    QVERIFY(fd >= 0);
    // Small buffers on the master's side too: the system's buffers cannot
    // take the whole stream, so what the simulator takes shows.
    const int bufferBytes = 4096;
    ::setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &bufferBytes, sizeof bufferBytes);
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &bufferBytes, sizeof bufferBytes);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(sim.tcpPort());
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address);
    pollfd entry {fd, POLLOUT, 0};
    QCOMPARE(::poll(&entry, 1, 10000), 1);

    // 125 input registers: 12 bytes asked, 259 answered.
    const QByteArray request = hexBytes("00 01 00 00 00 06 01 04 00 00 00 7D");
    const QByteArray reply = hexBytes("00 01 00 00 00 FD 01 04 FA") + QByteArray(250, '\0');
    const QByteArray stream = request.repeated(100);
    const qint64 offered = qint64(100000) * request.size();
    qint64 sent = 0;
    for (;;) {
        entry = {fd, POLLOUT, 0};
        if (sent == offered || ::poll(&entry, 1, 2000) != 1)
            break; // all sent, or held back for 2 s
        const qint64 at = sent % stream.size();
        const ssize_t count = ::send(fd, stream.constData() + at,
            size_t(qMin(stream.size() - at, offered - sent)), MSG_NOSIGNAL);
        QVERIFY2(count > 0 || errno == EAGAIN, strerror(errno));
        sent += qMax<ssize_t>(count, 0);
    }
    QVERIFY2(sent < offered, "the simulator took every request");
    const int taken = sim.requestLog().size();
    QVERIFY2(qint64(taken) * reply.size() < 1024 * 1024, qPrintable(QString::number(taken)));

    // Another master is served meanwhile.
    const QByteArray shortReply = hexBytes("00 01 00 00 00 05 01 03 02 00 00");
    QCOMPARE(exchangeOnce(sim, hexBytes("00 01 00 00 00 06 01 03 00 00 00 01"), shortReply.size()),
        shortReply);

    // Once the master reads, each whole request it sent gets its reply.
    const qint64 expected = sent / request.size() * reply.size();
    QByteArray received;
    const QDeadlineTimer deadline(60000);
    while (received.size() < expected && !deadline.hasExpired()) {
        entry = {fd, POLLIN, 0};
        if (::poll(&entry, 1, int(qMax<qint64>(1, deadline.remainingTime()))) != 1)
            continue;
        char buffer[65536];
        const ssize_t count = ::recv(fd, buffer, sizeof buffer, 0);
        if (count <= 0)
            break;
        received.append(buffer, int(count));
    }
    ::close(fd);
    QCOMPARE(qint64(received.size()), expected);
    QVERIFY(received == reply.repeated(int(sent / request.size())));
}

void TestDevSimLines::cleanShutdown()
{
    DevSim sim;
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    QVERIFY(sim.isRunning());
    sim.stop();
    QVERIFY(!sim.isRunning());
    QCOMPARE(sim.exitCode(), 0);
}

void TestDevSimLines::interruptEndsIt()
{
    QProcess process;
    process.start(programPath("qelDevSim"), {"--tcp", "127.0.0.1:0"});
    QVERIFY(process.waitForStarted(30000));
    while (!process.canReadLine() && process.waitForReadyRead(30000)) { }
    QVERIFY(process.readLine().startsWith("127.0.0.1:"));
    QCOMPARE(::kill(static_cast<pid_t>(process.processId()), SIGINT), 0);
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
}

void TestDevSimLines::endsWithItsStarter()
{
    // A shell starts the simulator and says its process id; killing the shell
    // must end the simulator too.
    QProcess shell;
    shell.start("/bin/sh",
        {"-c", "\"$0\" --exit-with-parent --tcp 127.0.0.1:0 & echo $!; wait",
            programPath("qelDevSim")});
    QVERIFY(shell.waitForStarted(30000));
    QByteArray out;
    while (out.count('\n') < 2 && shell.waitForReadyRead(30000))
        out += shell.readAllStandardOutput();
    // The two lines come in either order: the process id and "127.0.0.1:PORT".
    pid_t simulator = 0;
    const QList<QByteArray> lines = out.split('\n');
    for (const QByteArray &line : lines) {
        if (!line.isEmpty() && !line.contains(':'))
            simulator = static_cast<pid_t>(line.toInt());
    }
    QVERIFY2(simulator > 0 && out.contains("127.0.0.1:"), out.constData());
    const int handle = static_cast<int>(syscall(SYS_pidfd_open, simulator, 0));
    QVERIFY2(handle >= 0, "pidfd_open");
    shell.kill();
    QVERIFY(shell.waitForFinished(30000));
    pollfd entry {handle, POLLIN, 0};
    const int ready = poll(&entry, 1, 30000);
    ::close(handle);
    QCOMPARE(ready, 1); // the simulator ended, not the time-out
}

void TestDevSimLines::usage()
{
    const ProgramResult result = runProgram(programPath("qelDevSim"), {"--help"});
    QVERIFY(result.finished);
    QCOMPARE(result.exitCode, 0);
    for (const char *option : {"--tcp", "--pty", "--serial", "--device", "--holding", "--input",
             "--holding-file", "--demo", "--dump-holding", "--log", "--macro-log", "--macro-answer",
             "--fault", "--answer-broadcast", "--sn", "--count-holding", "--count-input",
             "--reply-log", "trickle="})
        QVERIFY2(result.out.contains(option), option);
}

void TestDevSimLines::badCommandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("unknown option") << QStringList {"--colour", "red"} << QByteArray("--colour");
    QTest::newRow("bad fault") << QStringList {"--fault", "delay"} << QByteArray("delay=N");
    QTest::newRow("bad register value")
        << QStringList {"--holding", "1=70000"} << QByteArray("70000");
    QTest::newRow("not an address")
        << QStringList {"--tcp", "256.1.1.1:0"} << QByteArray("256.1.1.1");
    // A file the simulator is to write needs a name: an empty one left it
    // unwritten without a word.
    for (const char *option :
        {"--dump-holding", "--dump-input", "--log", "--macro-log", "--reply-log", "--tls-log"}) {
        QTest::addRow("%s with an empty name", option) << QStringList {"--tcp", "127.0.0.1:0",
            option, ""} << "invalid value \"\" for " + QByteArray(option) + ": an empty file name";
    }
    QTest::newRow("framing of none")
        << QStringList {"--framing", "MBAP"} << QByteArray("RTU or ASCII");
    QTest::newRow("TLS with two files")
        << QStringList {"--tls", "a.pem", "b.pem"} << QByteArray("--tls needs 3 values");
    QTest::newRow("TLS on a serial line")
        << QStringList {"--pty", "--tls", "a", "b", "c"} << QByteArray("--tls needs --tcp");
    QTest::newRow("TLS with a framing") << QStringList {"--tls", "a", "b", "c", "--framing", "RTU"}
                                        << QByteArray("no --framing with it");
    QTest::newRow("TLS files that cannot be read") << QStringList {"--tcp", "127.0.0.1:0", "--tls",
        "missing.pem", "b", "c"} << QByteArray("cannot read missing.pem");
}

void TestDevSimLines::badCommandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, message);
    const ProgramResult result = runProgram(programPath("qelDevSim"), arguments, 30000);
    QVERIFY(result.finished);
    QVERIFY(result.exitCode != 0);
    QVERIFY(result.out.isEmpty());
    QVERIFY2(result.err.contains(message), result.err.constData());
}

QTEST_GUILESS_MAIN(TestDevSimLines)
#include "tst_devsimlines.moc"
