// qelDrvMonitor as a program: its usage text and command-line checks, and a
// listening on a bus of pseudo-terminals on which qelDrvModbus, qelDrvMacro
// and qelDrvScan talk to qelDevSim: the monitor's transactions are the
// requests made and the replies served, faults included; it never writes to
// its line and puts the line's settings back; it ends at once on a signal,
// after --duration, and when the line goes away; its CSV file goes by the
// tool set's saving rules.

#include "csvtable.h"
#include "devsim.h"
#include "filenames.h"
#include "filetargets.h"
#include "monitorprocess.h"
#include "programrun.h"
#include "ptybus.h"
#include "wireframe.h"

#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray usageText
    = "\r\n"
      "qelDrvMonitor.exe --port \\\\.\\COM1 --baudrate 115200\r\n"
      "qelDrvMonitor.exe --port \\\\.\\COM1 --baudrate 9600 --parity E --hex --csv \"bus.csv\" "
      "--duration 600\r\n"
      "\r\n"
      " --port             Serial port name\r\n"
      " --baudrate         Baudrate\r\n"
      " --parity           Serial port parity N,E,O\r\n"
      " --data_bit         Serial data bits 8 (7 with ASCII)\r\n"
      " --stop_bit         Serial stop bits 1,2\r\n"
      " --framing          Framing RTU (default) or ASCII\r\n"
      " --reply-window     Milliseconds a reply may take (default 1000)\r\n"
      " --hex              Frames in hex too\r\n"
      " --csv              One row per frame to a CSV file, - for standard output\r\n"
      " --duration         Seconds to listen (default: until Ctrl+C)\r\n"
      " --help             Help\r\n";

// The access mode the process holds a file open with, from /proc; -1 when
// it holds none on that path.
int openMode(qint64 pid, const QString &path)
{
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
    const QStringList entries = fds.entryList(QDir::System | QDir::NoDotAndDotDot);
    for (const QString &fd : entries) {
        if (QFile::symLinkTarget(fds.filePath(fd)) != path)
            continue;
        QFile info(QStringLiteral("/proc/%1/fdinfo/%2").arg(pid).arg(fd));
        if (!info.open(QIODevice::ReadOnly))
            return -1;
        for (const QByteArray &line : info.readAll().split('\n')) {
            if (line.startsWith("flags:"))
                return int(line.mid(6).trimmed().toUInt(nullptr, 8) & O_ACCMODE);
        }
    }
    return -1;
}

QList<QStringList> csvRecords(const QByteArray &text)
{
    QList<QStringList> records;
    if (!parseCsv(text, &records))
        qWarning() << "not RFC 4180:" << text;
    return records;
}

} // namespace

class tst_drvMonitor : public QObject
{
    Q_OBJECT

private slots:
    void usage();
    void commandLineChecks_data();
    void commandLineChecks();
    void listensToDriversAndSimulator_data();
    void listensToDriversAndSimulator();
    void endsOnSignalOrDuration_data();
    void endsOnSignalOrDuration();
    void lineThatGoesAway();
    void csvTargets_data();
    void csvTargets();
    void csvOnStandardOutput();
    void csvFifoWithoutReader();

private:
    QTemporaryDir folder;
};

void tst_drvMonitor::usage()
{
    for (const QStringList &arguments : {QStringList(), QStringList {"--help"},
             QStringList {"--port", "/dev/null-not-opened", "--help"}}) {
        const ProgramResult run = runProgram(programPath("qelDrvMonitor"), arguments);
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, usageText);
        QCOMPARE(run.err, QByteArray());
    }
}

void tst_drvMonitor::commandLineChecks_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("error");

    QTest::newRow("no port") << QStringList {"--baudrate", "9600"}
                             << QByteArray("Required parameters:\n --port\n");
    QTest::newRow("unknown option") << QStringList {"--port", "P", "--verbose", "1",
        "--hex"} << QByteArray("Invalid parameters:\n Unknown option: --verbose\n");
    QTest::newRow("a rate the line cannot run at")
        << QStringList {"--port", "P", "--baudrate", "0x2580"}
        << QByteArray("Invalid parameters:\n 0x2580 is not a member of: 110 300 600 1200 2400 4800 "
                      "9600 14400 19200 38400 57600 115200 230400 250000 460800 500000 921600 "
                      "1000000\n");
    QTest::newRow("line settings")
        << QStringList {"--port", "P", "--parity", "Even", "--data_bit", "7", "--stop_bit", "3"}
        << QByteArray("Invalid parameters:\n Even is not a member of: N E O\n 7 is not a member "
                      "of: 8\n 3 is not a member of: 1 2\n");
    QTest::newRow("seven data bits with ASCII")
        << QStringList {"--port", "P", "--framing", "ascii", "--data_bit", "7"}
        << QByteArray("Invalid parameters:\n 7 is not a member of: 8\n ascii is not a member of: "
                      "RTU ASCII\n");
    QTest::newRow("reply window and duration")
        << QStringList {"--port", "P", "--reply-window", "0", "--duration", "1.5"}
        << QByteArray("Invalid parameters:\n 0 is not a whole number from 1 to 60000\n 1.5 is "
                      "not a whole number from 1 to 2592000\n");
    QTest::newRow("an option taken as the CSV file") << QStringList {"--port", "P", "--csv",
        "--hex"} << QByteArray("Invalid parameters:\n --hex is not a file name\n");
    QTest::newRow("no CSV file") << QStringList {"--port", "P", "--csv"}
                                 << QByteArray("Invalid parameters:\n  is not a file name\n");
    QTest::newRow("a port that does not exist") << QStringList {"--port",
        "/nonexistent/ttyUSB9"} << QByteArray("Connection fails: No such file or directory\n");
    QTest::newRow("a port that is no serial line") << QStringList {"--port",
        "/proc/self/status"} << QByteArray("Connection fails: Inappropriate ioctl for device\n");
}

void tst_drvMonitor::commandLineChecks()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, error);
    const ProgramResult run = runProgram(programPath("qelDrvMonitor"), arguments);
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, ExitFailure);
    QCOMPARE(run.err, error);
    QCOMPARE(run.out, QByteArray());
}

void tst_drvMonitor::listensToDriversAndSimulator_data()
{
    QTest::addColumn<int>("batchingMs");
    QTest::newRow("every byte passed on at once") << 0;
    QTest::newRow("the tap's bytes in 16 ms batches") << 16;
}

void tst_drvMonitor::listensToDriversAndSimulator()
{
    QFETCH(int, batchingMs);
    PtyBus bus;
    QVERIFY2(bus.start(), qPrintable(bus.errorString()));
    bus.setTapBatching(batchingMs);
    DevSim sim({"--holding", "100=1234,64302,4660", "--input", "0=10,20", "--fault",
        "exception=2,request=4", "--fault", "silent,request=5", "--fault", "bad-crc,request=6",
        "--fault", "partial=3,request=7", "--fault", "trickle=50,request=11"});
    QVERIFY2(sim.startSerial(bus.deviceLine()), qPrintable(sim.startError()));

    const QByteArray tapBefore = bus.tapSettings();
    const QString csv = folder.filePath("bus.csv");
    MonitorProcess monitor({"--port", bus.tapLine(), "--csv", csv});
    QString why;
    QVERIFY2(monitor.start(&why), qPrintable(why));
    QCOMPARE(openMode(monitor.pid(), bus.tapLine()), O_RDONLY);

    const QString master = bus.masterLine();
    const auto modbus = [&](const QStringList &operation) {
        return runProgram(programPath("qelDrvModbus"),
            QStringList {"--port", master, "--address", "1"} + operation);
    };
    QCOMPARE(modbus({"--read", "100", "--range", "3"}).exitCode, 0);
    QCOMPARE(modbus({"--readIn", "0", "--range", "2"}).exitCode, 0);
    QCOMPARE(modbus({"--write", "200", "--data", "[5,6]"}).exitCode, 0);
    QCOMPARE(modbus({"--read_u16", "100"}).exitCode, ExitFailure); // exception
    QCOMPARE(modbus({"--read_u16", "101"}).exitCode, ExitFailure); // silence
    QCOMPARE(modbus({"--read_u16", "102"}).exitCode, ExitFailure); // bad CRC
    QCOMPARE(modbus({"--read_u16", "100"}).exitCode, ExitFailure); // cut short
    const auto macro = [&](const QString &name, const QString &params) {
        return runProgram(programPath("qelDrvMacro"),
            {"--port", master, "--address", "1", "--macro", name, "--param", params});
    };
    QCOMPARE(macro("FD_MACRO_LOGIN", "1 7305").exitCode, 0);
    QCOMPARE(macro("FD_MACRO_GET_SN", "").exitCode, 0);
    QCOMPARE(runProgram(programPath("qelDrvScan"),
                 {"--port", master, "--address", "1", "--baudrate", "115200", "--version", "1"})
                 .exitCode,
        0);
    // A reply that comes byte by byte, each 50 ms after the one before.
    QCOMPARE(modbus({"--read", "100", "--range", "2"}).exitCode, 0);
    // The last reply has passed the relay once the driver is done.
    QVERIFY(monitor.waitForOutput("start 100 count 2", 30000));
    QVERIFY(monitor.stop(SIGINT));
    QVERIFY(monitor.exitedNormally());
    QCOMPARE(monitor.exitCode(), 0);
    QCOMPARE(monitor.err(), QByteArray());

    // Nothing came out of the tap, and its settings are as they were.
    QCOMPARE(bus.fromTap(), QByteArray());
    QCOMPARE(bus.tapSettings(), tapBefore);

    const QString out = QString::fromUtf8(monitor.out());
    const QStringList expectedLines {
        "address 1 Read Holding Registers start 100 count 3: 1234 64302 4660 (",
        "address 1 Read Input Registers start 0 count 2: 10 20 (",
        "address 1 Write Multiple Registers start 200 count 2 values 5 6: OK (",
        "address 1 Read Holding Registers start 100 count 1: exception 2, Illegal data address (",
        "address 1 Read Holding Registers start 101 count 1: no reply\r\n",
        "address 1 Read Holding Registers start 102 count 1: CRC error 01 03 02 ",
        "address 1 Read Holding Registers start 100 count 1: truncated frame 01 03 02 (",
        "address 1 Macro FD_MACRO_LOGIN code 44 spec 1 params 1 13111 13616: OK (",
        "address 1 Macro Read FD_MACRO_GET_SN code 226 spec 1: 12345 (",
        "address 1 Identification: version 1 qelDevSim (",
        "address 1 Read Holding Registers start 100 count 2: 1234 64302 (",
    };
    int at = 0;
    for (const QString &line : expectedLines) {
        const int found = out.indexOf(line, at);
        QVERIFY2(found >= 0, qPrintable("missing in order: " + line + "\n" + out));
        at = found + line.size();
    }
    QVERIFY2(out.contains("Frames: 21\r\nTransactions: 11\r\nNoise bytes: 0\r\nErrors: 4\r\n"
                          " Illegal data address: 1\r\n no reply: 1\r\n CRC error: 1\r\n"
                          " truncated frame: 1\r\nResponse times in ms:\r\n address 1: min "),
        qPrintable(out));

    // Every request the simulator received is a request row, every reply it
    // sent the reply row after it; a request it did not answer has none.
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QStringList> records = csvRecords(file.readAll());
    QVERIFY(!records.isEmpty());
    QCOMPARE(records.first().at(9), QString("hex"));
    const QStringList requests = sim.requestLog();
    const QStringList replies = sim.replyLog();
    QCOMPARE(requests.size(), 11);
    int row = 1;
    for (int i = 0; i < requests.size(); ++i) {
        QVERIFY(row < records.size());
        QCOMPARE(records.at(row).at(1), QString("request"));
        QCOMPARE(records.at(row).at(9), requests.at(i));
        ++row;
        if (replies.at(i) == "-") {
            QCOMPARE(records.at(row - 1).at(8), QString("no reply"));
            continue;
        }
        QVERIFY(row < records.size());
        QCOMPARE(records.at(row).at(1), QString("reply"));
        QCOMPARE(records.at(row).at(9), replies.at(i));
        ++row;
    }
    QCOMPARE(row, records.size());
    QCOMPARE(records.at(2).at(6), QString("1234 64302 4660"));
    QCOMPARE(records.at(8).at(8), QString("Illegal data address"));
}

void tst_drvMonitor::endsOnSignalOrDuration_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGINT") << int(SIGINT);
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("--duration 1") << 0;
}

// The listening ends at once however it is asked to, and its summary
// follows; a request still waiting for its reply is not called unanswered.
void tst_drvMonitor::endsOnSignalOrDuration()
{
    QFETCH(int, signal);
    PtyBus bus;
    QVERIFY2(bus.start(), qPrintable(bus.errorString()));
    QStringList arguments {"--port", bus.tapLine(), "--reply-window", "60000"};
    if (signal == 0)
        arguments << "--duration"
                  << "1";
    MonitorProcess monitor(arguments);
    QString why;
    QVERIFY2(monitor.start(&why), qPrintable(why));
    bus.sendToTap(WireFrame::fromHex(WireFrame::rtu("01 03 00 00 00 01")));
    if (signal != 0) {
        QTest::qWait(200);
        QVERIFY(monitor.stop(signal, 10000));
    } else {
        QVERIFY(monitor.waitForEnd(30000));
    }
    QVERIFY(monitor.exitedNormally());
    QCOMPARE(monitor.exitCode(), 0);
    QVERIFY2(
        monitor.out().contains(
            "address 1 Read Holding Registers start 0 count 1: listening ended\r\nFrames: 1\r\n"
            "Transactions: 1\r\nNoise bytes: 0\r\nErrors: 0\r\n"),
        monitor.out().constData());
}

void tst_drvMonitor::lineThatGoesAway()
{
    PtyBus bus;
    QVERIFY2(bus.start(), qPrintable(bus.errorString()));
    MonitorProcess monitor({"--port", bus.tapLine()});
    QString why;
    QVERIFY2(monitor.start(&why), qPrintable(why));
    bus.sendToTap(WireFrame::fromHex(WireFrame::rtu("01 06 00 01 00 05")));
    QVERIFY(monitor.waitForOutput("no reply", 30000));
    bus.closeTap();
    QVERIFY(monitor.waitForEnd(30000));
    QVERIFY(monitor.exitedNormally());
    QCOMPARE(monitor.exitCode(), ExitFailure);
    QCOMPARE(monitor.err(), QByteArray("Line lost: Input/output error\n"));
    QVERIFY(monitor.out().endsWith("Frames: 1\r\nTransactions: 1\r\nNoise bytes: 0\r\nErrors: 1\r\n"
                                   " no reply: 1\r\n"));
}

void tst_drvMonitor::csvTargets_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("a regular file, replaced at the end") << "file";
    QTest::newRow("a name that is not UTF-8") << "latin1";
    QTest::newRow("a FIFO, written into") << "fifo";
    QTest::newRow("a device, written into") << "null";
    QTest::newRow("a full disk") << "full";
    QTest::newRow("a folder that does not exist") << "missing";
}

void tst_drvMonitor::csvTargets()
{
    QFETCH(QString, kind);
    QString target = folder.filePath("target-" + kind + ".csv");
    QFile::remove(target);
    int fifoReader = -1;
    if (kind == "file") {
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old content\n");
    } else if (kind == "latin1") {
        target = folder.filePath(FileNames::fromBytes("bus-\xe9t\xe9.csv"));
    } else if (kind == "fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(target).constData(), 0600), 0);
        fifoReader = ::open(QFile::encodeName(target).constData(), O_RDONLY | O_NONBLOCK);
        QVERIFY(fifoReader != -1);
    } else if (kind == "null" || kind == "full") {
        if (!makeCharacterDevice(target, MemoryDevices, kind == "null" ? NullMinor : FullMinor))
            QSKIP("device nodes need root");
    } else if (kind == "missing") {
        target = folder.filePath("no/such/folder/bus.csv");
    }

    PtyBus bus;
    QVERIFY2(bus.start(), qPrintable(bus.errorString()));
    MonitorProcess monitor({"--port", bus.tapLine(), "--csv", target});
    QString why;
    const bool fails = kind == "full" || kind == "missing";
    QVERIFY2(monitor.start(
                 &why, fails ? MonitorProcess::Ready::Started : MonitorProcess::Ready::Listening),
        qPrintable(why));
    if (fails) {
        QVERIFY(monitor.waitForEnd(30000));
        QCOMPARE(monitor.exitCode(), ExitFailure);
        const QByteArray reason
            = kind == "full" ? "No space left on device" : "No such file or directory";
        QCOMPARE(monitor.err(),
            "Unable to write the CSV file \"" + QFile::encodeName(target) + "\":\n " + reason
                + "\n");
        QCOMPARE(monitor.out(), QByteArray());
        QCOMPARE(
            fileKind(target), kind == "full" ? QString("character device") : QString("missing"));
        return;
    }
    bus.sendToTap(WireFrame::fromHex(WireFrame::rtu("01 06 00 01 00 05")));
    bus.sendToTap(WireFrame::fromHex(WireFrame::rtu("01 06 00 01 00 05")));
    QVERIFY(monitor.waitForOutput("OK (", 30000));
    if (kind == "file")
        QCOMPARE(QFile(target).size(), qint64(12)); // replaced only at the end
    QVERIFY(monitor.stop(SIGTERM));
    QCOMPARE(monitor.exitCode(), 0);
    QCOMPARE(monitor.err(), QByteArray());

    const QByteArray header = "time,direction,address,function,start,count,values,response ms,"
                              "status,hex\r\n";
    if (kind == "fifo") {
        QByteArray read(4096, '\0');
        const ssize_t count = ::read(fifoReader, read.data(), size_t(read.size()));
        ::close(fifoReader);
        QVERIFY(count > 0);
        read.truncate(int(count));
        QVERIFY(read.startsWith(header));
        QCOMPARE(csvRecords(read).size(), 3);
        QCOMPARE(fileKind(target), QString("fifo"));
        return;
    }
    if (kind == "null") {
        QCOMPARE(fileKind(target), QString("character device"));
        return;
    }
    QCOMPARE(fileKind(target), QString("file"));
    QFile file(target);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    QVERIFY(content.startsWith(header));
    const QList<QStringList> records = csvRecords(content);
    QCOMPARE(records.size(), 3);
    QCOMPARE(records.at(1).at(3), QString("Write Single Register"));
    QCOMPARE(records.at(2).at(8), QString("OK"));
    // Nothing left beside it.
    QCOMPARE(QDir(folder.path()).entryList({".target-*", ".bus-*"}, QDir::Hidden | QDir::Files),
        QStringList());
}

// With "--csv -" standard output carries the rows alone; the summary goes
// to standard error.
void tst_drvMonitor::csvOnStandardOutput()
{
    PtyBus bus;
    QVERIFY2(bus.start(), qPrintable(bus.errorString()));
    MonitorProcess monitor({"--port", bus.tapLine(), "--csv", "-", "--hex"});
    QString why;
    QVERIFY2(monitor.start(&why, MonitorProcess::Ready::ListeningOnError), qPrintable(why));
    QVERIFY(monitor.waitForOutput("time,direction", 30000));
    bus.sendToTap(WireFrame::fromHex(WireFrame::rtu("01 04 00 00 00 01")));
    bus.sendToTap(WireFrame::fromHex(WireFrame::rtu("01 04 02 00 2A")));
    QVERIFY(monitor.waitForOutput("01 04 02 00 2A", 30000));
    QVERIFY(monitor.stop(SIGINT));
    QCOMPARE(monitor.exitCode(), 0);
    const QList<QStringList> records = csvRecords(monitor.out());
    QCOMPARE(records.size(), 3);
    QCOMPARE(records.at(2).mid(1, 9),
        QStringList({"reply", "1", "Read Input Registers", "", "", "42", records.at(2).at(7), "OK",
            WireFrame::rtu("01 04 02 00 2A")}));
    QVERIFY2(monitor.err().startsWith("Listening on " + bus.tapLine().toUtf8()
                 + ", 115200 baud 8N1, RTU\nFrames: 2\nTransactions: 1\nNoise bytes: 0\nErrors: 0\n"
                   "Response times in ms:\n address 1: min "),
        monitor.err().constData());
}

// A FIFO nobody reads keeps the program waiting to open it, before the line
// is touched; Ctrl+C ends that wait.
void tst_drvMonitor::csvFifoWithoutReader()
{
    const QString fifo = folder.filePath("unread.csv");
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    PtyBus bus;
    QVERIFY2(bus.start(), qPrintable(bus.errorString()));
    const QByteArray tapBefore = bus.tapSettings();
    MonitorProcess monitor({"--port", bus.tapLine(), "--csv", fifo});
    QString why;
    QVERIFY2(monitor.start(&why, MonitorProcess::Ready::Started), qPrintable(why));
    QVERIFY(!monitor.waitForEnd(500));
    QVERIFY(monitor.stop(SIGINT, 10000));
    QCOMPARE(monitor.out(), QByteArray());
    QCOMPARE(bus.tapSettings(), tapBefore);
    QCOMPARE(fileKind(fifo), QString("fifo"));
}

QTEST_GUILESS_MAIN(tst_drvMonitor)
#include "tst_drvmonitor.moc"
