// Cmm_Read_Id against the device simulator on a pseudo-terminal: versions
// tried in order until one answers, the identification text, the requests on
// the wire, the pause that processes events, and the serial-number read that
// always frees its line.

#include "cmm_read_id.h"
#include "devsim.h"
#include "engine/modbus.h"
#include "probeline.h"
#include "wireframe.h"

#include <QDir>
#include <QTimer>
#include <QtTest>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <thread>
#include <unistd.h>

using CmmNamespace::Cmm_Read_Id;

namespace {

// Open file descriptors of this process; a probe that leaves a line open
// leaves one more.
int openDescriptors()
{
    return QDir(QStringLiteral("/proc/self/fd"))
        .entryList(QDir::NoDotAndDotDot | QDir::System)
        .size();
}

QStringList repeated(const QString &frame, int times)
{
    QStringList frames;
    for (int i = 0; i < times; ++i)
        frames.append(frame);
    return frames;
}

// A device of the test's own on a pseudo-terminal that answers the first
// request with the given bytes, for replies the simulator cannot give.
class OneReplyDevice
{
public:
    explicit OneReplyDevice(const QByteArray &reply)
    {
        char name[256] = {};
        if (openpty(&master, &slave, name, nullptr, nullptr) == -1)
            return;
        cfmakeraw_on(slave);
        slavePath = QString::fromLocal8Bit(name);
        responder = std::thread([this, reply] { answer(reply); });
    }
    ~OneReplyDevice()
    {
        if (responder.joinable())
            responder.join();
        if (master != -1)
            ::close(master);
        if (slave != -1)
            ::close(slave);
    }
    QString path() const { return slavePath; }
    QByteArray request() const { return received; }

private:
    static void cfmakeraw_on(int fd)
    {
        termios settings {};
        tcgetattr(fd, &settings);
        cfmakeraw(&settings);
        tcsetattr(fd, TCSANOW, &settings);
    }
    void answer(const QByteArray &reply)
    {
        // The identification request is 4 bytes; wait for it at most 10 s.
        while (received.size() < 4) {
            pollfd ready {master, POLLIN, 0};
            if (poll(&ready, 1, 10000) <= 0)
                return;
            char byte = 0;
            if (::read(master, &byte, 1) != 1)
                return;
            received.append(byte);
        }
        if (::write(master, reply.constData(), size_t(reply.size())) != reply.size())
            return;
    }

    int master = -1;
    int slave = -1;
    QString slavePath;
    QByteArray received;
    std::thread responder;
};

} // namespace

class TestReadId : public QObject
{
    Q_OBJECT

private slots:
    void run_data();
    void run();
    void zeroByteEndsTheText();
    void pauseProcessesPendingEvents_data();
    void pauseProcessesPendingEvents();
    void silentRunSetsTheSameFields();
    void readSerialNumber_data();
    void readSerialNumber();
};

void TestReadId::run_data()
{
    QTest::addColumn<QStringList>("device");
    QTest::addColumn<int>("address");
    QTest::addColumn<QList<int>>("versions");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("identification");
    QTest::addColumn<int>("attempts");

    const QList<int> all {1, 2, 3, 4};
    QTest::newRow("version 1 answers at once") << QStringList {"--device", "1,version=1,id=REL-10"}
                                               << 1 << all << true << 1 << "REL-10" << 1;
    QTest::newRow("version 3 after two wrong lengths")
        << QStringList {"--device", "1,version=3,id=RB4 feeder 12"} << 1 << all << true << 3
        << "RB4 feeder 12" << 3;
    QTest::newRow("version 4, full 16 characters")
        << QStringList {"--device", "7,version=4,id=ABCDEFGHIJKLMNOP"} << 7 << all << true << 4
        << "ABCDEFGHIJKLMNOP" << 4;
    QTest::newRow("odd length text, quote and comma kept")
        << QStringList {"--device", "2,version=2,id=O'Neil, 3"} << 2 << QList<int> {2} << true << 2
        << "O'Neil, 3" << 1;
    QTest::newRow("version list 5 can never fit")
        << QStringList {"--device", "1,version=1"} << 1 << QList<int> {5} << false << 0 << "" << 1;
    QTest::newRow("given order is kept") << QStringList {"--device", "1,version=2,id=X2"} << 1
                                         << QList<int> {3, 1, 2} << true << 2 << "X2" << 3;
    QTest::newRow("device in version 1 tried in 2 only: a time-out ends the wait")
        << QStringList {"--device", "1,version=1"} << 1 << QList<int> {2} << false << 0 << "" << 1;
    QTest::newRow("no device at the address")
        << QStringList {"--device", "1,version=1"} << 9 << QList<int> {1} << false << 0 << "" << 1;
}

void TestReadId::run()
{
    QFETCH(QStringList, device);
    QFETCH(int, address);
    QFETCH(QList<int>, versions);
    QFETCH(bool, ok);
    QFETCH(int, version);
    QFETCH(QString, identification);
    QFETCH(int, attempts);

    DevSim sim(device);
    QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
    ProbeLine line(sim.ptyPath(), 115200);
    QVERIFY(line.isCreated());
    QCOMPARE(Modbus::setAddress(line.modbusContext(), address), 0);
    QVERIFY(line.connect());

    Cmm_Read_Id command(line.modbusContext());
    command.setVersions(versions);
    command.setVerbose(false);
    QCOMPARE(command.run(), ok);
    QCOMPARE(command.ok, ok);
    QCOMPARE(command.identificationVersion(), quint32(version));
    QCOMPARE(command.identificationText(), identification);

    const QString request = WireFrame::rtu(QString::asprintf("%02X 11", address));
    QCOMPARE(sim.requestLog(), repeated(request, attempts));
}

void TestReadId::zeroByteEndsTheText()
{
    // Data pairs travel high byte first and are stored low byte first, so
    // the data "B A C 0 ..." reads "A B 0 C ...": the text ends after "AB".
    const QByteArray reply
        = WireFrame::fromHex(WireFrame::rtu("01 11 42 41 43 00 45 44 47 46 00 48"));
    OneReplyDevice device(reply);
    QVERIFY(!device.path().isEmpty());
    ProbeLine line(device.path(), 115200);
    QCOMPARE(Modbus::setAddress(line.modbusContext(), 1), 0);
    QVERIFY(line.connect());

    Cmm_Read_Id command(line.modbusContext());
    command.setVersions({1});
    command.setVerbose(false);
    QVERIFY(command.run());
    QCOMPARE(command.identificationText(), QString("AB"));
    QCOMPARE(WireFrame::toHex(device.request()), WireFrame::rtu("01 11"));
}

void TestReadId::pauseProcessesPendingEvents_data()
{
    QTest::addColumn<int>("deviceVersion");
    QTest::newRow("answer in the first version") << 1;
    QTest::newRow("answer after two failed versions") << 3;
}

void TestReadId::pauseProcessesPendingEvents()
{
    QFETCH(int, deviceVersion);
    DevSim sim({"--device", QString("1,version=%1").arg(deviceVersion)});
    QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
    ProbeLine line(sim.ptyPath(), 115200);
    Modbus::setAddress(line.modbusContext(), 1);
    QVERIFY(line.connect());

    bool delivered = false;
    QTimer::singleShot(0, this, [&delivered] { delivered = true; });
    Cmm_Read_Id command(line.modbusContext());
    command.setVerbose(false);
    QVERIFY(command.run());
    // Checked before this test returns to any event loop of its own.
    QVERIFY(delivered);
}

void TestReadId::silentRunSetsTheSameFields()
{
    // A command that was never run, and one whose versions all fail, keep
    // version 0 and an empty text.
    DevSim sim({"--device", "1,version=2,id=ID2"});
    QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
    ProbeLine line(sim.ptyPath(), 115200);
    Modbus::setAddress(line.modbusContext(), 1);
    QVERIFY(line.connect());

    Cmm_Read_Id fresh(line.modbusContext());
    QCOMPARE(fresh.ok, false);
    QCOMPARE(fresh.identificationVersion(), quint32(0));
    QVERIFY(fresh.identificationText().isEmpty());

    Cmm_Read_Id command(line.modbusContext());
    command.setVerbose(false);
    command.setVersions({1, 2});
    QVERIFY(command.run());
    QCOMPARE(command.identificationVersion(), quint32(2));
    QCOMPARE(command.identificationText(), QString("ID2"));

    // A second run that finds nothing leaves ok false but keeps the version.
    command.setVersions({5});
    QVERIFY(!command.run());
    QVERIFY(!command.ok);
    QCOMPARE(command.identificationVersion(), quint32(2));
}

void TestReadId::readSerialNumber_data()
{
    QTest::addColumn<QStringList>("device");
    QTest::addColumn<int>("address");
    QTest::addColumn<bool>("existingPort");
    QTest::addColumn<int>("serialNumber");
    QTest::addColumn<int>("requests");

    QTest::newRow("serial number")
        << QStringList {"--device", "1,sn=4711"} << 1 << true << 4711 << 1;
    QTest::newRow("largest serial number")
        << QStringList {"--device", "5,sn=65535"} << 5 << true << 65535 << 1;
    QTest::newRow("second device on the line")
        << QStringList {"--device", "1,sn=1", "--device", "2,sn=22222"} << 2 << true << 22222 << 1;
    QTest::newRow("exception instead of the number")
        << QStringList {"--device", "1,sn=exception"} << 1 << true << -1 << 1;
    QTest::newRow("identifies but does not answer: a time-out ends the wait")
        << QStringList {"--device", "1,sn=silent"} << 1 << true << -1 << 1;
    QTest::newRow("port that does not exist")
        << QStringList {"--device", "1,sn=4711"} << 1 << false << -1 << 0;
    QTest::newRow("address the line refuses sends nothing")
        << QStringList {"--device", "1,sn=4711"} << 248 << true << -1 << 0;
}

void TestReadId::readSerialNumber()
{
    QFETCH(QStringList, device);
    QFETCH(int, address);
    QFETCH(bool, existingPort);
    QFETCH(int, serialNumber);
    QFETCH(int, requests);

    DevSim sim(device);
    QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
    const QString port = existingPort ? sim.ptyPath() : QString("/dev/qel-no-such-port");

    const int descriptors = openDescriptors();
    QCOMPARE(Cmm_Read_Id::readSerialNumber(port, 115200, address), serialNumber);
    QCOMPARE(openDescriptors(), descriptors);

    const QString request
        = WireFrame::rtu(WireFrame::readMacroRequest(quint8(address), 226, 1, {}));
    QCOMPARE(sim.requestLog(), repeated(request, requests));

    // The line is free again: the device identifies itself on the next open.
    if (existingPort) {
        ProbeLine line(port, 115200);
        Modbus::setAddress(line.modbusContext(), address <= 247 ? address : 1);
        QVERIFY(line.connect());
        Cmm_Read_Id command(line.modbusContext());
        command.setVerbose(false);
        QVERIFY(command.run());
    }
}

QTEST_GUILESS_MAIN(TestReadId)
#include "tst_readid.moc"
