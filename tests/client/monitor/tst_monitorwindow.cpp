#include "devsim.h"
#include "filetargets.h"
#include "mainwindow.h"
#include "monitorfeed.h"
#include "monitorfiltermodel.h"
#include "monitoroutputreader.h"
#include "monitorrows.h"
#include "monitortransactionmodel.h"
#include "monitorwindow.h"
#include "programrun.h"
#include "projectdocument.h"
#include "projectelement.h"
#include "ptybus.h"
#include "scriptedprompts.h"
#include "scriptfile.h"
#include "wireframe.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QToolButton>
#include <QTranslator>
#include <QtTest>

#include <cerrno>
#include <csignal>
#include <memory>
#include <unistd.h>

using namespace MonitorRows;

// The monitor window with the real qelDrvMonitor on a bus of
// pseudo-terminals where qelDrvModbus asks the simulator, and the careless
// user's ways: the project's own port, a line that cannot be opened, Save
// as CSV onto a FIFO or where no file may go, closing the window while it
// listens.
class tst_monitorWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void listensToTheBus();
    void closingTheWindowEndsTheMonitor();
    void keyboardStartAndStop();
    void thousandsOfTransactions();
    void lineThatGoesAway();
    void refusedStarts_data();
    void refusedStarts();
    void monitorThatFails_data();
    void monitorThatFails();
    void activePortTakenWhileListening();
    void menuOpensTheMonitor();
    void saveRoundTrip();
    void saveRefused_data();
    void saveRefused();
    void everyTextTranslated();

private:
    std::unique_ptr<monitorWindow> makeWindow(const QString &activeDevice = QString(),
        const QString &program = programPath("qelDrvMonitor"));
    static QPushButton *button(monitorWindow &window, const char *name);

    scriptedPrompts prompts;
    QTemporaryDir folder;
};

namespace {

bool processGone(qint64 pid)
{
    return ::kill(pid_t(pid), 0) == -1 && errno == ESRCH;
}

QString cell(monitorWindow &window, int row, int column)
{
    QAbstractItemModel *shown = window.shown();
    return shown->data(shown->index(row, column)).toString();
}

// Starts window listening to line at 115200 baud 8N1; whether it listens
// within the bound.
bool listenOn(monitorWindow &window, const QString &line)
{
    window.setLine({line, 115200, 'N', 8, 1, false});
    window.startListening();
    return QTest::qWaitFor(
        [&window] { return window.session()->state() == monitorSession::Listening; }, 30000);
}

// The transactions of rows as the monitor writes them.
QVector<monitorTransaction> transactionsOf(const QByteArray &rows)
{
    monitorOutputReader reader;
    QVector<monitorTransaction> found = reader.feed(header() + rows);
    return found + reader.finish();
}

} // namespace

void tst_monitorWindow::initTestCase()
{
    QVERIFY(folder.isValid());
}

std::unique_ptr<monitorWindow> tst_monitorWindow::makeWindow(
    const QString &activeDevice, const QString &program)
{
    prompts.asked.clear();
    return std::make_unique<monitorWindow>(
        program, &prompts, [activeDevice] { return activeDevice; },
        [] {
            return QStringList {"ttyS0", "ttyUSB0"};
        });
}

QPushButton *tst_monitorWindow::button(monitorWindow &window, const char *name)
{
    return window.findChild<QPushButton *>(name);
}

void tst_monitorWindow::listensToTheBus()
{
    PtyBus bus;
    QVERIFY2(bus.start(), qPrintable(bus.errorString()));
    DevSim sim({"--holding", "100=1234,64302,4660", "--fault", "exception=2,request=2", "--fault",
        "silent,request=3"});
    QVERIFY2(sim.startSerial(bus.deviceLine()), qPrintable(sim.startError()));
    const QByteArray tapBefore = bus.tapSettings();

    auto window = makeWindow();
    window->show();
    QComboBox *port = window->findChild<QComboBox *>("port");
    QCOMPARE(port->count(), 2);
    window->setLine({bus.tapLine(), 115200, 'N', 8, 1, false});
    QTest::mouseClick(button(*window, "start"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(window->session()->state(), monitorSession::Listening, 30000);
    QVERIFY(!port->isEnabled());
    QVERIFY(!button(*window, "start")->isEnabled());
    QVERIFY(button(*window, "stop")->isEnabled());

    const auto modbus = [&](const QStringList &operation) {
        return runProgram(programPath("qelDrvModbus"),
            QStringList {"--port", bus.masterLine(), "--address", "1"} + operation)
            .exitCode;
    };
    QCOMPARE(modbus({"--read", "100", "--range", "3"}), 0);
    QCOMPARE(modbus({"--read_u16", "100"}), ExitFailure); // exception
    QCOMPARE(modbus({"--read_u16", "101"}), ExitFailure); // no reply
    QCOMPARE(modbus({"--read_u16", "102"}), 0);
    QTRY_COMPARE_WITH_TIMEOUT(window->transactions()->rowCount(), 4, 30000);

    QCOMPARE(cell(*window, 0, monitorTransaction::Address), QString("1"));
    QCOMPARE(cell(*window, 0, monitorTransaction::Function), QString("Read Holding Registers"));
    QCOMPARE(cell(*window, 0, monitorTransaction::Start), QString("100"));
    QCOMPARE(cell(*window, 0, monitorTransaction::Count), QString("3"));
    QCOMPARE(cell(*window, 0, monitorTransaction::Reply), QString("1234 64302 4660"));
    QCOMPARE(cell(*window, 0, monitorTransaction::Status), QString("OK"));
    QCOMPARE(cell(*window, 0, monitorTransaction::RequestFrame), sim.requestLog().at(0));
    QCOMPARE(cell(*window, 0, monitorTransaction::ReplyFrame), sim.replyLog().at(0));
    QCOMPARE(cell(*window, 1, monitorTransaction::Status), QString("Illegal data address"));
    QCOMPARE(cell(*window, 2, monitorTransaction::Status), QString("no reply"));
    QCOMPARE(cell(*window, 3, monitorTransaction::Reply), QString("4660"));
    QCOMPARE(window->transactions()->failedCount(), 2);

    // Errors only, then one function the table has seen.
    window->findChild<QCheckBox *>("failedOnly")->setChecked(true);
    QCOMPARE(window->shown()->rowCount(), 2);
    window->findChild<QCheckBox *>("failedOnly")->setChecked(false);
    QComboBox *function = window->findChild<QComboBox *>("function");
    QCOMPARE(function->count(), 2);
    function->setCurrentIndex(1);
    QCOMPARE(window->shown()->rowCount(), 4);
    window->findChild<QSpinBox *>("address")->setValue(2);
    QCOMPARE(window->shown()->rowCount(), 0);
    window->findChild<QSpinBox *>("address")->setValue(-1);
    function->setCurrentIndex(0);

    // Paused, the table stays; the transaction waits and comes at the end.
    QTest::mouseClick(button(*window, "pause"), Qt::LeftButton);
    QCOMPARE(modbus({"--read", "100", "--range", "2"}), 0);
    QTRY_COMPARE_WITH_TIMEOUT(int(window->feed()->waitingTransactions().size()), 1, 30000);
    QCOMPARE(window->transactions()->rowCount(), 4);
    QVERIFY(window->findChild<QLabel *>("status")->text().contains("paused, waiting: 1"));
    QTest::mouseClick(button(*window, "pause"), Qt::LeftButton);
    QCOMPARE(window->transactions()->rowCount(), 5);

    QTest::mouseClick(button(*window, "stop"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(window->session()->state(), monitorSession::Idle, 30000);
    const QString messages = window->findChild<QPlainTextEdit *>("messages")->toPlainText();
    QVERIFY2(messages.contains("Listening on " + bus.tapLine()), qPrintable(messages));
    QVERIFY2(messages.contains("Frames: 9\nTransactions: 5\nNoise bytes: 0\nErrors: 2\n"),
        qPrintable(messages));
    // The summary is shown from its first line.
    QPlainTextEdit *messageView = window->findChild<QPlainTextEdit *>("messages");
    QCOMPARE(messageView->document()
                 ->findBlockByNumber(messageView->verticalScrollBar()->value())
                 .text(),
        QString("Frames: 9"));
    QVERIFY(window->findChild<QLabel *>("status")->text().startsWith("Listening ended"));
    QCOMPARE(prompts.kinds(), QStringList());
    QVERIFY(port->isEnabled());

    // Nothing was written to the line, and its settings are as they were.
    QCOMPARE(bus.fromTap(), QByteArray());
    QCOMPARE(bus.tapSettings(), tapBefore);

    // Clear empties the table; the line stays chosen.
    QTest::mouseClick(button(*window, "clear"), Qt::LeftButton);
    QCOMPARE(window->transactions()->rowCount(), 0);
    QVERIFY(!button(*window, "save")->isEnabled());
    QCOMPARE(window->line().port, bus.tapLine());
}

void tst_monitorWindow::closingTheWindowEndsTheMonitor()
{
    PtyBus bus;
    QVERIFY2(bus.start(), qPrintable(bus.errorString()));
    const QByteArray tapBefore = bus.tapSettings();
    auto window = makeWindow();
    window->show();
    window->setLine({bus.tapLine(), 9600, 'E', 8, 2, false});
    window->startListening();
    QTRY_COMPARE_WITH_TIMEOUT(window->session()->state(), monitorSession::Listening, 30000);
    const qint64 pid = window->session()->processId();
    QVERIFY(window->close());
    QTRY_VERIFY_WITH_TIMEOUT(processGone(pid), 30000);
    QCOMPARE(window->session()->state(), monitorSession::Idle);
    // It ended as asked, so its line was put back.
    QCOMPARE(bus.tapSettings(), tapBefore);
    QCOMPARE(prompts.kinds(), QStringList());

    // And the client going while it listens takes it along.
    window->startListening();
    QTRY_COMPARE_WITH_TIMEOUT(window->session()->state(), monitorSession::Listening, 30000);
    const qint64 second = window->session()->processId();
    window.reset();
    QVERIFY(processGone(second));
    QCOMPARE(bus.tapSettings(), tapBefore);
}

// Start pressed with the keyboard leaves the focus on Stop, and Stop on
// Start once the monitor has ended, not on the filter's address.
void tst_monitorWindow::keyboardStartAndStop()
{
    PtyBus bus;
    QVERIFY2(bus.start(), qPrintable(bus.errorString()));
    auto window = makeWindow();
    window->setLine({bus.tapLine(), 115200, 'N', 8, 1, false});
    window->show();
    QApplication::setActiveWindow(window.get());
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QPushButton *start = button(*window, "start");
    QPushButton *stop = button(*window, "stop");
    start->setFocus();
    QCOMPARE(QApplication::focusWidget(), start);
    QTest::keyClick(start, Qt::Key_Space);
    QTRY_COMPARE_WITH_TIMEOUT(window->session()->state(), monitorSession::Listening, 30000);
    QCOMPARE(QApplication::focusWidget(), stop);
    QTest::keyClick(stop, Qt::Key_Space);
    QTRY_COMPARE_WITH_TIMEOUT(window->session()->state(), monitorSession::Idle, 30000);
    QCOMPARE(QApplication::focusWidget(), start);
    QCOMPARE(prompts.kinds(), QStringList());
}

// A burst of thousands of transactions, frames glued without a gap: every
// one reaches the table, in order.
void tst_monitorWindow::thousandsOfTransactions()
{
    PtyBus bus;
    QVERIFY2(bus.start(), qPrintable(bus.errorString()));
    auto window = makeWindow();
    QVERIFY(listenOn(*window, bus.tapLine()));

    // In bursts of 200 transactions, each once the one before has been
    // read: a pseudo-terminal keeps no more than 4 KiB for its reader.
    const int count = 3000;
    const int perBurst = 200;
    for (int first = 0; first < count; first += perBurst) {
        QByteArray burst;
        for (int i = first; i < first + perBurst; ++i) {
            const QString word
                = QString("%1 %2").arg(i >> 8, 2, 16, QChar('0')).arg(i & 0xFF, 2, 16, QChar('0'));
            burst += WireFrame::fromHex(WireFrame::rtu("01 03 " + word + " 00 01"));
            burst += WireFrame::fromHex(WireFrame::rtu("01 03 02 " + word));
        }
        QVERIFY(burst.size() < 4096);
        bus.sendToTap(burst);
        QTRY_COMPARE_WITH_TIMEOUT(window->transactions()->rowCount(), first + perBurst, 30000);
    }
    for (int i = 0; i < count; ++i) {
        QCOMPARE(cell(*window, i, monitorTransaction::Start), QString::number(i));
        QCOMPARE(cell(*window, i, monitorTransaction::Reply), QString::number(i));
    }
    QCOMPARE(window->transactions()->failedCount(), 0);
    window->stopListening();
    QTRY_COMPARE_WITH_TIMEOUT(window->session()->state(), monitorSession::Idle, 30000);
    QCOMPARE(prompts.kinds(), QStringList());
}

// An adapter unplugged while listening: the monitor's reason reaches the
// user, and what was collected stays.
void tst_monitorWindow::lineThatGoesAway()
{
    PtyBus bus;
    QVERIFY2(bus.start(), qPrintable(bus.errorString()));
    auto window = makeWindow();
    QVERIFY(listenOn(*window, bus.tapLine()));
    bus.sendToTap(WireFrame::fromHex(WireFrame::rtu("01 06 00 01 00 05")));
    QTRY_COMPARE_WITH_TIMEOUT(window->transactions()->rowCount(), 1, 30000);
    bus.closeTap();
    QTRY_COMPARE_WITH_TIMEOUT(prompts.kinds(), QStringList {"message"}, 30000);
    const QString text = prompts.asked.first().text;
    QVERIFY2(text.startsWith("The monitor failed (status 255):\nLine lost: Input/output error\n"),
        qPrintable(text));
    QCOMPARE(window->session()->state(), monitorSession::Idle);
    QCOMPARE(window->transactions()->rowCount(), 1);
    QCOMPARE(cell(*window, 0, monitorTransaction::Status), QString("no reply"));
    QVERIFY(button(*window, "start")->isEnabled());
    QVERIFY(button(*window, "save")->isEnabled());
}

// View → Monitor in the client's window opens the monitor's window, once;
// making the line it listens to the project's active port ends the
// listening, and the client going takes the monitor along.
void tst_monitorWindow::menuOpensTheMonitor()
{
    PtyBus bus;
    QVERIFY2(bus.start(), qPrintable(bus.errorString()));
    prompts.asked.clear();
    auto client = std::make_unique<MainWindow>(nullptr, &prompts);
    QAction *action = client->findChild<QAction *>("actionMonitor");
    QVERIFY(action);
    const auto monitors = [] {
        QList<monitorWindow *> found;
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (auto *monitor = qobject_cast<monitorWindow *>(widget))
                found << monitor;
        return found;
    };
    // The client finds its programs in the current folder first.
    const QString folderBefore = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QEL_BIN_DIR));
    action->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(monitors().size(), 1, 30000);
    QVERIFY(QDir::setCurrent(folderBefore));
    monitorWindow *window = monitors().first();
    QCOMPARE(window->session()->program(), programPath("qelDrvMonitor"));
    QVERIFY(window->isVisible());
    window->close();
    action->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(window->isVisible(), 30000);
    QCOMPARE(monitors().size(), 1);

    QVERIFY(listenOn(*window, bus.tapLine()));
    const qint64 first = window->session()->processId();

    // A port of the project on the tap, made the active one.
    projectDocument *project = client->findChild<projectDocument *>();
    QVERIFY(project);
    portValues port;
    port.com = bus.tapLine().mid(QString("/dev/").size());
    projectElement *row = project->add(port);
    project->activate(row);
    QVERIFY(project->activePort());
    QTRY_COMPARE_WITH_TIMEOUT(window->session()->state(), monitorSession::Idle, 30000);
    QVERIFY(processGone(first));
    QCOMPARE(prompts.kinds(), QStringList {"message"});
    QVERIFY2(prompts.asked.first().text.contains("has become the project's active port"),
        qPrintable(prompts.asked.first().text));

    // Another line listened to while the client goes.
    PtyBus other;
    QVERIFY2(other.start(), qPrintable(other.errorString()));
    QVERIFY(listenOn(*window, other.tapLine()));
    const qint64 second = window->session()->processId();
    client.reset();
    QVERIFY(monitors().isEmpty());
    QVERIFY(processGone(second));
}

void tst_monitorWindow::refusedStarts_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("activeDevice");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("message");

    QTest::newRow("no port") << "  "
                             << "" << programPath("qelDrvMonitor")
                             << "Choose the serial port to listen to.";
    QTest::newRow("the project's active port by its name")
        << "ttyUSB0"
        << "\\\\.\\ttyUSB0" << programPath("qelDrvMonitor")
        << "ttyUSB0 is the project's active port";
    QTest::newRow("the project's active port by its path")
        << "/dev/ttyUSB0"
        << "\\\\.\\ttyUSB0" << programPath("qelDrvMonitor")
        << "/dev/ttyUSB0 is the project's active port";
    QTest::newRow("no monitor program")
        << "ttyUSB0"
        << "" << QString("/nonexistent/qelDrvMonitor")
        << "Cannot start /nonexistent/qelDrvMonitor: No such file or directory";
}

void tst_monitorWindow::refusedStarts()
{
    QFETCH(QString, port);
    QFETCH(QString, activeDevice);
    QFETCH(QString, program);
    QFETCH(QString, message);

    auto window = makeWindow(activeDevice, program);
    window->setLine({port, 115200, 'N', 8, 1, false});
    window->startListening();
    QCOMPARE(window->session()->state(), monitorSession::Idle);
    QCOMPARE(prompts.kinds(), QStringList {"message"});
    QVERIFY2(
        prompts.asked.first().text.startsWith(message), qPrintable(prompts.asked.first().text));
    QVERIFY(button(*window, "start")->isEnabled());
}

void tst_monitorWindow::monitorThatFails_data()
{
    QTest::addColumn<bool>("forbidden");
    QTest::addColumn<QString>("reason");
    QTest::newRow("a line that does not exist") << false << "No such file or directory";
    QTest::newRow("a line it may not open") << true << "Permission denied";
}

// A line that cannot be opened: the monitor's own words reach the user.
void tst_monitorWindow::monitorThatFails()
{
    QFETCH(bool, forbidden);
    QFETCH(QString, reason);

    QString port = "/nonexistent/ttyUSB9";
    QString program = programPath("qelDrvMonitor");
    PtyBus bus;
    if (forbidden) {
        QVERIFY2(bus.start(), qPrintable(bus.errorString()));
        port = bus.tapLine();
        QVERIFY(QFile::setPermissions(port, QFileDevice::Permissions()));
        if (::geteuid() == 0) {
            // The superuser opens any file: the monitor runs without that power.
            program = folder.filePath("unprivileged-monitor");
            QVERIFY(writeScript(program,
                "exec setpriv --bounding-set=-dac_override,-dac_read_search '"
                    + programPath("qelDrvMonitor").toUtf8() + "' \"$@\"\n"));
        }
    }
    auto window = makeWindow(QString(), program);
    window->setLine({port, 115200, 'N', 8, 1, false});
    window->startListening();
    QTRY_COMPARE_WITH_TIMEOUT(prompts.kinds(), QStringList {"message"}, 30000);
    QCOMPARE(prompts.asked.first().text,
        "The monitor failed (status 255):\nConnection fails: " + reason);
    QCOMPARE(window->session()->state(), monitorSession::Idle);
    QVERIFY(window->findChild<QLabel *>("status")->text().startsWith(
        "The monitor failed (status 255)"));
    QVERIFY(window->findChild<QPlainTextEdit *>("messages")
                ->toPlainText()
                .contains("Connection fails: " + reason));
    QVERIFY(button(*window, "start")->isEnabled());
    if (forbidden)
        QCOMPARE(bus.fromTap(), QByteArray());
}

// The line listened to becomes the project's active port: the listening
// ends at once and the user is told why; another port made active changes
// nothing.
void tst_monitorWindow::activePortTakenWhileListening()
{
    PtyBus bus;
    QVERIFY2(bus.start(), qPrintable(bus.errorString()));
    const QByteArray tapBefore = bus.tapSettings();
    QString active = "\\\\.\\ttyUSB0";
    prompts.asked.clear();
    monitorWindow window(
        programPath("qelDrvMonitor"), &prompts, [&active] { return active; },
        [] { return QStringList(); });
    QVERIFY(listenOn(window, bus.tapLine()));

    active = bus.masterLine();
    window.leaveActivePort();
    QCOMPARE(window.session()->state(), monitorSession::Listening);
    QCOMPARE(prompts.kinds(), QStringList());

    const qint64 pid = window.session()->processId();
    active = bus.tapLine();
    window.leaveActivePort();
    QCOMPARE(prompts.kinds(), QStringList {"message"});
    QVERIFY2(prompts.asked.first().text.startsWith(
                 bus.tapLine() + " has become the project's active port: the listening ends"),
        qPrintable(prompts.asked.first().text));
    QTRY_COMPARE_WITH_TIMEOUT(window.session()->state(), monitorSession::Idle, 30000);
    QVERIFY(processGone(pid));
    QCOMPARE(bus.tapSettings(), tapBefore);
    QCOMPARE(prompts.kinds(), QStringList {"message"});

    // Idle, nothing more happens.
    window.leaveActivePort();
    QCOMPARE(prompts.kinds(), QStringList {"message"});
}

// What is saved is read back as the same transactions: the rows the filter
// shows, those waiting in a pause included, exactly as the monitor wrote them.
void tst_monitorWindow::saveRoundTrip()
{
    auto window = makeWindow();
    QVERIFY(!button(*window, "save")->isEnabled());
    const QByteArray shownRows = readRequest() + readReply() + exceptionRequest() + exceptionReply()
        + macroRequest() + macroReply() + badFrame();
    window->feed()->take(transactionsOf(shownRows));
    window->feed()->flush();
    window->feed()->setPaused(true);
    const QByteArray waitingRows = unanswered() + broadcast();
    window->feed()->take(transactionsOf(waitingRows));
    QVERIFY(button(*window, "save")->isEnabled());

    const QString all = folder.filePath("all.csv");
    prompts.fileAnswers << all;
    QTest::mouseClick(button(*window, "save"), Qt::LeftButton);
    QCOMPARE(prompts.kinds(), QStringList {"save"});
    QCOMPARE(prompts.asked.first().text, QString("(*.csv)"));
    QFile file(all);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    QCOMPARE(saved, header() + shownRows + waitingRows);
    const QVector<monitorTransaction> again = transactionsOf(saved.mid(header().size()));
    QCOMPARE(again.size(), 6);
    for (int row = 0; row < 4; ++row)
        QCOMPARE(again.at(row).columns(), window->transactions()->at(row).columns());

    // With a filter, only what it shows; an existing file is replaced.
    window->findChild<QCheckBox *>("failedOnly")->setChecked(true);
    QVERIFY(window->saveTo(all));
    file.close();
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(),
        header() + exceptionRequest() + exceptionReply() + badFrame() + unanswered());
    QVERIFY(window->findChild<QPlainTextEdit *>("messages")
                ->toPlainText()
                .contains("Transactions saved to " + all + ": 3"));
}

void tst_monitorWindow::saveRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("a FIFO") << "fifo"
                            << "is not a regular file";
    QTest::newRow("a folder") << "folder"
                              << "is a folder";
    QTest::newRow("a folder that does not exist") << "missing folder"
                                                  << "No such file or directory";
    QTest::newRow("a folder that takes no file") << "read-only folder"
                                                 << "Permission denied";
}

// A save that cannot be made says why and leaves what was there as it was.
void tst_monitorWindow::saveRefused()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);

    QString path = folder.filePath(kind + ".csv");
    std::unique_ptr<NotARegularFile> fifo;
    if (kind == "fifo") {
        fifo = std::make_unique<NotARegularFile>(path, "fifo");
        QVERIFY(fifo->isMade());
    } else if (kind == "folder") {
        QVERIFY(QDir().mkpath(path));
    } else if (kind == "missing folder") {
        path = folder.filePath("missing/monitor.csv");
    } else if (::geteuid() == 0) {
        // The system's own files refuse new files even to the superuser.
        path = "/sys/monitor.csv";
    } else {
        const QString readOnly = folder.filePath("read-only");
        QVERIFY(QDir().mkpath(readOnly));
        QVERIFY(QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        path = readOnly + "/monitor.csv";
    }

    auto window = makeWindow();
    window->feed()->take(transactionsOf(readRequest() + readReply()));
    window->feed()->flush();
    QVERIFY(!window->saveTo(path));
    QCOMPARE(prompts.kinds(), QStringList {"message"});
    const QString text = prompts.asked.first().text;
    QVERIFY2(text.startsWith("Cannot save the transactions to " + path + ":\n"), qPrintable(text));
    QVERIFY2(text.contains(reason), qPrintable(text));
    if (kind == "fifo")
        QCOMPARE(fileKind(path), QString("fifo"));
    QCOMPARE(window->transactions()->rowCount(), 1);
}

// Every text of the window, its table's headings and its messages has a
// Polish translation.
void tst_monitorWindow::everyTextTranslated()
{
    const auto texts = [](monitorWindow &window) {
        QStringList found {window.windowTitle()};
        for (QLabel *label : window.findChildren<QLabel *>())
            if (!label->text().isEmpty())
                found << label->text();
        for (QAbstractButton *button : window.findChildren<QAbstractButton *>())
            found << button->text() << button->toolTip();
        for (QGroupBox *box : window.findChildren<QGroupBox *>())
            found << box->title();
        for (QComboBox *box : window.findChildren<QComboBox *>())
            if (box->objectName() == "parity" || box->objectName() == "function")
                for (int i = 0; i < box->count(); ++i)
                    found << box->itemText(i);
        found << window.findChild<QSpinBox *>("address")->specialValueText();
        found << window.findChild<QPlainTextEdit *>("messages")->placeholderText();
        for (int column = 0; column < monitorTransaction::ColumnCount; ++column)
            found << window.transactions()->headerData(column, Qt::Horizontal).toString();
        found.removeAll(QString());
        return found;
    };
    auto english = makeWindow();
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/file/qelWinModbusClient_pl.qm")));
    QVERIFY(QCoreApplication::installTranslator(&translator));
    auto polish = makeWindow();
    const QStringList target = texts(*polish);
    QCoreApplication::removeTranslator(&translator);

    const QStringList source = texts(*english);
    QCOMPARE(target.size(), source.size());
    const QStringList sameInPolish {"Port", "Start", "Status", "ms"};
    for (int i = 0; i < source.size(); ++i)
        if (!sameInPolish.contains(source.at(i)))
            QVERIFY2(target.at(i) != source.at(i), qPrintable(source.at(i)));
    QVERIFY(target.contains(QString::fromUtf8("Podsłuch")));
}

QTEST_MAIN(tst_monitorWindow)
#include "tst_monitorwindow.moc"
