#include "driverlocation.h"
#include "driverrunner.h"
#include "macroelement.h"
#include "readelement.h"
#include "rtuelement.h"
#include "scriptedprompts.h"
#include "standindrivers.h"
#include "tcpelement.h"
#include "windowtesting.h"
#include "writeelement.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QMenu>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>

#include <csignal>
#include <cstring>

// The command lines the window gives the drivers, as stand-in drivers
// receive them, argument by argument.
class tst_commandLines : public QObject
{
    Q_OBJECT

private:
    bool open(MainWindow &window, const QJsonObject &root)
    {
        const QString path = drivers->path("project.json");
        return writeProject(path, root)
            && (window.loadFile(path), !window.document()->path().isEmpty());
    }
    static void press(QWidget *element) { element->findChild<QAbstractButton *>("exe")->click(); }

    std::unique_ptr<standInDrivers> drivers;

private slots:
    void init();
    void cleanup();
    void rowRuns_data();
    void rowRuns();
    void runsWithoutActivePort();
    void refusedValues_data();
    void refusedValues();
    void activePortFollowsButton();
    void immediateCommands();
    void busyRunsNothingElse();
    void portTakenAtStart();
    void failedStatusShowsQuestionMark();
    void driverLocation_data();
    void driverLocation();
    void quitDuringRun();
};

void tst_commandLines::init()
{
    drivers.reset(new standInDrivers);
    QVERIFY(drivers->ready);
}

void tst_commandLines::cleanup()
{
    drivers.reset();
}

void tst_commandLines::rowRuns_data()
{
    QTest::addColumn<QJsonObject>("port");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QJsonObject>("request");
    QTest::addColumn<bool>("verbose");
    QTest::addColumn<QStringList>("call");

    const QJsonObject serial = rtuPort("COM3", true, "1", "115200");
    const QJsonObject tcp = tcpPort(502, true, "255");
    const QStringList serialPart {
        "--address", "1", "--port", "\\\\.\\COM3", "--baudrate", "115200"};
    const QStringList tcpPart {"--address", "255", "--ip", "127.0.0.1", "--port", "502"};

    QTest::newRow("serial read") << serial << "read" << readRequest("U16", "100") << false
                                 << (QStringList {"qelDrvModbus"} + serialPart
                                        + QStringList {"--read_u16", "100"});
    QTest::newRow("TCP read, verbose")
        << tcp << "read" << readRequest("F32", "106") << true
        << (QStringList {"qelDrvModbus"} + tcpPart
               + QStringList {"--read_f32", "106", "--verbose", "1"});
    QTest::newRow("serial write") << serial << "write" << writeRequest("S16", "7", "-2") << false
                                  << (QStringList {"qelDrvModbus"} + serialPart
                                         + QStringList {"--write_s16", "7", "--data", "-2"});
    QTest::newRow("TCP write, verbose")
        << tcp << "write" << writeRequest("F32", "134", "1.5") << true
        << (QStringList {"qelDrvModbus"} + tcpPart
               + QStringList {"--write_f32", "134", "--data", "1.5", "--verbose", "1"});
    QTest::newRow("serial macro, parameters with blanks as one argument")
        << serial << "macro"
        << macroRequest("FD_MACRO_SET_DATE_TIME", "2026 12 06 1 10 05 00 000 0") << false
        << (QStringList {"qelDrvMacro"} + serialPart
               + QStringList {
                   "--macro", "FD_MACRO_SET_DATE_TIME", "--param", "2026 12 06 1 10 05 00 000 0"});
    QTest::newRow("TCP macro, empty parameters, verbose")
        << tcp << "macro" << macroRequest("FD_MACRO_LOGOUT", "") << true
        << (QStringList {"qelDrvMacro"} + tcpPart
               + QStringList {"--macro", "FD_MACRO_LOGOUT", "--param", "", "--verbose", "1"});

    QJsonObject ascii = serial;
    ascii.insert("framing", "ASCII");
    ascii.insert("databits", "7");
    ascii.insert("parity", "E");
    QTest::newRow("serial ASCII 7E1 read") << ascii << "read" << readRequest("U16", "100") << false
                                           << (QStringList {"qelDrvModbus"} + serialPart
                                                  + QStringList {"--framing", "ASCII", "--data_bit",
                                                      "7", "--parity", "E", "--read_u16", "100"});
    QJsonObject gateway = tcp;
    gateway.insert("framing", "RTU");
    QTest::newRow("RTU through a gateway, write")
        << gateway << "write" << writeRequest("U16", "5", "1") << false
        << (QStringList {"qelDrvModbus"} + tcpPart
               + QStringList {"--framing", "RTU", "--write_u16", "5", "--data", "1"});
    QJsonObject secure = tcp;
    secure.insert("tls", true);
    secure.insert("cert", "/srv/site certs/engineer.pem");
    secure.insert("key", "/srv/site certs/engineer.key");
    secure.insert("ca", "/srv/site certs/ca.pem");
    QTest::newRow("TLS macro, file names with blanks as one argument each")
        << secure << "macro" << macroRequest("FD_MACRO_GET_SN", "") << false
        << (QStringList {"qelDrvMacro"} + tcpPart
               + QStringList {"--tls", "--cert", "/srv/site certs/engineer.pem", "--key",
                   "/srv/site certs/engineer.key", "--ca", "/srv/site certs/ca.pem", "--macro",
                   "FD_MACRO_GET_SN", "--param", ""});
}

// A row's run button runs its request alone over the active port.
void tst_commandLines::rowRuns()
{
    QFETCH(QJsonObject, port);
    QFETCH(QString, list);
    QFETCH(QJsonObject, request);
    QFETCH(bool, verbose);
    QFETCH(QStringList, call);

    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QJsonObject root = project("Plant", {rtuPort("COM9", false), port}, {});
    root.insert(list, QJsonArray {request});
    QVERIFY(open(window, root));
    if (verbose) {
        prompts.itemAnswers << "yes";
        QVERIFY(invoke(window, "commandVerbose"));
    }
    const QBoxLayout *layout = window.findChild<QBoxLayout *>(list + "Layout");
    QVERIFY(layout);
    QWidget *row = layout->itemAt(0)->widget();
    press(row);
    QTRY_COMPARE_WITH_TIMEOUT(drivers->calls().size(), 1, 30000);
    QCOMPARE(drivers->calls().at(0), call);
    QTRY_VERIFY(!window.isBusy());
    QCOMPARE(counters(window), (QStringList {"1", ""}));
    QVERIFY(prompts.kinds().count("message") == 0);
}

// ReadAll and WriteAll run without an active port: the drivers get no port
// options. A row's button asks for a port instead.
void tst_commandLines::runsWithoutActivePort()
{
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QVERIFY(open(window,
        project("Plant", {rtuPort("COM3", false)}, {readRequest("U16", "100")},
            {writeRequest("U16", "5", "1")})));
    QVERIFY(invoke(window, "commandReadAll"));
    QVERIFY(invoke(window, "commandWriteAll"));
    QCOMPARE(drivers->calls(),
        (QList<QStringList> {{"qelDrvModbus", "--read_u16", "100"},
            {"qelDrvModbus", "--write_u16", "5", "--data", "1"}}));

    readElement *read = rows<readElement>(window, "readLayout").at(0);
    press(read);
    QTRY_COMPARE(prompts.asked.size(), 1);
    QCOMPARE(prompts.asked.at(0).kind, QStringLiteral("message"));
    QCOMPARE(prompts.asked.at(0).title, QStringLiteral("Error"));
    QCOMPARE(prompts.asked.at(0).text, QStringLiteral("Please active port !!!"));
    QCOMPARE(prompts.asked.at(0).icon, QStringLiteral(":/_icons/system_warning_trans_128.png"));
    QCOMPARE(prompts.asked.at(0).buttons, int(QMessageBox::Close));
    // The request stays asked for, for the automatic refresh.
    QVERIFY(read->isExeRequested());

    QVERIFY(invoke(window, "commandWriteData"));
    QVERIFY(invoke(window, "commandWriteMacro"));
    QCOMPARE(prompts.kinds(), (QStringList {"message", "message", "message"}));
    QCOMPARE(drivers->calls().size(), 2);
}

void tst_commandLines::refusedValues_data()
{
    QTest::addColumn<QJsonObject>("port");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QJsonObject>("request");

    const QJsonObject serial = rtuPort("COM3");
    QTest::newRow("address with an option")
        << serial << "read" << readRequest("U16", "100 --ip 10.0.0.9");
    QTest::newRow("empty address") << serial << "read" << readRequest("U16", "");
    QTest::newRow("unknown type") << serial << "read" << readRequest("U128", "100");
    QTest::newRow("value with a blank") << serial << "write" << writeRequest("U16", "5", "1 2");
    QTest::newRow("parameters with a double quote")
        << serial << "macro" << macroRequest("FD_MACRO_LOGIN", "1\" --ip \"10.0.0.9");
    QTest::newRow("port name with a blank")
        << rtuPort("COM 3") << "read" << readRequest("U16", "100");
    QTest::newRow("IP address with an option") << QJsonObject {{"active", true}, {"addr", "1"},
        {"desc", ""}, {"ip", "10.0.0.1 --address 9"}, {"port", "502"}, {"type", "TCP"}}
                                               << "write" << writeRequest("U16", "5", "1");
    QTest::newRow("certificate with a double quote") << QJsonObject {{"active", true},
        {"addr", "1"}, {"desc", ""}, {"ip", "10.0.0.1"}, {"port", "802"}, {"type", "TCP"},
        {"tls", true}, {"cert", "c.pem\" --ip \"x"}, {"key", "k.pem"}, {"ca", "ca.pem"}}
                                                     << "write" << writeRequest("U16", "5", "1");
    QJsonObject parity = serial;
    parity.insert("framing", "ASCII");
    parity.insert("parity", "E --address 9");
    QTest::newRow("parity with an option") << parity << "read" << readRequest("U16", "100");
}

// Values of a hand-edited project that would not reach the driver as they
// are written start no driver: the request fails with a reason in the log.
void tst_commandLines::refusedValues()
{
    QFETCH(QJsonObject, port);
    QFETCH(QString, list);
    QFETCH(QJsonObject, request);

    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QJsonObject root = project("Plant", {port}, {});
    root.insert(list, QJsonArray {request});
    QVERIFY(open(window, root));
    logRecorder log(window);
    QVERIFY(invoke(window, "commandReadAll"));
    QVERIFY(invoke(window, "commandWriteAll"));
    for (macroElement *macro : rows<macroElement>(window, "macroLayout"))
        press(macro);
    QTRY_COMPARE(log.lines().size(), 2);
    QVERIFY2(log.lines().at(0).endsWith(errorStatus), qPrintable(log.lines().at(0)));
    QVERIFY2(log.lines().at(1).contains(">Not run: "), qPrintable(log.lines().at(1)));
    QCOMPARE(counters(window), (QStringList {"1", "1"}));
    for (readElement *read : rows<readElement>(window, "readLayout"))
        QCOMPARE(read->value(), QStringLiteral("?"));
    QCOMPARE(drivers->calls().size(), 0);
}

// The port's run button makes it the active one; the others become inactive.
void tst_commandLines::activePortFollowsButton()
{
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QVERIFY(open(window,
        project("Plant", {rtuPort("COM1", true), tcpPort(1502, false), rtuPort("COM2", false)},
            {readRequest("U16", "1")})));
    QWidget *tcp = window.findChild<QBoxLayout *>("comLayout")->itemAt(1)->widget();
    press(tcp);
    QTRY_VERIFY(qobject_cast<tcpElement *>(tcp)->isActive());
    const QList<rtuElement *> serial = rows<rtuElement>(window, "comLayout");
    QVERIFY(!serial.at(0)->isActive());
    QVERIFY(!serial.at(1)->isActive());
    QVERIFY(invoke(window, "commandReadAll"));
    QCOMPARE(drivers->calls().at(0),
        (QStringList {"qelDrvModbus", "--address", "1", "--ip", "127.0.0.1", "--port", "1502",
            "--read_u16", "1"}));

    // The change of port is an edit: undone, COM1 is active again; redone,
    // the TCP port; pressing the active port again adds nothing.
    QAction *undo = window.findChild<QAction *>("actionUndo");
    QAction *redo = window.findChild<QAction *>("actionRedo");
    QVERIFY(undo->isEnabled());
    undo->trigger();
    QTRY_VERIFY(serial.at(0)->isActive());
    QVERIFY(!qobject_cast<tcpElement *>(tcp)->isActive());
    QVERIFY(!undo->isEnabled());
    redo->trigger();
    QTRY_VERIFY(qobject_cast<tcpElement *>(tcp)->isActive());
    QVERIFY(!serial.at(0)->isActive());
    press(tcp);
    QCoreApplication::processEvents();
    QVERIFY(!redo->isEnabled());
    undo->trigger();
    QTRY_VERIFY(serial.at(0)->isActive());
    QVERIFY(!undo->isEnabled());
}

// WriteData and WriteMacro carry no verbose option and are not counted.
void tst_commandLines::immediateCommands()
{
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QVERIFY(open(window, project("Plant", {rtuPort("COM4", true, "3", "9600")}, {})));
    prompts.itemAnswers << "yes";
    QVERIFY(invoke(window, "commandVerbose"));
    QVERIFY(window.isVerbose());

    prompts.dialogAnswers << [](QDialog *dialog) {
        dialog->findChild<QComboBox *>("type")->setCurrentText("U32");
        dialog->findChild<QSpinBox *>("address")->setValue(200);
        dialog->findChild<QDoubleSpinBox *>("value")->setValue(70000);
        return int(QDialog::Accepted);
    };
    QVERIFY(invoke(window, "commandWriteData"));
    prompts.itemAnswers << "FD_MACRO_LOGIN";
    prompts.dialogAnswers << [](QDialog *) { return int(QDialog::Accepted); };
    QVERIFY(invoke(window, "commandWriteMacro"));
    // Cancelled dialogs run nothing.
    prompts.dialogAnswers << [](QDialog *) { return int(QDialog::Rejected); };
    QVERIFY(invoke(window, "commandWriteData"));
    prompts.itemAnswers << QString();
    QVERIFY(invoke(window, "commandWriteMacro"));

    const QStringList port {"--address", "3", "--port", "\\\\.\\COM4", "--baudrate", "9600"};
    QCOMPARE(drivers->calls().size(), 2);
    QCOMPARE(drivers->calls().at(0),
        (QStringList {"qelDrvModbus"} + port
            + QStringList {"--write_u32", "200", "--data", "70000"}));
    const QStringList macro = drivers->calls().at(1);
    QCOMPARE(macro.mid(0, 9),
        (QStringList {"qelDrvMacro"} + port + QStringList {"--macro", "FD_MACRO_LOGIN"}));
    QCOMPARE(macro.size(), 11);
    QCOMPARE(macro.at(9), QStringLiteral("--param"));
    QCOMPARE(macro.at(10).count(' '), 1); // user and password
    QCOMPARE(counters(window), (QStringList {"", ""}));

    const scriptedPrompts::question chooser = prompts.asked.at(2);
    QCOMPARE(chooser.kind, QStringLiteral("item"));
    QCOMPARE(chooser.title, QStringLiteral("Select macro"));
    QCOMPARE(chooser.text, QStringLiteral("Macro:"));
    QCOMPARE(chooser.items.size(), 20);
    QCOMPARE(chooser.items.first(), QStringLiteral("FD_MACRO_SET"));
    QCOMPARE(chooser.items.at(12), QStringLiteral("FD_MACRO_SET_ACTIVE_SETofSETTINGS"));
    QCOMPARE(chooser.items.last(), QStringLiteral("FD_MACRO_SET_IP_GATEWAY"));
    QCOMPARE(chooser.current, 0);
    QVERIFY(!chooser.editable);
}

// While a run operation waits for its driver, another one returns at once: a
// row's button then leaves its request asked for, and ReadAll, WriteAll and
// the immediate commands run nothing.
void tst_commandLines::busyRunsNothingElse()
{
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QVERIFY(open(window,
        project("Plant", {rtuPort("COM3")}, {readRequest("U16", "1"), readRequest("U16", "2")},
            {writeRequest("U16", "9", "9")})));
    writeElement *write = rows<writeElement>(window, "writeLayout").at(0);
    bool busyInside = false;
    bool commandsEnabledInside = true;
    QTimer::singleShot(0, &window, [&]() {
        busyInside = window.isBusy();
        commandsEnabledInside = window.findChild<QAction *>("actionReadAll")->isEnabled();
        write->setExeRequested(true);
        QMetaObject::invokeMethod(write, "exe");
        invoke(window, "commandWriteAll");
        invoke(window, "commandReadAll");
        window.runner()->writeNow(window.document()->activePort(), {"U16", "10", "10", ""});
    });
    // Called directly, so the timer fires inside the operation's wait.
    QVERIFY(invoke(window, "commandReadAll"));
    QVERIFY(!window.isBusy());
    QVERIFY(busyInside);
    QVERIFY(!commandsEnabledInside);
    QVERIFY(window.findChild<QAction *>("actionReadAll")->isEnabled());
    QCoreApplication::processEvents();
    const QList<QStringList> calls = drivers->calls();
    QCOMPARE(calls.size(), 2);
    QCOMPARE(calls.at(0).mid(7), (QStringList {"--read_u16", "1"}));
    QCOMPARE(calls.at(1).mid(7), (QStringList {"--read_u16", "2"}));
    QVERIFY(write->isExeRequested());
    QCOMPARE(counters(window), (QStringList {"2", ""}));
}

// An operation runs all its requests over the port that was active when it
// began, also when another port is made active meanwhile.
void tst_commandLines::portTakenAtStart()
{
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QVERIFY(open(window,
        project("Plant", {rtuPort("COM1", true), tcpPort(1502, false)},
            {readRequest("U16", "1"), readRequest("U16", "2")})));
    tcpElement *tcp = rows<tcpElement>(window, "comLayout").at(0);
    bool busyInside = false;
    QTimer::singleShot(0, &window, [&]() {
        busyInside = window.isBusy();
        window.document()->activate(tcp);
    });
    QVERIFY(invoke(window, "commandReadAll"));
    QVERIFY(busyInside);
    QVERIFY(tcp->isActive());
    QVERIFY(invoke(window, "commandReadAll"));
    const QList<QStringList> calls = drivers->calls();
    QCOMPARE(calls.size(), 4);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(calls.at(i).mid(1, 4),
            i < 2 ? (QStringList {"--address", "1", "--port", "\\\\.\\COM1"})
                  : (QStringList {"--address", "1", "--ip", "127.0.0.1"}));
}

// A driver that fails or prints an error keeps the row at "?".
void tst_commandLines::failedStatusShowsQuestionMark()
{
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QVERIFY(open(window, project("Plant", {rtuPort("COM3")}, {readRequest("U16", "1", "F_X_X")})));
    readElement *read = rows<readElement>(window, "readLayout").at(0);
    drivers->answer("1234\r\n", 0);
    QVERIFY(invoke(window, "commandReadAll"));
    QCOMPARE(read->value(), QStringLiteral("123.4"));
    drivers->answer("0\r\n", 255);
    QVERIFY(invoke(window, "commandReadAll"));
    QCOMPARE(read->value(), QStringLiteral("?"));
    drivers->answer("-205\r\n", 0);
    readValues hundredths = read->request();
    hundredths.format = "F_X_XX";
    read->setValues(hundredths);
    QVERIFY(invoke(window, "commandReadAll"));
    QCOMPARE(read->value(), QStringLiteral("-2.05"));
    QCOMPARE(counters(window), (QStringList {"3", "1"}));

    // A driver that dies by a signal is told apart from one that fails.
    drivers->dieBy("SEGV");
    QVERIFY(invoke(window, "commandReadAll"));
    QCOMPARE(read->value(), QStringLiteral("?"));
    QCOMPARE(read->toolTip(),
        QStringLiteral("the driver was ended by signal 11 (%1)")
            .arg(QString::fromLocal8Bit(strsignal(SIGSEGV))));

    // A driver that cannot be started says why, at once.
    QVERIFY(
        QFile::setPermissions(drivers->path("qelDrvModbus"), QFile::ReadOwner | QFile::WriteOwner));
    logRecorder log(window);
    QVERIFY(invoke(window, "commandReadAll"));
    QCOMPARE(read->value(), QStringLiteral("?"));
    const QString cause = QStringLiteral("the driver could not be started: Permission denied");
    QCOMPARE(read->toolTip(), cause);
    QVERIFY2(log.lines().value(0).endsWith(errorWith(cause)), qPrintable(log.lines().value(0)));
    QCOMPARE(counters(window), (QStringList {"5", "3"}));
}

void tst_commandLines::driverLocation_data()
{
    QTest::addColumn<bool>("inWorkingDirectory");
    QTest::addColumn<bool>("besideExecutable");
    QTest::addColumn<QString>("found"); // "cwd", "exe"

    QTest::newRow("working directory first") << true << true << "cwd";
    QTest::newRow("beside the executable") << false << true << "exe";
    QTest::newRow("nowhere: the working directory's name") << false << false << "cwd";
}

void tst_commandLines::driverLocation()
{
    QFETCH(bool, inWorkingDirectory);
    QFETCH(bool, besideExecutable);
    QFETCH(QString, found);

    // A name of this test's own, so that no other test sees the file.
    const QString name = QStringLiteral("qelDriverProbe%1").arg(QCoreApplication::applicationPid());
    const QString local = QDir::current().absoluteFilePath(name);
    const QString installed = QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(name);
    if (inWorkingDirectory)
        QVERIFY(writeFile(local, "#!/bin/sh\n"));
    if (besideExecutable)
        QVERIFY(writeFile(installed, "#!/bin/sh\n"));
    const QString location = ::driverLocation(name);
    QFile::remove(local);
    QFile::remove(installed);
    QCOMPARE(location, found == "cwd" ? local : installed);
}

// When the event loop is told to quit during a run (the window is closed),
// the wait returns before the driver has ended: that run counts as failed and
// the operation starts no further driver.
void tst_commandLines::quitDuringRun()
{
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QVERIFY(open(window,
        project("Plant", {rtuPort("COM3")},
            {readRequest("U16", "1"), readRequest("U16", "2"), readRequest("U16", "3")})));
    drivers->answer("1234\r\n", 0);
    logRecorder log(window);
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QVERIFY(invoke(window, "commandReadAll"));
    QVERIFY(!window.isBusy());

    // Let the event loop start again for what follows.
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();

    const QStringList lines = log.lines();
    QVERIFY(!lines.isEmpty());
    QVERIFY2(lines.last().endsWith(" --&gt; <b>?</b> ] " + errorWith("the client is closing")),
        qPrintable(lines.last()));
    for (const QString &line : lines.mid(0, lines.size() - 1))
        QVERIFY(line.endsWith(" --&gt; <b>1234</b> ] " + okStatus));
    QVERIFY(lines.size() < 3);
    for (const QStringList &call : drivers->calls())
        QVERIFY(call.last() != "3");
    const QList<readElement *> list = rows<readElement>(window, "readLayout");
    QCOMPARE(list.at(lines.size() - 1)->value(), QStringLiteral("?"));
    QCOMPARE(list.at(2)->value(), QString()); // never read: empty, not a reading
}

QTEST_MAIN(tst_commandLines)
#include "tst_commandlines.moc"
