// qelDevSim over TCP, driven with raw frames: replies, exceptions, macros,
// faults, the request log and the register dump.

#include "devsim.h"
#include "programrun.h"
#include "rawmaster.h"

#include <QtTest>
#include <csignal>
#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>

class TestDevSimTcp : public QObject
{
    Q_OBJECT
private slots:
    void exchange_data();
    void exchange();
    void fault_data();
    void fault();
    void silence_data();
    void silence();
    void faultScopes();
    void droppedConnection();
    void delayedReply();
    void stallInMidFrame();
    void trickle();
    void writesReachHoldingDump();
    void countingRegisters();
    void requestLogKeepsEveryFrame();
    void macroLog();
    void registerFiles();
    void badLengthFieldClosesConnection();
    void cleanShutdown();
    void interruptEndsIt();
    void endsWithItsStarter();
    void usage();
    void badCommandLine_data();
    void badCommandLine();
};

namespace {

QByteArray exchangeOnce(DevSim &sim, const QByteArray &request, int replyLength)
{
    RawMaster master;
    if (!master.openTcp(sim.tcpPort()) || !master.send(request))
        return "not sent";
    return master.receive(replyLength);
}

} // namespace

void TestDevSimTcp::exchange_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("reply");
    const QStringList registers {
        "--holding", "100=1234,0xFB2E,7", "--input", "0=2305,65535", "--holding", "65535=0xBEEF"};
    QTest::newRow("read holding") << registers << hexBytes("00 01 00 00 00 06 01 03 00 64 00 03")
                                  << hexBytes("00 01 00 00 00 09 01 03 06 04 D2 FB 2E 00 07");
    QTest::newRow("read input") << registers << hexBytes("12 34 00 00 00 06 01 04 00 00 00 02")
                                << hexBytes("12 34 00 00 00 07 01 04 04 09 01 FF FF");
    QTest::newRow("unit 255 is the first device")
        << registers << hexBytes("00 07 00 00 00 06 FF 03 00 65 00 01")
        << hexBytes("00 07 00 00 00 05 FF 03 02 FB 2E");
    QTest::newRow("last register") << registers << hexBytes("00 01 00 00 00 06 01 03 FF FF 00 01")
                                   << hexBytes("00 01 00 00 00 05 01 03 02 BE EF");
    QTest::newRow("125 registers")
        << registers << hexBytes("00 01 00 00 00 06 01 04 00 00 00 7D")
        << hexBytes("00 01 00 00 00 FD 01 04 FA 09 01 FF FF") + QByteArray(246, '\0');
    QTest::newRow("126 registers") << registers << hexBytes("00 01 00 00 00 06 01 03 00 00 00 7E")
                                   << hexBytes("00 01 00 00 00 03 01 83 03");
    QTest::newRow("no register") << registers << hexBytes("00 01 00 00 00 06 01 04 00 00 00 00")
                                 << hexBytes("00 01 00 00 00 03 01 84 03");
    QTest::newRow("beyond register 65535")
        << registers << hexBytes("00 01 00 00 00 06 01 03 FF FF 00 02")
        << hexBytes("00 01 00 00 00 03 01 83 02");
    QTest::newRow("write two registers")
        << registers << hexBytes("00 02 00 00 00 0B 01 10 00 0A 00 02 04 00 01 00 02")
        << hexBytes("00 02 00 00 00 06 01 10 00 0A 00 02");
    QTest::newRow("write with a wrong byte count")
        << registers << hexBytes("00 02 00 00 00 0B 01 10 00 0A 00 02 03 00 01 00 02")
        << hexBytes("00 02 00 00 00 03 01 90 03");
    QTest::newRow("write 124 registers")
        << registers << hexBytes("00 02 00 00 00 07 01 10 00 0A 00 7C 00")
        << hexBytes("00 02 00 00 00 03 01 90 03");
    QTest::newRow("write beyond register 65535")
        << registers << hexBytes("00 02 00 00 00 0B 01 10 FF FF 00 02 04 00 01 00 02")
        << hexBytes("00 02 00 00 00 03 01 90 02");
    QTest::newRow("unknown function") << registers << hexBytes("00 03 00 00 00 03 01 2B 0E")
                                      << hexBytes("00 03 00 00 00 03 01 AB 01");
    QTest::newRow("unknown unit") << registers << hexBytes("00 04 00 00 00 06 07 03 00 64 00 01")
                                  << hexBytes("00 04 00 00 00 03 07 83 0B");
    QTest::newRow("read with a short request")
        << registers << hexBytes("00 04 00 00 00 05 01 03 00 64 00")
        << hexBytes("00 04 00 00 00 03 01 83 03");
    QTest::newRow("macro write")
        << QStringList()
        << hexBytes("00 05 00 00 00 13 01 10 00 00 00 06 0C 01 02 FE FD 03 02 00 01 02 03 FC FD")
        << hexBytes("00 05 00 00 00 06 01 10 00 00 00 06");
    QTest::newRow("macro write, code complement damaged")
        << QStringList()
        << hexBytes("00 05 00 00 00 13 01 10 00 00 00 06 0C 01 02 FE FC 03 02 00 01 02 03 FC FD")
        << hexBytes("00 05 00 00 00 03 01 90 03");
    QTest::newRow("macro write, specification complement damaged")
        << QStringList()
        << hexBytes("00 05 00 00 00 13 01 10 00 00 00 06 0C 01 02 FE FD 03 02 00 01 02 03 FD FD")
        << hexBytes("00 05 00 00 00 03 01 90 03");
    QTest::newRow("macro write, count complement damaged")
        << QStringList()
        << hexBytes("00 05 00 00 00 13 01 10 00 00 00 06 0C 01 02 FE FD 03 02 00 01 02 03 FC FC")
        << hexBytes("00 05 00 00 00 03 01 90 03");
    QTest::newRow("macro write, count does not fit the length")
        << QStringList()
        << hexBytes("00 05 00 00 00 13 01 10 00 00 00 06 0C 01 02 FE FD 03 01 00 01 02 03 FC FE")
        << hexBytes("00 05 00 00 00 03 01 90 03");
    QTest::newRow("write at register 0 with macros off")
        << QStringList {"--no-macros"} << hexBytes("00 06 00 00 00 09 01 10 00 00 00 01 02 12 34")
        << hexBytes("00 06 00 00 00 06 01 10 00 00 00 01");
    QTest::newRow("macro read, serial number")
        << QStringList {"--sn", "4660"}
        << hexBytes("00 07 00 00 00 0E 01 41 00 00 00 04 00 E2 FF 1D 01 00 FE FF")
        << hexBytes("00 07 00 00 00 0D 01 41 0A 00 E2 FF 1D 01 01 12 34 FE FE");
    QTest::newRow("macro read, device info")
        << QStringList {"--device-info", "5,6,7"}
        << hexBytes("00 07 00 00 00 0E 01 41 00 00 00 04 00 E1 FF 1E 01 00 FE FF")
        << hexBytes("00 07 00 00 00 11 01 41 0E 00 E1 FF 1E 01 03 00 05 00 06 00 07 FE FC");
    QTest::newRow("macro read, device key")
        << QStringList {"--device-key", "0xA1B2,0xC3D4"}
        << hexBytes("00 07 00 00 00 0E 01 41 00 00 00 04 00 DC FF 23 01 00 FE FF")
        << hexBytes("00 07 00 00 00 0F 01 41 0C 00 DC FF 23 01 02 A1 B2 C3 D4 FE FD");
    QTest::newRow("macro read, events count")
        << QStringList {"--events-count", "1,2"}
        << hexBytes("00 07 00 00 00 0E 01 41 00 00 00 04 00 CA FF 35 01 00 FE FF")
        << hexBytes("00 07 00 00 00 0F 01 41 0C 00 CA FF 35 01 02 00 01 00 02 FE FD");
    QTest::newRow("macro read, override with no words")
        << QStringList {"--macro-answer", "226="}
        << hexBytes("00 07 00 00 00 0E 01 41 00 00 00 04 00 E2 FF 1D 01 00 FE FF")
        << hexBytes("00 07 00 00 00 0B 01 41 08 00 E2 FF 1D 01 00 FE FF");
    QTest::newRow("macro read, override of another code")
        << QStringList {"--macro-answer", "0x0102=9"}
        << hexBytes("00 07 00 00 00 12 01 41 00 00 00 06 01 02 FE FD 03 02 00 01 02 03 FC FD")
        << hexBytes("00 07 00 00 00 0D 01 41 0A 01 02 FE FD 03 01 00 09 FC FE");
    QTest::newRow("macro read, code without data")
        << QStringList()
        << hexBytes("00 07 00 00 00 12 01 41 00 00 00 06 01 02 FE FD 03 02 00 01 02 03 FC FD")
        << hexBytes("00 07 00 00 00 03 01 C1 01");
    QTest::newRow("macro read, damaged")
        << QStringList() << hexBytes("00 07 00 00 00 0E 01 41 00 00 00 04 00 E2 FF 1D 01 00 FE FE")
        << hexBytes("00 07 00 00 00 03 01 C1 03");
    QTest::newRow("macro read, quantity does not fit")
        << QStringList() << hexBytes("00 07 00 00 00 0E 01 41 00 00 00 05 00 E2 FF 1D 01 00 FE FF")
        << hexBytes("00 07 00 00 00 03 01 C1 03");
    QTest::newRow("macro read, serial number exception")
        << QStringList {"--sn", "exception"}
        << hexBytes("00 07 00 00 00 0E 01 41 00 00 00 04 00 E2 FF 1D 01 00 FE FF")
        << hexBytes("00 07 00 00 00 03 01 C1 01");
    QTest::newRow("identification, version 2")
        << QStringList {"--id-version", "2", "--id-text", "RB4-x"}
        << hexBytes("00 08 00 00 00 02 01 11")
        << hexBytes("00 08 00 00 00 0E 01 11 42 52 2D 34 00 78 00 00 00 00 00 00");
    QTest::newRow("demo F32 3.14159")
        << QStringList {"--demo"} << hexBytes("00 09 00 00 00 06 01 03 00 6A 00 02")
        << hexBytes("00 09 00 00 00 07 01 03 04 0F D0 40 49");
}

void TestDevSimTcp::exchange()
{
    QFETCH(QStringList, options);
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, reply);
    DevSim sim(options);
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    RawMaster master;
    QVERIFY(master.openTcp(sim.tcpPort()));
    QVERIFY(master.send(request));
    QCOMPARE(master.receive(reply.size()).toHex(' '), reply.toHex(' '));
    // Nothing follows the reply.
    QVERIFY(master.receive(1, 200).isEmpty());
    QCOMPARE(sim.requestLog(), QStringList {QString::fromLatin1(request.toHex(' ').toUpper())});
}

void TestDevSimTcp::fault_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("reply");
    const QByteArray read = hexBytes("00 06 00 00 00 06 01 03 00 00 00 01");
    const QByteArray macro
        = hexBytes("00 07 00 00 00 0E 01 41 00 00 00 04 00 E2 FF 1D 01 00 FE FF");
    QTest::newRow("exception 4") << "exception=4" << read << hexBytes("00 06 00 00 00 03 01 83 04");
    QTest::newRow("exception 12") << "exception=12" << read
                                  << hexBytes("00 06 00 00 00 03 01 83 0C");
    QTest::newRow("stale transaction")
        << "bad-transaction" << read << hexBytes("00 05 00 00 00 05 01 03 02 00 00");
    QTest::newRow("transaction 0x1234")
        << "bad-transaction=0x1234" << read << hexBytes("12 34 00 00 00 05 01 03 02 00 00");
    QTest::newRow("protocol 1") << "bad-protocol" << read
                                << hexBytes("00 06 00 01 00 05 01 03 02 00 00");
    QTest::newRow("other unit") << "other-address=7" << read
                                << hexBytes("00 06 00 00 00 05 07 03 02 00 00");
    QTest::newRow("two bytes more")
        << "length" << read << hexBytes("00 06 00 00 00 07 01 03 04 00 00 00 00");
    QTest::newRow("bad CRC changes nothing over TCP")
        << "bad-crc" << read << hexBytes("00 06 00 00 00 05 01 03 02 00 00");
    QTest::newRow("partial reply") << "partial" << read << hexBytes("00 06 00 00 00");
    QTest::newRow("first 3 bytes") << "partial=3" << read << hexBytes("00 06 00");
    QTest::newRow("code complement")
        << "bad-code-complement" << macro
        << hexBytes("00 07 00 00 00 0D 01 41 0A 00 E2 FF 1C 01 01 30 39 FE FE");
    QTest::newRow("specification complement")
        << "bad-spec-complement" << macro
        << hexBytes("00 07 00 00 00 0D 01 41 0A 00 E2 FF 1D 01 01 30 39 FF FE");
    QTest::newRow("count complement")
        << "bad-count-complement" << macro
        << hexBytes("00 07 00 00 00 0D 01 41 0A 00 E2 FF 1D 01 01 30 39 FE FF");
    QTest::newRow("macro reply two bytes longer")
        << "length=2" << macro
        << hexBytes("00 07 00 00 00 0F 01 41 0C 00 E2 FF 1D 01 01 30 39 FE FE 00 00");
}

void TestDevSimTcp::fault()
{
    QFETCH(QString, fault);
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, reply);
    DevSim sim({"--fault", fault});
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    RawMaster master;
    QVERIFY(master.openTcp(sim.tcpPort()));
    QVERIFY(master.send(request));
    QCOMPARE(master.receive(reply.size()).toHex(' '), reply.toHex(' '));
    QVERIFY(master.receive(1, 300).isEmpty());
}

void TestDevSimTcp::silence_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("silent") << "silent";
    QTest::newRow("silent for function 16") << "silent,function=16";
    QTest::newRow("silent for unit 1") << "silent,address=1";
}

void TestDevSimTcp::silence()
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

void TestDevSimTcp::faultScopes()
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

void TestDevSimTcp::droppedConnection()
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

void TestDevSimTcp::delayedReply()
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

void TestDevSimTcp::stallInMidFrame()
{
    DevSim sim({"--fault", "stall=3000"});
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    RawMaster master;
    QVERIFY(master.openTcp(sim.tcpPort()));
    QVERIFY(master.send(hexBytes("00 01 00 00 00 06 01 03 00 00 00 01")));
    const QByteArray reply = hexBytes("00 01 00 00 00 05 01 03 02 00 00");
    QCOMPARE(master.receive(reply.size() / 2), reply.left(reply.size() / 2));
    QVERIFY(master.receive(1, 500).isEmpty()); // the stall: time-out ended the wait
    QCOMPARE(master.receive(reply.size() - reply.size() / 2, 20000), reply.mid(reply.size() / 2));
}

void TestDevSimTcp::trickle()
{
    DevSim sim({"--holding", "0=0x1234", "--fault", "trickle=300,request=1"});
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    RawMaster master;
    QVERIFY(master.openTcp(sim.tcpPort()));
    const QByteArray request = hexBytes("00 01 00 00 00 06 01 03 00 00 00 01");
    const QByteArray reply = hexBytes("00 01 00 00 00 05 01 03 02 12 34");
    QVERIFY(master.send(request));
    QByteArray received = master.receive(1);
    QCOMPARE(received, reply.left(1));
    // The other ten bytes take 3 s: the short wait ends with only a few of them.
    received += master.receive(reply.size() - 1, 200);
    QVERIFY(received.size() < reply.size());
    received += master.receive(reply.size() - received.size(), 30000);
    QCOMPARE(received.toHex(' '), reply.toHex(' '));
    // The next reply goes out whole.
    QVERIFY(master.send(request));
    QCOMPARE(master.receive(reply.size(), 10000).toHex(' '), reply.toHex(' '));
}

void TestDevSimTcp::writesReachHoldingDump()
{
    DevSim sim({"--holding", "10=5,6,7"});
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    QCOMPARE(sim.holding(11), quint16(6));
    const QByteArray reply = hexBytes("00 02 00 00 00 06 01 10 00 0B 00 02");
    QCOMPARE(exchangeOnce(
                 sim, hexBytes("00 02 00 00 00 0B 01 10 00 0B 00 02 04 AB CD 00 01"), reply.size()),
        reply);
    QCOMPARE(sim.holding(10), quint16(5));
    QCOMPARE(sim.holding(11), quint16(0xABCD));
    QCOMPARE(sim.holding(12), quint16(1));
    QCOMPARE(sim.holding(13), quint16(0));
    // A refused write changes nothing.
    exchangeOnce(sim, hexBytes("00 03 00 00 00 0B 01 10 00 0B 00 02 03 99 99 00 01"), 9);
    QCOMPARE(sim.holding(11), quint16(0xABCD));
}

void TestDevSimTcp::countingRegisters()
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

void TestDevSimTcp::requestLogKeepsEveryFrame()
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

void TestDevSimTcp::macroLog()
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

void TestDevSimTcp::registerFiles()
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

void TestDevSimTcp::badLengthFieldClosesConnection()
{
    DevSim sim;
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    RawMaster master;
    QVERIFY(master.openTcp(sim.tcpPort()));
    QVERIFY(master.send(hexBytes("00 01 00 00 01 06 01 03 00 00 00 01")));
    QVERIFY(master.waitForClose(10000));
    QCOMPARE(sim.requestLog(), QStringList {"00 01 00 00 01 06 01 03 00 00 00 01"});
}

void TestDevSimTcp::cleanShutdown()
{
    DevSim sim;
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    QVERIFY(sim.isRunning());
    sim.stop();
    QVERIFY(!sim.isRunning());
    QCOMPARE(sim.exitCode(), 0);
}

void TestDevSimTcp::interruptEndsIt()
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

void TestDevSimTcp::endsWithItsStarter()
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

void TestDevSimTcp::usage()
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

void TestDevSimTcp::badCommandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("unknown option") << QStringList {"--colour", "red"} << QByteArray("--colour");
    QTest::newRow("bad fault") << QStringList {"--fault", "delay"} << QByteArray("delay=N");
    QTest::newRow("bad register value")
        << QStringList {"--holding", "1=70000"} << QByteArray("70000");
    QTest::newRow("not an address")
        << QStringList {"--tcp", "256.1.1.1:0"} << QByteArray("256.1.1.1");
}

void TestDevSimTcp::badCommandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, message);
    const ProgramResult result = runProgram(programPath("qelDevSim"), arguments);
    QVERIFY(result.finished);
    QVERIFY(result.exitCode != 0);
    QVERIFY(result.out.isEmpty());
    QVERIFY2(result.err.contains(message), result.err.constData());
}

QTEST_GUILESS_MAIN(TestDevSimTcp)
#include "tst_devsimtcp.moc"
