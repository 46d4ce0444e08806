#include "driverrunner.h"
#include "readelement.h"
#include "scriptedprompts.h"
#include "standindrivers.h"
#include "windowtesting.h"
#include "writeelement.h"

#include <QAbstractButton>
#include <QIcon>
#include <QMenu>
#include <QTimer>
#include <QtTest>

// The automatic refresh: one read per pass in list order, the requests asked
// for by their row buttons before the next read, and no pass after it is
// switched off.
class tst_autoRefresh : public QObject
{
    Q_OBJECT

private:
    bool open(MainWindow &window, const QJsonObject &root)
    {
        const QString path = drivers->path("project.json");
        return writeProject(path, root)
            && (window.loadFile(path), !window.document()->path().isEmpty());
    }
    // The register of each run: "r1" for a read of register 1, "w9" for a
    // write to register 9.
    QStringList runs() const
    {
        QStringList list;
        for (const QStringList &call : drivers->calls()) {
            const int read = call.indexOf("--read_u16");
            const int write = call.indexOf("--write_u16");
            list << (read >= 0 ? "r" + call.value(read + 1) : "w" + call.value(write + 1));
        }
        return list;
    }
    static QTimer *timer(const MainWindow &window, const char *name)
    {
        return window.findChild<QTimer *>(QLatin1String(name));
    }
    // Whether the window is quiet: no run under way, no pass pending.
    static bool quiet(const MainWindow &window)
    {
        return !window.isBusy() && !timer(window, "runTimer")->isActive();
    }

    std::unique_ptr<standInDrivers> drivers;

private slots:
    void init();
    void cleanup();
    void cyclesThroughReads();
    void switchedOffDuringRun();
    void stopsWithoutReads();
    void iconCycles();
};

void tst_autoRefresh::init()
{
    drivers.reset(new standInDrivers);
    QVERIFY(drivers->ready);
}

void tst_autoRefresh::cleanup()
{
    drivers.reset();
}

void tst_autoRefresh::cyclesThroughReads()
{
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QVERIFY(open(window,
        project("Plant", {rtuPort("COM3")},
            {readRequest("U16", "1"), readRequest("U16", "2"), readRequest("U16", "3")},
            {writeRequest("U16", "9", "1")})));
    QMenu *commands = window.findChild<QMenu *>("menuCommands");

    QVERIFY(QMetaObject::invokeMethod(
        &window, "commandRefresh", Qt::DirectConnection, Q_ARG(bool, false)));
    QVERIFY(timer(window, "animTimer")->isActive());
    QVERIFY(!window.findChild<QAction *>("actionReadAll")->isEnabled());
    QVERIFY(commands->isEnabled()); // Stop stays reachable
    QTRY_VERIFY_WITH_TIMEOUT(drivers->calls().size() >= 4, 30000);
    QCOMPARE(runs().mid(0, 4), (QStringList {"r1", "r2", "r3", "r1"}));

    // With the refresh on, a row's button leaves its request to the next pass.
    writeElement *write = rows<writeElement>(window, "writeLayout").at(0);
    write->findChild<QAbstractButton *>("exe")->click();
    QTRY_VERIFY_WITH_TIMEOUT(
        runs().contains("w9") && runs().indexOf("w9") < runs().size() - 1, 30000);
    action(window, "actionRefresh")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(quiet(window), 30000);
    QVERIFY(!timer(window, "animTimer")->isActive());
    QVERIFY(commands->isEnabled());
    QVERIFY(!write->isExeRequested());

    const QStringList all = runs();
    QCOMPARE(all.count("w9"), 1);
    // Reads go on in list order around the write, which comes before a read.
    QStringList reads = all;
    reads.removeAll("w9");
    for (int i = 0; i < reads.size(); ++i)
        QCOMPARE(reads.at(i), QStringLiteral("r%1").arg(i % 3 + 1));
    const int at = all.indexOf("w9");
    QVERIFY(at > 0);
    const int before = all.at(at - 1).mid(1).toInt();
    QCOMPARE(all.at(at + 1), QStringLiteral("r%1").arg(before % 3 + 1));

    // Nothing runs after the refresh is off, not even a pass that fires late.
    QMetaObject::invokeMethod(&window, "exeNextObject");
    QCoreApplication::processEvents();
    QCOMPARE(runs(), all);
    const QStringList counts = counters(window);
    QCOMPARE(counts.at(0), QString::number(all.size()));
}

// Switching the refresh off while a driver runs lets that run finish; no
// further driver starts.
void tst_autoRefresh::switchedOffDuringRun()
{
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QVERIFY(open(window,
        project("Plant", {rtuPort("COM3")}, {readRequest("U16", "1"), readRequest("U16", "2")},
            {writeRequest("U16", "9", "1")})));
    logRecorder log(window);
    rows<writeElement>(window, "writeLayout").at(0)->setExeRequested(true);
    // The write's line is logged once its driver has started.
    bool switched = false;
    connect(window.runner(), &driverRunner::logged, &window, [&](const QString &html) {
        if (!switched && html.contains("<b>WRITE</b>")) {
            switched = true;
            action(window, "actionRefresh")->trigger();
        }
    });
    action(window, "actionRefresh")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(switched, 30000);
    QTRY_VERIFY_WITH_TIMEOUT(quiet(window), 30000);
    QVERIFY(!timer(window, "animTimer")->isActive());
    QCOMPARE(runs(), QStringList {"w9"});
    QVERIFY(log.lines().at(0).endsWith(okStatus));
}

// Without reads a pass starts no other: requests asked for later wait until
// the refresh is switched off and on again.
void tst_autoRefresh::stopsWithoutReads()
{
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QVERIFY(open(window, project("Plant", {rtuPort("COM3")}, {}, {writeRequest("U16", "9", "1")})));
    writeElement *write = rows<writeElement>(window, "writeLayout").at(0);
    write->setExeRequested(true);
    action(window, "actionRefresh")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(runs() == QStringList {"w9"} && !window.isBusy(), 30000);
    QTRY_VERIFY(!timer(window, "runTimer")->isActive());
    QVERIFY(timer(window, "animTimer")->isActive());

    write->findChild<QAbstractButton *>("exe")->click();
    QTRY_VERIFY(write->isExeRequested());
    QCoreApplication::processEvents();
    QCOMPARE(runs(), QStringList {"w9"});
    action(window, "actionRefresh")->trigger(); // off
    action(window, "actionRefresh")->trigger(); // on again
    QTRY_VERIFY_WITH_TIMEOUT(runs().size() == 2 && quiet(window), 30000);
    action(window, "actionRefresh")->trigger();
    QTRY_VERIFY(!timer(window, "animTimer")->isActive());
    QCOMPARE(runs(), (QStringList {"w9", "w9"}));
}

void tst_autoRefresh::iconCycles()
{
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QAction *refresh = action(window, "actionRefresh");
    const auto picture = [](const QIcon &icon) { return icon.pixmap(32, 32).toImage(); };
    const QImage first = picture(refresh->icon());
    QCOMPARE(first, picture(QIcon(":/_icons/system_load1_128.png")));
    const QStringList frames {"1", "2", "3", "4", "1", "2"};
    for (const QString &frame : frames) {
        QMetaObject::invokeMethod(&window, "animateIcon");
        QCOMPARE(
            picture(refresh->icon()), picture(QIcon(":/_icons/system_load" + frame + "_128.png")));
    }
    QVERIFY(picture(QIcon(":/_icons/system_load2_128.png")) != first);

    // Each turn shows the same four icons: a new icon per frame would leave
    // its scaled pictures in the pixmap cache under a new key every frame.
    QList<qint64> keys;
    for (int frame = 0; frame < 8; ++frame) {
        QMetaObject::invokeMethod(&window, "animateIcon");
        keys << refresh->icon().cacheKey();
    }
    QCOMPARE(keys.mid(4), keys.mid(0, 4));
}

QTEST_MAIN(tst_autoRefresh)
#include "tst_autorefresh.moc"
