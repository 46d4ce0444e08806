// qelDevSim on a pseudo-terminal, driven with raw RTU frames: framing, CRC,
// addressing, identification, several devices and the faults of the line.

#include "crc16.h"
#include "devsim.h"
#include "rawmaster.h"

#include <QtTest>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

class TestDevSimRtu : public QObject
{
    Q_OBJECT
private slots:
    void exchange_data();
    void exchange();
    void ignored_data();
    void ignored();
    void fault_data();
    void fault();
    void stallInMidFrame();
    void trickle();
    void severalDevices();
    void framesBackToBack();
    void frameEndedBySilence();
    void reopenedLine();
    void writesReachHoldingDump();
    void replyLog();
    void broadcastWrite_data();
    void broadcastWrite();
    void exclusiveUseEndsWithItsUser();
    void serialDevice_data();
    void serialDevice();
};

namespace {

// The frame with its CRC (checked against known answers in tst_devsimparts).
QByteArray rtu(const char *hex)
{
    return Crc16::appended(hexBytes(hex));
}

} // namespace

void TestDevSimRtu::exchange_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("reply");
    const QStringList registers {"--holding", "0=0x1234", "--input", "5=7,8"};
    QTest::newRow("read holding, spelled out")
        << registers << hexBytes("01 03 00 00 00 01 84 0A") << hexBytes("01 03 02 12 34 B5 33");
    QTest::newRow("read input") << registers << rtu("01 04 00 05 00 02")
                                << rtu("01 04 04 00 07 00 08");
    QTest::newRow("exception") << registers << rtu("01 03 00 00 00 7E") << rtu("01 83 03");
    QTest::newRow("unknown function") << registers << rtu("01 06 00 00 00 01") << rtu("01 86 01");
    QTest::newRow("device at address 9") << QStringList {"--address", "9", "--input", "0=1"}
                                         << rtu("09 04 00 00 00 01") << rtu("09 04 02 00 01");
    QTest::newRow("broadcast answered when asked")
        << QStringList {"--address", "5", "--answer-broadcast"} << rtu("00 03 00 00 00 01")
        << rtu("05 03 02 00 00");
    QTest::newRow("write") << registers << rtu("01 10 00 10 00 02 04 00 01 00 02")
                           << rtu("01 10 00 10 00 02");
    QTest::newRow("macro write") << QStringList()
                                 << rtu("01 10 00 00 00 06 0C 01 02 FE FD 03 02 00 01 02 03 FC FD")
                                 << rtu("01 10 00 00 00 06");
    QTest::newRow("macro write refused")
        << QStringList() << rtu("01 10 00 00 00 06 0C 01 02 FE FD 03 02 00 01 02 03 FC FC")
        << rtu("01 90 03");
    QTest::newRow("macro read, serial number")
        << QStringList {"--sn", "513"} << rtu("01 41 00 00 00 04 00 E2 FF 1D 01 00 FE FF")
        << rtu("01 41 0A 00 E2 FF 1D 01 01 02 01 FE FE");
    // Macro 300 with 117 zero parameter words, then the complements of 1 and 117.
    const QByteArray longest = hexBytes("01 41 00 00 00 79 01 2C FE D3 01 75")
        + QByteArray(234, '\0') + hexBytes("FE 8A");
    QTest::newRow("macro read, 117 parameters") << QStringList {"--macro-answer",
        "300=1"} << Crc16::appended(longest) << rtu("01 41 0A 01 2C FE D3 01 01 00 01 FE FE");
    QTest::newRow("identification, version 1")
        << QStringList {"--id-text", "ABCDEFGHIJ"} << hexBytes("01 11 C0 2C")
        << rtu("01 11 42 41 44 43 46 45 48 47 4A 49");
    QTest::newRow("identification, version 3") << QStringList {"--id-version", "3", "--id-text",
        "QEL"} << rtu("01 11") << rtu("01 11 45 51 00 4C 00 00 00 00 00 00 00 00 00 00");
    QTest::newRow("identification, version 4, a zero inside")
        << QStringList {"--device", "1,version=4,id=AB"} << rtu("01 11")
        << rtu("01 11 42 41 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
}

void TestDevSimRtu::exchange()
{
    QFETCH(QStringList, options);
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, reply);
    DevSim sim(options);
    QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
    RawMaster master;
    QVERIFY(master.openSerial(sim.ptyPath()));
    QVERIFY(master.send(request));
    QCOMPARE(master.receive(reply.size()).toHex(' '), reply.toHex(' '));
    QVERIFY(master.receive(1, 200).isEmpty());
    QCOMPARE(sim.requestLog(), QStringList {QString::fromLatin1(request.toHex(' ').toUpper())});
}

void TestDevSimRtu::ignored_data()
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

void TestDevSimRtu::ignored()
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

void TestDevSimRtu::fault_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("reply");
    const QByteArray read = rtu("01 03 00 00 00 01");
    const QByteArray macro = rtu("01 41 00 00 00 04 00 E2 FF 1D 01 00 FE FF");
    QByteArray badCrc = rtu("01 03 02 00 00");
    badCrc[5] = static_cast<char>(~badCrc.at(5));
    badCrc[6] = static_cast<char>(~badCrc.at(6));
    QTest::newRow("bad CRC") << "bad-crc" << read << badCrc;
    QTest::newRow("reply from address 5") << "other-address=5" << read << rtu("05 03 02 00 00");
    QTest::newRow("exception 2") << "exception=2" << read << rtu("01 83 02");
    QTest::newRow("exception 12") << "exception=12" << read << rtu("01 83 0C");
    QTest::newRow("two bytes more") << "length" << read << rtu("01 03 04 00 00 00 00");
    QTest::newRow("partial") << "partial" << read << rtu("01 03 02 00 00").left(3);
    QTest::newRow("transaction fault changes nothing on RTU")
        << "bad-transaction" << read << rtu("01 03 02 00 00");
    QTest::newRow("code complement")
        << "bad-code-complement" << macro << rtu("01 41 0A 00 E2 FF 1C 01 01 30 39 FE FE");
    QTest::newRow("specification complement")
        << "bad-spec-complement" << macro << rtu("01 41 0A 00 E2 FF 1D 01 01 30 39 FF FE");
    QTest::newRow("count complement")
        << "bad-count-complement" << macro << rtu("01 41 0A 00 E2 FF 1D 01 01 30 39 FE FF");
    QTest::newRow("macro reply two bytes short")
        << "length=-2" << macro << rtu("01 41 08 00 E2 FF 1D 01 01 30 39");
    QTest::newRow("identification one byte short")
        << "length=-1" << rtu("01 11") << rtu("01 11 65 71 44 6C 76 65 69 53 00");
}

void TestDevSimRtu::fault()
{
    QFETCH(QString, fault);
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, reply);
    DevSim sim({"--fault", fault});
    QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
    RawMaster master;
    QVERIFY(master.openSerial(sim.ptyPath()));
    QVERIFY(master.send(request));
    QCOMPARE(master.receive(reply.size()).toHex(' '), reply.toHex(' '));
    QVERIFY(master.receive(1, 300).isEmpty());
}

void TestDevSimRtu::stallInMidFrame()
{
    DevSim sim({"--fault", "stall=2500,function=3"});
    QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
    RawMaster master;
    QVERIFY(master.openSerial(sim.ptyPath()));
    QVERIFY(master.send(rtu("01 03 00 00 00 01")));
    const QByteArray reply = rtu("01 03 02 00 00");
    QCOMPARE(master.receive(3), reply.left(3));
    QVERIFY(master.receive(1, 500).isEmpty()); // the stall: time-out ended the wait
    QCOMPARE(master.receive(4, 20000), reply.mid(3));
}

void TestDevSimRtu::trickle()
{
    DevSim sim({"--input", "0=0x1234,0x5678", "--fault", "trickle=300,function=4"});
    QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
    RawMaster master;
    QVERIFY(master.openSerial(sim.ptyPath()));
    QVERIFY(master.send(rtu("01 04 00 00 00 02")));
    const QByteArray reply = rtu("01 04 04 12 34 56 78");
    QByteArray received = master.receive(1);
    QCOMPARE(received, reply.left(1));
    // The other eight bytes take 2.4 s: the short wait ends with only a few of them.
    received += master.receive(reply.size() - 1, 200);
    QVERIFY(received.size() < reply.size());
    received += master.receive(reply.size() - received.size(), 30000);
    QCOMPARE(received.toHex(' '), reply.toHex(' '));
    // Other functions are not touched.
    QVERIFY(master.send(rtu("01 03 00 00 00 01")));
    QCOMPARE(master.receive(7, 10000).toHex(' '), rtu("01 03 02 00 00").toHex(' '));
}

void TestDevSimRtu::severalDevices()
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

void TestDevSimRtu::framesBackToBack()
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

void TestDevSimRtu::frameEndedBySilence()
{
    DevSim sim;
    QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
    RawMaster master;
    QVERIFY(master.openSerial(sim.ptyPath()));
    // Function 0x2B has no length the simulator knows: silence ends the frame.
    const QByteArray request = rtu("01 2B 0E 01 00");
    QVERIFY(master.send(request));
    QCOMPARE(master.receive(5).toHex(' '), rtu("01 AB 01").toHex(' '));
    QCOMPARE(sim.requestLog(), QStringList {QString::fromLatin1(request.toHex(' ').toUpper())});
}

void TestDevSimRtu::reopenedLine()
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

void TestDevSimRtu::writesReachHoldingDump()
{
    DevSim sim;
    QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
    RawMaster master;
    QVERIFY(master.openSerial(sim.ptyPath()));
    QVERIFY(master.send(rtu("01 10 FF FE 00 02 04 12 34 56 78")));
    QCOMPARE(master.receive(8).toHex(' '), rtu("01 10 FF FE 00 02").toHex(' '));
    QCOMPARE(sim.holding(65534), quint16(0x1234));
    QCOMPARE(sim.holding(65535), quint16(0x5678));
}

void TestDevSimRtu::replyLog()
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

void TestDevSimRtu::broadcastWrite_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("reply");
    QTest::newRow("carried out, not answered") << QStringList {"--address", "4"} << QByteArray();
    QTest::newRow("answered when asked")
        << QStringList {"--address", "4", "--answer-broadcast"} << rtu("04 10 00 05 00 01");
    QTest::newRow("silent fault: not carried out")
        << QStringList {"--address", "4", "--fault", "silent"} << QByteArray();
}

void TestDevSimRtu::broadcastWrite()
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

void TestDevSimRtu::exclusiveUseEndsWithItsUser()
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

void TestDevSimRtu::serialDevice_data()
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

void TestDevSimRtu::serialDevice()
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

QTEST_GUILESS_MAIN(TestDevSimRtu)
#include "tst_devsimrtu.moc"
