#include "csvtable.h"
#include "devsim.h"
#include "driverrunner.h"
#include "macroelement.h"
#include "programrun.h"
#include "readelement.h"
#include "resultsink.h"
#include "scriptedprompts.h"
#include "tcpelement.h"
#include "testcertificates.h"
#include "trendcommands.h"
#include "trendmodel.h"
#include "windowtesting.h"
#include "writeelement.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <csignal>

// Counts the layout requests that reach the watched widgets.
class layoutRequests : public QObject
{
public:
    explicit layoutRequests(const QList<QWidget *> &watched)
    {
        for (QWidget *widget : watched)
            widget->installEventFilter(this);
    }
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        count += event->type() == QEvent::LayoutRequest;
        return false;
    }
};

// The run operations of the window with the real drivers against the device
// simulator: values in the rows and in the log, registers written, macros
// received, failures, statistics and the trace of verbose mode.
class tst_runOperations : public QObject
{
    Q_OBJECT

private:
    // Opens a project in window (a fresh file in dir) and returns whether it
    // loaded.
    bool open(MainWindow &window, const QJsonObject &root)
    {
        const QString path = dir.filePath(QStringLiteral("p%1.json").arg(++files));
        return writeProject(path, root)
            && (window.loadFile(path), !window.document()->path().isEmpty());
    }

    // Starts sim on TCP; its port in *port. Stopped, nothing listens there.
    static bool startTcp(DevSim &sim, bool stopped, quint16 *port)
    {
        if (!sim.startTcp())
            return false;
        *port = sim.tcpPort();
        if (stopped)
            sim.stop();
        return true;
    }

    QTemporaryDir dir;
    int files = 0;

private slots:
    void initTestCase();
    void reads_data();
    void reads();
    void writes_data();
    void writes();
    void registerKinds();
    void macros();
    void failures_data();
    void failures();
    void deviceSilence_data();
    void deviceSilence();
    void statistics();
    void stopEndsReadAll();
    void verboseTrace();
    void verboseFailures_data();
    void verboseFailures();
    void immediateCommands();
    void demoProject();
    void serialLine();
    void otherLines_data();
    void otherLines();
    void keptLineAgainstClosingDevice();
    void keptLineStoppedAndRestarted();
    void keptSerialLineHeldByOneDriver();
};

void tst_runOperations::initTestCase()
{
    // The drivers are found in the working directory first.
    QVERIFY(QDir::setCurrent(QFileInfo(programPath("qelDrvModbus")).absolutePath()));
    QVERIFY(QFileInfo::exists("qelDrvModbus"));
    QVERIFY(QFileInfo::exists("qelDrvMacro"));
    QVERIFY(dir.isValid());
}

void tst_runOperations::reads_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("addr");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("value"); // as the log shows it
    QTest::addColumn<QString>("shown"); // as the row shows it
    QTest::addColumn<QString>("frame"); // function, address, count as sent

    QTest::newRow("U16") << "U16"
                         << "100"
                         << ""
                         << "1234"
                         << "1234"
                         << "03 00 64 00 01";
    QTest::newRow("S16") << "S16"
                         << "101"
                         << ""
                         << "-1234"
                         << "-1234"
                         << "03 00 65 00 01";
    QTest::newRow("U32") << "U32"
                         << "102"
                         << ""
                         << "305419896"
                         << "305419896"
                         << "03 00 66 00 02";
    QTest::newRow("S32") << "S32"
                         << "104"
                         << ""
                         << "-123456789"
                         << "-123456789"
                         << "03 00 68 00 02";
    QTest::newRow("F32") << "F32"
                         << "106"
                         << ""
                         << "3.14159"
                         << "3.14159"
                         << "03 00 6A 00 02";
    QTest::newRow("F32 negative") << "F32"
                                  << "108"
                                  << ""
                                  << "-273.15"
                                  << "-273.15"
                                  << "03 00 6C 00 02";
    QTest::newRow("U16 F_X") << "U16"
                             << "113"
                             << "F_X"
                             << "2305"
                             << "2305"
                             << "03 00 71 00 01";
    QTest::newRow("U16 F_X_X") << "U16"
                               << "113"
                               << "F_X_X"
                               << "2305"
                               << "230.5"
                               << "03 00 71 00 01";
    QTest::newRow("U16 F_X_XX") << "U16"
                                << "114"
                                << "F_X_XX"
                                << "4998"
                                << "49.98"
                                << "03 00 72 00 01";
    QTest::newRow("U16 F_X_XXX") << "U16"
                                 << "115"
                                 << "F_X_XXX"
                                 << "12345"
                                 << "12.345"
                                 << "03 00 73 00 01";
    QTest::newRow("U16 F_X_XXXX") << "U16"
                                  << "116"
                                  << "F_X_XXXX"
                                  << "31416"
                                  << "3.1416"
                                  << "03 00 74 00 01";
    QTest::newRow("S16 F_X_XX keeps the sign") << "S16"
                                               << "101"
                                               << "F_X_XX"
                                               << "-1234"
                                               << "-12.34"
                                               << "03 00 65 00 01";
    QTest::newRow("U32 F_X_XXX") << "U32"
                                 << "102"
                                 << "F_X_XXX"
                                 << "305419896"
                                 << "305419.896"
                                 << "03 00 66 00 02";
    QTest::newRow("S32 F_X_X") << "S32"
                               << "104"
                               << "F_X_X"
                               << "-123456789"
                               << "-12345678.9"
                               << "03 00 68 00 02";
}

void tst_runOperations::reads()
{
    QFETCH(QString, type);
    QFETCH(QString, addr);
    QFETCH(QString, format);
    QFETCH(QString, value);
    QFETCH(QString, shown);
    QFETCH(QString, frame);

    DevSim sim({"--demo"});
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QVERIFY(open(
        window, project("Plant", {tcpPort(sim.tcpPort())}, {readRequest(type, addr, format)})));
    logRecorder log(window);
    QVERIFY(invoke(window, "commandReadAll"));

    const QList<readElement *> list = rows<readElement>(window, "readLayout");
    QCOMPARE(list.size(), 1);
    QCOMPARE(list.at(0)->value(), shown);
    const QStringList lines = log.lines();
    QCOMPARE(lines.size(), 1);
    QVERIFY2(
        QRegularExpression("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} --- <b>READ</b> "
            + type + " \\[ " + addr + " --&gt; <b>" + QRegularExpression::escape(value)
            + "</b> \\] " + QRegularExpression::escape(okStatus) + "$")
            .match(lines.at(0))
            .hasMatch(),
        qPrintable(lines.at(0)));
    // TCP frame: transaction, protocol, length, unit 1, then the request.
    const QStringList requests = sim.requestLog();
    QCOMPARE(requests.size(), 1);
    QVERIFY2(requests.at(0).endsWith(" 00 00 00 06 01 " + frame), qPrintable(requests.at(0)));
    QCOMPARE(counters(window), (QStringList {"1", ""}));
    QVERIFY(prompts.asked.isEmpty());
}

void tst_runOperations::writes_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("addr");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QList<int>>("words");

    QTest::newRow("U16") << "U16" << 130 << "77" << QList<int> {77};
    QTest::newRow("S16") << "S16" << 131 << "-2" << QList<int> {0xFFFE};
    QTest::newRow("U32") << "U32" << 132 << "305419896" << QList<int> {0x5678, 0x1234};
    QTest::newRow("S32") << "S32" << 136 << "-100000" << QList<int> {0x7960, 0xFFFE};
    QTest::newRow("F32") << "F32" << 134 << "1.5" << QList<int> {0x0000, 0x3FC0};
    QTest::newRow("F32 negative") << "F32" << 138 << "-273.15" << QList<int> {0x9333, 0xC388};
}

void tst_runOperations::writes()
{
    QFETCH(QString, type);
    QFETCH(int, addr);
    QFETCH(QString, value);
    QFETCH(QList<int>, words);

    DevSim sim({"--demo"});
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QVERIFY(open(window,
        project("Plant", {tcpPort(sim.tcpPort())}, {},
            {writeRequest(type, QString::number(addr), value)})));
    logRecorder log(window);
    QVERIFY(invoke(window, "commandWriteAll"));

    for (int i = 0; i < words.size(); ++i)
        QCOMPARE(int(sim.holding(addr + i)), words.at(i));
    QCOMPARE(int(sim.holding(addr + words.size())), 0);
    QCOMPARE(log.lines().size(), 1);
    QVERIFY(log.lines().at(0).contains(" --- <b>WRITE</b> " + type + " [ <b>" + value
        + "</b> --&gt; " + QString::number(addr) + " ] " + okStatus));
    QCOMPARE(counters(window), (QStringList {"1", ""}));
}

// Reads and writes of every kind with the real driver: coils, discrete and
// input registers, 64-bit values in two orders, F32 in ABCD, text, function
// 6. The rows show what the simulator holds; the simulator receives the
// functions and the words the requests name.
void tst_runOperations::registerKinds()
{
    DevSim sim({"--demo", "--coils", "3=1", "--discrete", "4=1", "--input",
        "10=0x0000,0x0000,0x0001,0x0002", "--holding", "20=0,0,0,0x8000", "--holding",
        "30=0x3FC0,0", "--holding", "40=0x4665,0x6564,0x6572"});
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    const auto with = [](QJsonObject request, const QJsonObject &extras) {
        for (auto it = extras.begin(); it != extras.end(); ++it)
            request.insert(it.key(), it.value());
        return request;
    };
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QVERIFY(open(window,
        project("Plant", {tcpPort(sim.tcpPort())},
            {with(readRequest("BIT", "3"), {{"kind", "coil"}}),
                with(readRequest("BIT", "4"), {{"kind", "discrete"}}),
                with(readRequest("U64", "10"), {{"kind", "input"}, {"order", "ABCD"}}),
                readRequest("S64", "20"), with(readRequest("F32", "30"), {{"order", "ABCD"}}),
                with(readRequest("STR", "40"), {{"length", "3"}})},
            {with(writeRequest("S16", "50", "-1"), {{"function", "6"}}),
                with(writeRequest("BIT", "5", "1"), {{"kind", "coil"}}),
                with(writeRequest("STR", "60", "Bay 1"), {{"length", "4"}}),
                with(writeRequest("U64", "70", "18446744073709551615"), {{"order", "ABCD"}})})));
    QVERIFY(invoke(window, "commandReadAll"));
    QVERIFY(invoke(window, "commandWriteAll"));

    QStringList shown;
    for (const readElement *row : rows<readElement>(window, "readLayout"))
        shown << row->value();
    QCOMPARE(shown, (QStringList {"1", "1", "65538", "-9223372036854775808", "1.5", "Feeder"}));
    QCOMPARE(counters(window), (QStringList {"10", ""}));
    QCOMPARE(int(sim.holding(50)), 0xFFFF);
    const QList<int> text {0x4261, 0x7920, 0x3100, 0}; // "Bay 1" padded with NULs
    for (int i = 0; i < text.size(); ++i)
        QCOMPARE(int(sim.holding(60 + i)), text.at(i));
    for (int i = 0; i < 4; ++i)
        QCOMPARE(int(sim.holding(70 + i)), 0xFFFF);
    // Unit 1, then the protocol data unit of each request.
    const QStringList requests = sim.requestLog();
    const QStringList units {"01 00 03 00 01", "02 00 04 00 01", "04 00 0A 00 04", "03 00 14 00 04",
        "03 00 1E 00 02", "03 00 28 00 03", "06 00 32 FF FF", "05 00 05 FF 00",
        "10 00 3C 00 04 08 42 61 79 20 31 00 00 00", "10 00 46 00 04 08 FF FF FF FF FF FF FF FF"};
    QCOMPARE(requests.size(), units.size());
    for (int i = 0; i < units.size(); ++i)
        QVERIFY2(requests.at(i).endsWith(" 01 " + units.at(i)), qPrintable(requests.at(i)));
}

void tst_runOperations::macros()
{
    DevSim sim({"--demo"});
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QVERIFY(open(window,
        project("Plant", {tcpPort(sim.tcpPort())}, {}, {},
            {macroRequest("FD_MACRO_LOGIN", "1 7305"),
                macroRequest("FD_MACRO_SET_ACTIVE_PROFILE", "2"),
                macroRequest("FD_MACRO_LOGOUT", "")})));
    logRecorder log(window);
    const QList<macroElement *> list = rows<macroElement>(window, "macroLayout");
    QCOMPARE(list.size(), 3);

    // Each row's run button runs its macro alone.
    for (macroElement *element : list) {
        element->findChild<QAbstractButton *>("exe")->click();
        QTRY_COMPARE_WITH_TIMEOUT(log.lines().size(), list.indexOf(element) + 1, 30000);
    }
    QCOMPARE(sim.macroLog().size(), 3);
    // The password's first four characters go as two words, low byte first.
    QCOMPARE(sim.macroLog().at(0), QStringLiteral("write code=44 spec=1 params=1 13111 13616"));
    QVERIFY2(sim.macroLog().at(1).endsWith(" params=2"), qPrintable(sim.macroLog().at(1)));
    QVERIFY2(sim.macroLog().at(2).endsWith(" params="), qPrintable(sim.macroLog().at(2)));
    const QStringList names {"FD_MACRO_LOGIN", "FD_MACRO_SET_ACTIVE_PROFILE", "FD_MACRO_LOGOUT"};
    for (int i = 0; i < 3; ++i)
        QVERIFY2(log.lines().at(i).endsWith(" --- <b>MACRO</b> " + names.at(i) + " " + okStatus),
            qPrintable(log.lines().at(i)));
    QCOMPARE(counters(window), (QStringList {"3", ""}));
    for (macroElement *element : list)
        QVERIFY(!element->isExeRequested());
}

void tst_runOperations::failures_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("stopped");
    QTest::addColumn<QString>("addr"); // device address of the port
    // As the driver gives it after the status.
    QTest::addColumn<QString>("cause");

    QTest::newRow("exception reply") << QStringList {"--fault", "exception=2"} << false << "1"
                                     << "Illegal data address";
    QTest::newRow("no reply") << QStringList {"--fault", "silent"} << false << "1"
                              << "The device did not answer within 2000 ms";
    QTest::newRow("connection closed") << QStringList {"--fault", "drop"} << false << "1"
                                       << "Connection reset by peer";
    QTest::newRow("device not behind the gateway") << QStringList {} << false << "7"
                                                   << "Target device failed to respond";
    QTest::newRow("nobody listening") << QStringList {} << true << "1"
                                      << "Connection fails: Connection refused";
}

// A failed request shows "?" in its row, its cause as the row's tool tip, and
// a red ERROR with the cause in the log; it counts as an error and does not
// stop the requests after it.
void tst_runOperations::failures()
{
    QFETCH(QStringList, options);
    QFETCH(bool, stopped);
    QFETCH(QString, addr);
    QFETCH(QString, cause);
    const QRegularExpression causes(QRegularExpression::anchoredPattern(cause));

    DevSim sim(QStringList {"--demo"} + options);
    quint16 port = 0;
    QVERIFY2(startTcp(sim, stopped, &port), qPrintable(sim.startError()));
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QVERIFY(open(window,
        project("Plant", {tcpPort(port, true, addr)},
            {readRequest("U16", "100", "F_X_XX"), readRequest("F32", "106")},
            {writeRequest("U16", "130", "5")}, {macroRequest("FD_MACRO_LOGIN", "1 7305")})));
    logRecorder log(window);
    QVERIFY(invoke(window, "commandReadAll"));
    QVERIFY(invoke(window, "commandWriteAll"));
    rows<macroElement>(window, "macroLayout").at(0)->findChild<QAbstractButton *>("exe")->click();
    QTRY_COMPARE_WITH_TIMEOUT(log.lines().size(), 4, 30000);

    for (readElement *element : rows<readElement>(window, "readLayout")) {
        QCOMPARE(element->value(), QStringLiteral("?"));
        QVERIFY2(causes.match(element->toolTip()).hasMatch(), qPrintable(element->toolTip()));
    }
    const QStringList lines = log.lines();
    const QStringList heads {" --- <b>READ</b> U16 [ 100 --&gt; <b>?</b> ] ",
        " --- <b>READ</b> F32 [ 106 --&gt; <b>?</b> ] ",
        " --- <b>WRITE</b> U16 [ <b>5</b> --&gt; 130 ] ", " --- <b>MACRO</b> FD_MACRO_LOGIN "};
    for (int i = 0; i < heads.size(); ++i) {
        const QString status
            = lines.at(i).mid(lines.at(i).indexOf(heads.at(i)) + heads.at(i).size());
        QVERIFY2(lines.at(i).contains(heads.at(i)), qPrintable(lines.at(i)));
        QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(
                                        QRegularExpression::escape(errorWith("CAUSE"))
                                            .replace("CAUSE", "(" + cause + ")")))
                     .match(status)
                     .hasMatch(),
            qPrintable(status));
    }
    QCOMPARE(int(sim.holding(130)), 0);
    QCOMPARE(counters(window), (QStringList {"4", "4"}));
}

void tst_runOperations::deviceSilence_data()
{
    QTest::addColumn<bool>("rtu");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("reads");
    QTest::addColumn<QString>("cause"); // a regular expression
    const QString none = "The device did not answer within 2000 ms";
    const QString incomplete = "The device's reply was incomplete after \\d+ ms";
    QTest::newRow("TCP: no reply") << false << "silent" << 8 << none;
    QTest::newRow("RTU: no reply") << true << "silent" << 8 << none;
    QTest::newRow("TCP: a reply that trickles") << false << "trickle=400" << 2 << incomplete;
    // One: the rest of a reply given up on still trickles in when the next
    // request goes out on the same line.
    QTest::newRow("RTU: a reply that trickles") << true << "trickle=400" << 1 << incomplete;
}

// A device that does not answer, or whose reply comes too slowly, fails
// every request with the driver's cause: the client waits for a driver
// longer than the driver waits for the device, so its own time-out never
// takes the driver's place.
void tst_runOperations::deviceSilence()
{
    QFETCH(bool, rtu);
    QFETCH(QString, fault);
    QFETCH(int, reads);
    QFETCH(QString, cause);
    const QRegularExpression expected(QRegularExpression::anchoredPattern(cause));

    DevSim sim({"--demo", "--fault", fault});
    QVERIFY2(rtu ? sim.startRtu() : sim.startTcp(), qPrintable(sim.startError()));
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QJsonArray requests;
    for (int i = 0; i < reads; ++i)
        requests << readRequest("U16", QString::number(100 + i));
    QVERIFY(open(window,
        project(
            "Plant", {rtu ? rtuPort(sim.ptyPath().mid(5)) : tcpPort(sim.tcpPort())}, requests)));
    logRecorder log(window);
    QVERIFY(invoke(window, "commandReadAll"));

    const QList<readElement *> list = rows<readElement>(window, "readLayout");
    QCOMPARE(log.lines().size(), reads);
    for (int i = 0; i < reads; ++i) {
        QCOMPARE(list.at(i)->value(), QStringLiteral("?"));
        QVERIFY2(expected.match(list.at(i)->toolTip()).hasMatch(),
            qPrintable(QString::number(i) + ": " + list.at(i)->toolTip()));
        QVERIFY2(log.lines().at(i).contains(QRegularExpression(
                     QRegularExpression::escape(errorWith("CAUSE")).replace("CAUSE", cause) + "$")),
            qPrintable(log.lines().at(i)));
    }
    QCOMPARE(counters(window), (QStringList {QString::number(reads), QString::number(reads)}));
}

namespace {

// The processes this test started that still run under the given name.
QStringList childrenNamed(const QString &name)
{
    QStringList found;
    const QString self = QString::number(QCoreApplication::applicationPid());
    for (const QString &pid : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat("/proc/" + pid + "/stat");
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromLocal8Bit(stat.readAll());
        // "pid (comm) state ppid ..."
        const int close = text.lastIndexOf(')');
        const QStringList rest = text.mid(close + 2).split(' ');
        if (text.contains("(" + name + ")") && rest.size() > 1 && rest.at(1) == self)
            found << pid;
    }
    return found;
}

} // namespace

// Stop during a ReadAll against a device that never answers kills the
// running driver at once: its line says it was stopped and how many were
// skipped, no further request goes out, nothing is counted, and no driver
// is left.
void tst_runOperations::stopEndsReadAll()
{
    DevSim sim({"--demo", "--fault", "silent"});
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QVERIFY(open(window,
        project("Plant", {tcpPort(sim.tcpPort())},
            {readRequest("U16", "100"), readRequest("U16", "101"), readRequest("U16", "102")})));
    logRecorder log(window);
    QElapsedTimer clock;
    // Runs inside the wait for the first driver.
    QTimer::singleShot(0, &window, [&]() {
        QVERIFY(window.isBusy());
        QVERIFY(!window.findChild<QAction *>("actionReadAll")->isEnabled());
        clock.start();
        window.findChild<QAction *>("actionStop")->trigger();
    });
    QVERIFY(invoke(window, "commandReadAll"));
    qInfo("ReadAll ended %lld ms after Stop", clock.elapsed());
    QVERIFY(!window.isBusy());
    QVERIFY(window.findChild<QAction *>("actionReadAll")->isEnabled());
    QVERIFY(childrenNamed("qelDrvModbus").isEmpty());
    const QStringList lines = log.lines();
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines.at(0).endsWith(" --- <b>READ</b> U16 [ 100 --&gt; <b>?</b> ] "
                 + errorWith("stopped; 2 more not run")),
        qPrintable(lines.at(0)));
    QVERIFY(sim.requestLog().size() <= 1);
    QCOMPARE(counters(window), (QStringList {"", ""}));
    const QList<readElement *> reads = rows<readElement>(window, "readLayout");
    QCOMPARE(reads.at(0)->value(), QString());
    QCOMPARE(reads.at(2)->value(), QString());
}

void tst_runOperations::statistics()
{
    DevSim sim({"--demo", "--fault", "exception=2,request=2"});
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QVERIFY(open(window,
        project("Plant", {tcpPort(sim.tcpPort())},
            {readRequest("U16", "100"), readRequest("U16", "101"), readRequest("U16", "102")},
            {writeRequest("U16", "130", "1"), writeRequest("U16", "131", "2")})));
    QCOMPARE(counters(window), (QStringList {"", ""}));
    // Readings and counts repaint their boxes and lay nothing out again: in
    // a large project a layout per request was most of the client's time.
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(invoke(window, "commandReadAll"));
    QCOMPARE(counters(window), (QStringList {"3", "1"}));
    QCOMPARE(rows<readElement>(window, "readLayout").at(1)->value(), QStringLiteral("?"));
    QWidget *list = window.findChild<QBoxLayout *>("readLayout")->parentWidget();
    layoutRequests requests({&window, list});
    QVERIFY(invoke(window, "commandReadAll"));
    QCoreApplication::processEvents();
    QCOMPARE(requests.count, 0);
    QCOMPARE(counters(window), (QStringList {"6", "1"}));
    // A reading wider than its box widens it: a value is never cut.
    readElement *row = rows<readElement>(window, "readLayout").at(0);
    const QString wide = QStringLiteral("-1234567890.123456789 -1234567890.123456789");
    row->showResult(true, wide, QString());
    QCoreApplication::processEvents();
    const QLabel *box = row->findChild<QLabel *>("value");
    QCOMPARE(box->text(), wide);
    QVERIFY(box->width() >= box->sizeHint().width());
    QVERIFY(invoke(window, "commandWriteAll"));
    QCOMPARE(counters(window), (QStringList {"8", "1"}));
    QCOMPARE(int(sim.holding(131)), 2);
}

// With verbose on, every request logs the driver's command line and the
// frames sent and received. The frames are those the simulator saw and
// answered.
void tst_runOperations::verboseTrace()
{
    DevSim sim({"--demo"});
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QVERIFY(open(window,
        project("Plant", {tcpPort(sim.tcpPort())}, {readRequest("U16", "114", "F_X_XX")},
            {writeRequest("U16", "130", "9")}, {macroRequest("FD_MACRO_LOGIN", "1 7305")})));
    prompts.itemAnswers << "yes";
    QVERIFY(invoke(window, "commandVerbose"));
    QVERIFY(window.isVerbose());
    QCOMPARE(prompts.asked.at(0).items, (QStringList {"yes", "no"}));
    QCOMPARE(prompts.asked.at(0).current, 1);

    logRecorder log(window);
    QVERIFY(invoke(window, "commandReadAll"));
    QVERIFY(invoke(window, "commandWriteAll"));
    rows<macroElement>(window, "macroLayout").at(0)->findChild<QAbstractButton *>("exe")->click();
    QTRY_COMPARE_WITH_TIMEOUT(log.lines().size(), 12, 30000);

    const auto bracketed = [](const QString &hex) {
        QString text;
        for (const QString &byte : hex.split(' '))
            text += '[' + byte + ']';
        return text;
    };
    const QString port = "--address 1 --ip 127.0.0.1 --port " + QString::number(sim.tcpPort());
    const QString modbus = "cmd " + QDir::current().absoluteFilePath("qelDrvModbus") + " " + port;
    const QStringList requests = sim.requestLog();
    QCOMPARE(requests.size(), 3);
    const QStringList lines = log.lines();
    QVERIFY(lines.at(0).endsWith(" --- <b>READ</b> U16 [ 114 --&gt; <b>4998</b> ] " + okStatus));
    QCOMPARE(rows<readElement>(window, "readLayout").at(0)->value(), QStringLiteral("49.98"));
    QCOMPARE(lines.at(1), modbus + " --read_u16 114 --verbose 1<br>");
    QCOMPARE(lines.at(2), "tx " + bracketed(requests.at(0)) + "<br>");
    // Reply: the request's MBAP header with length 5, unit 1, 03, 2 bytes, 4998.
    QCOMPARE(
        lines.at(3), "rx " + bracketed(requests.at(0).left(12) + "00 05 01 03 02 13 86") + "<br>");
    QVERIFY(lines.at(4).endsWith(" --- <b>WRITE</b> U16 [ <b>9</b> --&gt; 130 ] " + okStatus));
    QCOMPARE(lines.at(5), modbus + " --write_u16 130 --data 9 --verbose 1<br>");
    QCOMPARE(lines.at(6), "tx " + bracketed(requests.at(1)) + "<br>");
    QVERIFY2(
        lines.at(7).startsWith("rx [" + requests.at(1).left(2) + "]"), qPrintable(lines.at(7)));
    QVERIFY(lines.at(8).endsWith(" --- <b>MACRO</b> FD_MACRO_LOGIN " + okStatus));
    QCOMPARE(lines.at(9),
        "cmd " + QDir::current().absoluteFilePath("qelDrvMacro") + " " + port
            + " --macro FD_MACRO_LOGIN --param &quot;1 7305&quot; --verbose 1<br>");
    QCOMPARE(lines.at(10), "tx " + bracketed(requests.at(2)) + "<br>");
    QVERIFY2(
        lines.at(11).startsWith("rx [" + requests.at(2).left(2) + "]"), qPrintable(lines.at(11)));
    QCOMPARE(int(sim.holding(130)), 9);
}

void tst_runOperations::verboseFailures_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("stopped");
    QTest::addColumn<QString>("reply"); // the rx line's frame; "-" for no frame lines
    QTest::addColumn<QStringList>("said"); // the driver's standard error, line by line

    QTest::newRow("exception reply")
        << QStringList {"--fault", "exception=2"} << false << "[00][01][00][00][00][03][01][83][02]"
        << QStringList {"ERROR Illegal data address", "Illegal data address"};
    QTest::newRow("no reply") << QStringList {"--fault", "silent"} << false << ""
                              << QStringList {QString("ERROR %1: select").arg(strerror(ETIMEDOUT)),
                                     "The device did not answer within 2000 ms"};
    QTest::newRow("nobody listening")
        << QStringList {} << true << "-" << QStringList {"Connection fails: Connection refused"};
}

// With verbose on, a failed request logs its command line, the frames that
// went out and came back, and the driver's own words: what an engineer
// needs most when a request fails.
void tst_runOperations::verboseFailures()
{
    QFETCH(QStringList, options);
    QFETCH(bool, stopped);
    QFETCH(QString, reply);
    QFETCH(QStringList, said);

    DevSim sim(QStringList {"--demo"} + options);
    quint16 port = 0;
    QVERIFY2(startTcp(sim, stopped, &port), qPrintable(sim.startError()));
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QVERIFY(open(window, project("Plant", {tcpPort(port)}, {readRequest("U16", "100")})));
    window.runner()->setVerbose(true);
    logRecorder log(window);
    QVERIFY(invoke(window, "commandReadAll"));

    QStringList expected {"cmd " + QDir::current().absoluteFilePath("qelDrvModbus")
        + " --address 1 --ip 127.0.0.1 --port " + QString::number(port)
        + " --read_u16 100 --verbose 1<br>"};
    if (reply != "-")
        expected << "tx [00][01][00][00][00][06][01][03][00][64][00][01]<br>"
                 << "rx " + reply + "<br>";
    for (const QString &line : said)
        expected << "err " + line + "<br>";
    const QStringList lines = log.lines();
    QVERIFY2(lines.at(0).endsWith(
                 " --- <b>READ</b> U16 [ 100 --&gt; <b>?</b> ] " + errorWith(said.last())),
        qPrintable(lines.at(0)));
    QCOMPARE(lines.mid(1), expected);
}

// WriteData and WriteMacro run at once and are not counted.
void tst_runOperations::immediateCommands()
{
    DevSim sim({"--demo"});
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QVERIFY(open(window, project("Plant", {tcpPort(sim.tcpPort())}, {})));
    logRecorder log(window);

    prompts.dialogAnswers << [](QDialog *dialog) {
        dialog->findChild<QComboBox *>("type")->setCurrentText("S16");
        dialog->findChild<QSpinBox *>("address")->setValue(140);
        dialog->findChild<QDoubleSpinBox *>("value")->setValue(-7);
        return int(QDialog::Accepted);
    };
    QVERIFY(invoke(window, "commandWriteData"));
    QCOMPARE(int(sim.holding(140)), 0xFFF9);

    prompts.itemAnswers << "FD_MACRO_LOGOUT";
    prompts.dialogAnswers << [](QDialog *) { return int(QDialog::Accepted); };
    QVERIFY(invoke(window, "commandWriteMacro"));
    QCOMPARE(sim.macroLog().size(), 1);

    const QStringList lines = log.lines();
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines.at(0).endsWith(" --- <b>WRITE</b> S16 [ <b>-7</b> --&gt; 140 ] " + okStatus),
        qPrintable(lines.at(0)));
    QVERIFY(lines.at(1).endsWith(" --- <b>MACRO</b> FD_MACRO_LOGOUT " + okStatus));
    QCOMPARE(counters(window), (QStringList {"", ""}));
}

// The demo project is a file as the client writes it, and every request in
// it succeeds against the simulator's demo registers.
void tst_runOperations::demoProject()
{
    const QString demo = QStringLiteral(QEL_SOURCE_DIR "/examples/demo.json");
    DevSim sim({"--demo"});
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    window.loadFile(demo);
    QCOMPARE(window.document()->path(), demo);
    prompts.fileAnswers << dir.filePath("demo-saved.json");
    QVERIFY(invoke(window, "commandSaveAs"));
    QCOMPARE(readFile(dir.filePath("demo-saved.json")), readFile(demo));

    const QList<tcpElement *> ports = rows<tcpElement>(window, "comLayout");
    QCOMPARE(ports.size(), 1);
    QVERIFY(ports.at(0)->isActive());
    QCOMPARE(ports.at(0)->line().port, QStringLiteral("1502"));
    portValues simulator = ports.at(0)->line();
    simulator.port = QString::number(sim.tcpPort());
    ports.at(0)->setValues(simulator);

    QVERIFY(invoke(window, "commandReadAll"));
    QVERIFY(invoke(window, "commandWriteAll"));
    const QList<macroElement *> macros = rows<macroElement>(window, "macroLayout");
    for (int i = 0; i < macros.size(); ++i) {
        macros.at(i)->findChild<QAbstractButton *>("exe")->click();
        QTRY_VERIFY_WITH_TIMEOUT(sim.macroLog().size() == i + 1 && !window.isBusy(), 30000);
    }
    QVERIFY(invoke(window, "commandReadAll"));
    const QList<readElement *> reads = rows<readElement>(window, "readLayout");
    const QList<writeElement *> writes = rows<writeElement>(window, "writeLayout");
    QVERIFY(reads.size() >= 12);
    QCOMPARE(counters(window),
        (QStringList {QString::number(2 * reads.size() + writes.size() + macros.size()), ""}));

    QStringList shown;
    for (const readElement *element : reads)
        shown << element->value();
    const QStringList expected {"1234", "-1234", "305419896", "-123456789", "3.14159", "-273.15",
        "171", "230.5", "49.98", "12.345", "3.1416", "-12.34"};
    QCOMPARE(shown.mid(0, expected.size()), expected);
    // The reads of the written registers show the written values.
    for (const writeElement *write : writes)
        for (const readElement *read : reads)
            if (read->request().addr == write->request().addr
                && read->request().type == write->request().type)
                QCOMPARE(read->value(), write->request().value);
}

// Over a serial line: the port element names the device in the Windows
// form, "\\.\pts/7" for the pseudo-terminal /dev/pts/7.
void tst_runOperations::serialLine()
{
    DevSim sim({"--demo"});
    QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
    QVERIFY(sim.ptyPath().startsWith("/dev/"));
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QVERIFY(open(window,
        project("Plant", {rtuPort(sim.ptyPath().mid(5), true, "1", "115200")},
            {readRequest("S16", "101", "F_X_XX")}, {writeRequest("U32", "150", "70000")},
            {macroRequest("FD_MACRO_LOGIN", "1 7305")})));
    QVERIFY(invoke(window, "commandReadAll"));
    QVERIFY(invoke(window, "commandWriteAll"));
    rows<macroElement>(window, "macroLayout").at(0)->findChild<QAbstractButton *>("exe")->click();
    QTRY_VERIFY_WITH_TIMEOUT(sim.macroLog().size() == 1 && !window.isBusy(), 30000);

    QCOMPARE(rows<readElement>(window, "readLayout").at(0)->value(), QStringLiteral("-12.34"));
    QCOMPARE(int(sim.holding(150)), 70000 & 0xFFFF);
    QCOMPARE(int(sim.holding(151)), 70000 >> 16);
    QCOMPARE(sim.requestLog().at(0), QStringLiteral("01 03 00 65 00 01 94 15"));
    QCOMPARE(counters(window), (QStringList {"3", ""}));
}

void tst_runOperations::otherLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::newRow("ASCII 7E1 on a serial line") << "ascii";
    QTest::newRow("RTU through a gateway") << "gateway";
    QTest::newRow("TLS") << "tls";
}

// A port of each of the other lines runs the real drivers against the
// simulator on that line: a read shows its value, a write reaches the
// device.
void tst_runOperations::otherLines()
{
    QFETCH(QString, line);
    TestCertificates certificates;
    QJsonObject port;
    QStringList simulator {"--demo"};
    if (line == "tls") {
        QVERIFY2(certificates.make(), qPrintable(certificates.errorString()));
        simulator << "--tls" << certificates.path("server.pem") << certificates.path("server.key")
                  << certificates.path("ca.pem");
    } else {
        simulator << "--framing" << (line == "ascii" ? "ASCII" : "RTU");
    }
    DevSim sim(simulator);
    QVERIFY2(line == "ascii" ? sim.startRtu() : sim.startTcp(), qPrintable(sim.startError()));
    if (line == "ascii") {
        port = rtuPort(sim.ptyPath().mid(5), true, "1", "9600");
        port.insert("framing", "ASCII");
        port.insert("databits", "7");
        port.insert("parity", "E");
    } else {
        port = tcpPort(sim.tcpPort(), true, "1");
        if (line == "gateway") {
            port.insert("framing", "RTU");
        } else {
            port.insert("tls", true);
            port.insert("cert", certificates.path("client.pem"));
            port.insert("key", certificates.path("client.key"));
            port.insert("ca", certificates.path("ca.pem"));
        }
    }
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QVERIFY(open(window,
        project("Plant", {port}, {readRequest("F32", "106", "", "pi")},
            {writeRequest("S32", "150", "-70000")})));
    QVERIFY(invoke(window, "commandReadAll"));
    QVERIFY(invoke(window, "commandWriteAll"));
    QTRY_VERIFY_WITH_TIMEOUT(!window.isBusy(), 30000);
    QCOMPARE(rows<readElement>(window, "readLayout").at(0)->value(), QStringLiteral("3.14159"));
    QCOMPARE(quint32(sim.holding(150) | sim.holding(151) << 16), quint32(-70000));
    QCOMPARE(counters(window), (QStringList {"2", ""}));
}

namespace {

QJsonObject keptOpen(QJsonObject port)
{
    port.insert("keepopen", true);
    return port;
}

} // namespace

// A port that keeps its line open, against a device that closes its
// connection after every tenth reply: every read is answered or fails with
// its cause, none is lost or answered twice (the device steps its counter at
// every read it answers: the values come once each, in order, and as many as
// it answered), each has its log line as a one-shot run's, and far fewer
// connections than requests were made. The reads are marked for the trend
// and recorded to CSV: the recording has a row for every result, in order,
// with the value the device's replies carried, and the trend the same
// values at the same times, a failed read a gap. Closing the project ends
// the driver.
void tst_runOperations::keptLineAgainstClosingDevice()
{
    DevSim sim(
        {"--demo", "--holding", "100=0", "--count-holding", "100", "--fault", "close,every=10"});
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QJsonArray reads;
    for (int i = 0; i < 35; ++i) {
        QJsonObject read = readRequest("U16", "100");
        read.insert("trend", true);
        reads << read;
    }
    QVERIFY(open(window, project("Plant", {keptOpen(tcpPort(sim.tcpPort()))}, reads)));
    const QString csv = dir.filePath("kept.csv");
    prompts.fileAnswers << csv;
    action(window, "actionRecordCsv")->trigger();
    QCoreApplication::processEvents();
    QVERIFY(window.trends()->results()->recorder()->isRecording());
    logRecorder log(window);
    QVERIFY(invoke(window, "commandReadAll"));
    QCOMPARE(childrenNamed("qelDrvModbus").size(), 1);
    QVERIFY(invoke(window, "commandReadAll"));

    const QStringList lines = log.lines();
    QCOMPARE(lines.size(), 70);
    const QRegularExpression answered(" --- <b>READ</b> U16 \\[ 100 --&gt; <b>(\\d+)</b> \\] "
        + QRegularExpression::escape(okStatus) + "$");
    const QRegularExpression failed(" --- <b>READ</b> U16 \\[ 100 --&gt; <b>\\?</b> \\] "
        + QRegularExpression::escape("<b><font color=\"red\" >ERROR</font>\n</b> ") + ".+<br>$");
    int next = 0;
    for (const QString &line : lines) {
        const QRegularExpressionMatch value = answered.match(line);
        if (value.hasMatch())
            QCOMPARE(value.captured(1).toInt(), next++);
        else
            QVERIFY2(failed.match(line).hasMatch(), qPrintable(line));
    }
    QVERIFY2(next >= 60, qPrintable(lines.join('\n')));
    QCOMPARE(sim.requestLog().size(), next);
    QCOMPARE(int(sim.holding(100)), next);
    QCOMPARE(counters(window), (QStringList {"70", next == 70 ? "" : QString::number(70 - next)}));
    const int connections = sim.connectionLog().size();
    QVERIFY2(connections >= next / 10 && connections <= 7 + 70 - next,
        qPrintable(QString::number(connections)));

    // The values the device served, from its replies, in order.
    const QStringList replies = sim.replyLog();
    QCOMPARE(replies.size(), next);
    QList<int> served;
    for (const QString &reply : replies) {
        const QStringList bytes = reply.split(' ');
        QVERIFY2(bytes.size() >= 2, qPrintable(reply));
        served << (bytes.at(bytes.size() - 2) + bytes.last()).toInt(nullptr, 16);
    }

    action(window, "actionStopRecording")->trigger();
    QCoreApplication::processEvents();
    QVERIFY(!window.trends()->results()->recorder()->isRecording());
    QList<QStringList> recorded;
    QVERIFY(parseCsv(readFile(csv), &recorded));
    QCOMPARE(recorded.value(0), csvRecorder::header());
    recorded.removeFirst();
    QCOMPARE(recorded.size(), lines.size());
    int answeredRows = 0;
    for (int i = 0; i < recorded.size(); ++i) {
        const QStringList &row = recorded.at(i);
        QCOMPARE(row.mid(1, 4), (QStringList {"READ", "r", "100", "U16"}));
        if (answered.match(lines.at(i)).hasMatch()) {
            QVERIFY(answeredRows < served.size());
            const QString value = QString::number(served.at(answeredRows++));
            QCOMPARE(row.mid(5), (QStringList {value, value, "OK", ""}));
        } else {
            QCOMPARE(row.mid(5, 3), (QStringList {"", "", "ERROR"}));
            QVERIFY2(!row.value(8).isEmpty(), qPrintable(row.join(',')));
        }
    }
    QCOMPARE(answeredRows, served.size());

    // Row r's series holds its result of the first run, then of the second.
    const QList<readElement *> rowsRead = rows<readElement>(window, "readLayout");
    const trendModel *trend = window.trends()->results()->trend();
    QCOMPARE(trend->rows().size(), 35);
    int plotted = 0;
    for (int r = 0; r < 35; ++r) {
        QCOMPARE(trend->rows().at(r), rowsRead.at(r));
        const trendSeries *series = trend->series(rowsRead.at(r));
        QCOMPARE(series->size(), 2);
        for (int run = 0; run < 2; ++run) {
            const QStringList &row = recorded.at(run * 35 + r);
            const trendPoint &point = series->at(run);
            QCOMPARE(QDateTime::fromMSecsSinceEpoch(point.msecs),
                QDateTime::fromString(row.at(0), Qt::ISODateWithMs));
            QCOMPARE(point.isGap(), row.at(7) == "ERROR");
            if (!point.isGap()) {
                QCOMPARE(point.value, row.at(6).toDouble());
                ++plotted;
            }
        }
    }
    QCOMPARE(plotted, served.size());

    QVERIFY(invoke(window, "commandCloseProject"));
    QTRY_VERIFY_WITH_TIMEOUT(childrenNamed("qelDrvModbus").isEmpty(), 10000);
}

// Stop ends the serving driver at once; the next request starts another,
// as it does after the driver died.
void tst_runOperations::keptLineStoppedAndRestarted()
{
    DevSim sim({"--demo", "--fault", "silent,request=1"});
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QVERIFY(open(window,
        project("Plant", {keptOpen(tcpPort(sim.tcpPort()))},
            {readRequest("U16", "100"), readRequest("U16", "101"), readRequest("U16", "102")})));
    logRecorder log(window);
    QTimer::singleShot(0, &window, [&]() {
        QTRY_VERIFY_WITH_TIMEOUT(sim.requestLog().size() == 1, 10000);
        window.findChild<QAction *>("actionStop")->trigger();
    });
    QVERIFY(invoke(window, "commandReadAll"));
    QVERIFY(!window.isBusy());
    QVERIFY(childrenNamed("qelDrvModbus").isEmpty());
    QCOMPARE(log.lines().size(), 1);
    QVERIFY2(log.lines().at(0).endsWith(errorWith("stopped; 2 more not run")),
        qPrintable(log.lines().at(0)));

    QVERIFY(invoke(window, "commandReadAll"));
    const QStringList servers = childrenNamed("qelDrvModbus");
    QCOMPARE(servers.size(), 1);
    for (const readElement *row : rows<readElement>(window, "readLayout"))
        QVERIFY(!row->value().isEmpty() && row->value() != QStringLiteral("?"));
    ::kill(servers.at(0).toInt(), SIGKILL);
    QTRY_VERIFY_WITH_TIMEOUT(!childrenNamed("qelDrvModbus").contains(servers.at(0)), 10000);
    QVERIFY(invoke(window, "commandReadAll"));
    QCOMPARE(counters(window), (QStringList {"6", ""}));
    QCOMPARE(sim.connectionLog().size(), 3);
}

// On a serial line one serving driver at a time holds the line: a macro
// ends the register driver's server first, and a read the macro driver's.
void tst_runOperations::keptSerialLineHeldByOneDriver()
{
    DevSim sim({"--demo"});
    QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QVERIFY(open(window,
        project("Plant", {keptOpen(rtuPort(sim.ptyPath().mid(5), true, "1", "115200"))},
            {readRequest("S16", "101", "F_X_XX")}, {},
            {macroRequest("FD_MACRO_LOGIN", "1 7305")})));
    QVERIFY(invoke(window, "commandReadAll"));
    QCOMPARE(childrenNamed("qelDrvModbus").size(), 1);
    rows<macroElement>(window, "macroLayout").at(0)->findChild<QAbstractButton *>("exe")->click();
    QTRY_VERIFY_WITH_TIMEOUT(sim.macroLog().size() == 1 && !window.isBusy(), 30000);
    QVERIFY(childrenNamed("qelDrvModbus").isEmpty());
    QCOMPARE(childrenNamed("qelDrvMacro").size(), 1);
    QVERIFY(invoke(window, "commandReadAll"));
    QVERIFY(childrenNamed("qelDrvMacro").isEmpty());
    QCOMPARE(rows<readElement>(window, "readLayout").at(0)->value(), QStringLiteral("-12.34"));
    QCOMPARE(counters(window), (QStringList {"3", ""}));
}

QTEST_MAIN(tst_runOperations)
#include "tst_runoperations.moc"
