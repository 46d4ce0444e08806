#include "addreaddata.h"
#include "addrtuport.h"
#include "addtcpport.h"
#include "addwritedata.h"
#include "fd_macro.h"
#include "filenames.h"
#include "filetargets.h"
#include "macroelement.h"
#include "readelement.h"
#include "rtuelement.h"
#include "scriptedprompts.h"
#include "tcpelement.h"
#include "windowtesting.h"
#include "writeelement.h"

#include <QAbstractButton>
#include <QDateTime>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QTranslator>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

// The main window without drivers: project file commands, the questions they
// ask, the window's state and title, adding and removing rows, settings.
class tst_clientWindow : public QObject
{
    Q_OBJECT

private:
    QString file(const QString &name) const { return dir.filePath(name); }

    // A project with a row of every kind, in the form the window saves it.
    static QJsonObject everyKind()
    {
        return project("Plant",
            {rtuPort("COM10", false, "3", "9600"), tcpPort(502, true, "255"),
                rtuPort("COM2", false, "7", "115200")},
            {readRequest("F32", "32768", "", "first"),
                readRequest("U16", "100", "F_X_XX", "second"),
                readRequest("S16", "101", "F_X_X", "third")},
            {writeRequest("U16", "130", "77", "a"), writeRequest("F32", "134", "1.5", "b")},
            {macroRequest("FD_MACRO_LOGIN", "1 7305", "in"),
                macroRequest("FD_MACRO_LOGOUT", "", "out")});
    }

    // Opens path in window as Open does, answering the file dialog.
    static void openFile(MainWindow &window, scriptedPrompts &prompts, const QString &path)
    {
        prompts.fileAnswers << path;
        invoke(window, "commandOpen");
    }

    // Adds a read row through the AddRead dialog: the project is modified.
    static void addRead(MainWindow &window, scriptedPrompts &prompts, int address)
    {
        prompts.dialogAnswers << [address](QDialog *dialog) {
            addReadData *read = qobject_cast<addReadData *>(dialog);
            read->setAddress(address);
            read->setType("U16");
            return int(QDialog::Accepted);
        };
        invoke(window, "commandAddReadData");
    }

    static bool titleNames(const MainWindow &window, const QString &name)
    {
        const QString title = window.windowTitle();
        const QRegularExpression form("^ModbusClient \\[" + QRegularExpression::escape(name)
            + " (\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d)\\]$");
        const QRegularExpressionMatch match = form.match(title);
        if (!match.hasMatch())
            return false;
        // The time of the refresh: this minute or the one before.
        const QDateTime shown = QDateTime::fromString(match.captured(1), "yyyy-MM-dd HH:mm");
        const qint64 age = shown.secsTo(QDateTime::currentDateTime());
        return age >= 0 && age < 120;
    }

    QTemporaryDir dir;

private slots:
    void initTestCase();
    void initialState();
    void newProjectAndName();
    void addRows();
    void removeRowAndUndo();
    void roundTrip();
    void roundTripRegisterValues();
    void openShownWindow();
    void nameNotUtf8();
    void openSkipsUnknownPorts();
    void openShowsReads();
    void openWithoutName();
    void openRefusesDamagedRows_data();
    void openRefusesDamagedRows();
    void editRefusesBadValues();
    void openFailures_data();
    void openFailures();
    void saveFailureKeepsModified();
    void askSave_data();
    void askSave();
    void language();
    void verboseChoice();
    void exitCloses_data();
    void exitCloses();
    void realMessageBox();
    void everyTextTranslated();
};

void tst_clientWindow::initTestCase()
{
    QVERIFY(dir.isValid());
    FileNames::keepBytesAsGiven(); // as the client's main() does
    QCoreApplication::setOrganizationName("qel-test");
    QCoreApplication::setApplicationName("tst_clientwindow");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath("settings"));
    QSettings().clear();
}

void tst_clientWindow::initialState()
{
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QCOMPARE(window.windowTitle(), QStringLiteral("ModbusClient"));
    QCOMPARE(window.size(), QSize(930, 540));
    const QStringList usable {"actionNew", "actionOpen", "actionExit", "actionRefresh", "actionLog",
        "actionLanguage", "actionVerbose", "actionTrend", "actionRecordCsv", "actionStop",
        "actionMonitor"};
    for (QAction *item : window.findChildren<QAction *>()) {
        if (item->objectName().isEmpty() || item->menu())
            continue;
        QCOMPARE(item->isEnabled(), usable.contains(item->objectName()));
    }
    QTabWidget *tabs = window.findChild<QTabWidget *>("tabWidget");
    QVERIFY(!tabs->isEnabled());
    QCOMPARE(tabs->currentWidget()->objectName(), QStringLiteral("tabData"));
    QCOMPARE(window.findChild<QTabWidget *>("tabWidget_2")->currentWidget()->objectName(),
        QStringLiteral("tabMacro"));
    QCOMPARE(counters(window), (QStringList {"", ""}));
    QVERIFY(prompts.asked.isEmpty());
}

void tst_clientWindow::newProjectAndName()
{
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    // Cancelled: nothing changes.
    QVERIFY(invoke(window, "commandNew"));
    QCOMPARE(window.document()->name(), QString());
    QCOMPARE(prompts.asked.size(), 1);
    QCOMPARE(prompts.asked.at(0).kind, QStringLiteral("text"));
    QCOMPARE(prompts.asked.at(0).title, QStringLiteral("Set project name"));
    QCOMPARE(prompts.asked.at(0).text, QStringLiteral("Project name:"));

    prompts.textAnswers << "Plant";
    QVERIFY(invoke(window, "commandNew"));
    QCOMPARE(window.document()->name(), QStringLiteral("Plant"));
    QVERIFY2(titleNames(window, "Plant"), qPrintable(window.windowTitle()));
    QVERIFY(window.findChild<QTabWidget *>("tabWidget")->isEnabled());
    QVERIFY(action(window, "actionSave")->isEnabled());
    QVERIFY(action(window, "actionReadAll")->isEnabled());
    QVERIFY(!action(window, "actionUndo")->isEnabled());

    // The same name again is refused with a message.
    prompts.asked.clear();
    prompts.textAnswers << "Plant";
    QVERIFY(invoke(window, "commandProjName"));
    QCOMPARE(prompts.kinds(), (QStringList {"text", "message"}));
    QCOMPARE(prompts.asked.at(0).preset, QStringLiteral("Plant"));
    QCOMPARE(prompts.asked.at(1).title, QStringLiteral("Project name ?"));
    QCOMPARE(prompts.asked.at(1).text, QStringLiteral("Project name already use"));
    QCOMPARE(prompts.asked.at(1).buttons, int(QMessageBox::Close));
    QCOMPARE(prompts.asked.at(1).icon, QStringLiteral(":/_icons/system_info_128.png"));

    // Renaming replaces the bracket part of the title.
    prompts.textAnswers << "Hall [2]";
    QVERIFY(invoke(window, "commandProjName"));
    QVERIFY2(titleNames(window, "Hall [2]"), qPrintable(window.windowTitle()));
    prompts.textAnswers << "Hall 3";
    QVERIFY(invoke(window, "commandProjName"));
    QVERIFY2(titleNames(window, "Hall 3"), qPrintable(window.windowTitle()));

    // An empty name keeps the project.
    prompts.textAnswers << "";
    QVERIFY(invoke(window, "commandProjName"));
    QCOMPARE(window.document()->name(), QStringLiteral("Hall 3"));

    QVERIFY(invoke(window, "commandCloseProject"));
    QCOMPARE(window.windowTitle(), QStringLiteral("ModbusClient"));
    QVERIFY(!window.findChild<QTabWidget *>("tabWidget")->isEnabled());
}

// Rows added through their dialogs land at the end of their lists, bring
// their tab to the front, and are saved with every key in order.
void tst_clientWindow::addRows()
{
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    prompts.textAnswers << "Bay 1";
    QVERIFY(invoke(window, "commandNew"));
    QTabWidget *tabs = window.findChild<QTabWidget *>("tabWidget");
    QTabWidget *data = window.findChild<QTabWidget *>("tabWidget_2");

    prompts.dialogAnswers << [](QDialog *dialog) {
        addRTUPort *port = qobject_cast<addRTUPort *>(dialog);
        port->setCom("COM7");
        port->setBaudrate("19200");
        port->setSlave(12);
        port->setDesc("feeder");
        return int(QDialog::Accepted);
    };
    QVERIFY(invoke(window, "commandAddRTUPort"));
    QCOMPARE(tabs->currentWidget()->objectName(), QStringLiteral("tabCommunications"));
    prompts.dialogAnswers << [](QDialog *dialog) {
        addTCPPort *port = qobject_cast<addTCPPort *>(dialog);
        port->setIp("10.1.2.3");
        port->setPort(1502);
        port->setSlave(4);
        port->setDesc("gateway");
        return int(QDialog::Accepted);
    };
    QVERIFY(invoke(window, "commandAddTCPPort"));
    prompts.dialogAnswers << [](QDialog *dialog) {
        addReadData *read = qobject_cast<addReadData *>(dialog);
        read->setAddress(114);
        read->setDesc("frequency");
        read->setFormat("F_X_XX");
        read->setType("U16");
        return int(QDialog::Accepted);
    };
    QVERIFY(invoke(window, "commandAddReadData"));
    QCOMPARE(tabs->currentWidget()->objectName(), QStringLiteral("tabData"));
    QCOMPARE(data->currentWidget()->objectName(), QStringLiteral("tabRead"));
    prompts.dialogAnswers << [](QDialog *dialog) {
        addWriteData *write = qobject_cast<addWriteData *>(dialog);
        write->setAddress(134);
        write->setDesc("limit");
        write->setType("F32");
        write->setValue(2.5);
        return int(QDialog::Accepted);
    };
    QVERIFY(invoke(window, "commandAddWriteData"));
    QCOMPARE(data->currentWidget()->objectName(), QStringLiteral("tabWrite"));
    prompts.itemAnswers << "FD_MACRO_SET_ACTIVE_PROFILE";
    prompts.dialogAnswers << [](QDialog *dialog) {
        FD_MACRO *macro = qobject_cast<FD_MACRO *>(dialog);
        macro->setMacroParams("3");
        macro->setMacroDesc("profile");
        return int(QDialog::Accepted);
    };
    QVERIFY(invoke(window, "commandAddMacroData"));
    QCOMPARE(data->currentWidget()->objectName(), QStringLiteral("tabMacro"));
    // Cancelled dialogs add nothing.
    QVERIFY(invoke(window, "commandAddReadData"));
    prompts.itemAnswers << "FD_MACRO_LOGIN";
    QVERIFY(invoke(window, "commandAddMacroData"));

    QCOMPARE(rows<rtuElement>(window, "comLayout").size(), 1);
    QVERIFY(!rows<rtuElement>(window, "comLayout").at(0)->isActive());
    QCOMPARE(rows<readElement>(window, "readLayout").size(), 1);
    QCOMPARE(rows<macroElement>(window, "macroLayout").size(), 1);
    QVERIFY(action(window, "actionUndo")->isEnabled());

    prompts.fileAnswers << file("added/bay.json");
    QVERIFY(invoke(window, "commandSave"));
    QCOMPARE(prompts.asked.last().kind, QStringLiteral("save"));
    QCOMPARE(prompts.asked.last().title, QStringLiteral("Save to File"));
    QCOMPARE(prompts.asked.last().preset, QStringLiteral("Bay 1"));
    QCOMPARE(prompts.asked.last().text, QStringLiteral("(*.json)"));
    QVERIFY(!action(window, "actionUndo")->isEnabled());
    QCOMPARE(window.document()->path(), file("added/bay.json"));
    QCOMPARE(QString::fromUtf8(readFile(file("added/bay.json"))),
        QStringLiteral("{\n"
                       "    \"communications\": [\n"
                       "        {\n"
                       "            \"active\": false,\n"
                       "            \"addr\": \"12\",\n"
                       "            \"baudrate\": \"19200\",\n"
                       "            \"com\": \"COM7\",\n"
                       "            \"desc\": \"feeder\",\n"
                       "            \"type\": \"RTU\"\n"
                       "        },\n"
                       "        {\n"
                       "            \"active\": false,\n"
                       "            \"addr\": \"4\",\n"
                       "            \"desc\": \"gateway\",\n"
                       "            \"ip\": \"10.1.2.3\",\n"
                       "            \"port\": \"1502\",\n"
                       "            \"type\": \"TCP\"\n"
                       "        }\n"
                       "    ],\n"
                       "    \"macro\": [\n"
                       "        {\n"
                       "            \"desc\": \"profile\",\n"
                       "            \"macro\": \"FD_MACRO_SET_ACTIVE_PROFILE\",\n"
                       "            \"param\": \"3\"\n"
                       "        }\n"
                       "    ],\n"
                       "    \"name\": \"Bay 1\",\n"
                       "    \"read\": [\n"
                       "        {\n"
                       "            \"addr\": \"114\",\n"
                       "            \"desc\": \"frequency\",\n"
                       "            \"format\": \"F_X_XX\",\n"
                       "            \"type\": \"U16\"\n"
                       "        }\n"
                       "    ],\n"
                       "    \"write\": [\n"
                       "        {\n"
                       "            \"addr\": \"134\",\n"
                       "            \"desc\": \"limit\",\n"
                       "            \"type\": \"F32\",\n"
                       "            \"value\": \"2.5\"\n"
                       "        }\n"
                       "    ]\n"
                       "}\n"));
}

// A row's delete button asks through the window's prompts, then removes the
// row through the history.
void tst_clientWindow::removeRowAndUndo()
{
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QVERIFY(writeProject(file("remove.json"), everyKind()));
    openFile(window, prompts, file("remove.json"));
    QList<readElement *> reads = rows<readElement>(window, "readLayout");
    QCOMPARE(reads.size(), 3);
    readElement *second = reads.at(1);

    // The element's question, answered No, then Yes.
    prompts.asked.clear();
    prompts.messageAnswers << QMessageBox::No << QMessageBox::Yes;
    second->findChild<QAbstractButton *>("del")->click();
    QTRY_COMPARE(prompts.asked.size(), 1);
    QCoreApplication::processEvents();
    QCOMPARE(rows<readElement>(window, "readLayout").size(), 3);
    QVERIFY(!action(window, "actionUndo")->isEnabled());
    second->findChild<QAbstractButton *>("del")->click();
    QTRY_COMPARE(rows<readElement>(window, "readLayout").size(), 2);
    QCOMPARE(prompts.kinds(), (QStringList {"message", "message"}));
    QCOMPARE(prompts.asked.at(1).title, QStringLiteral("Asking"));
    QCOMPARE(prompts.asked.at(1).text, QStringLiteral("Del current object ?"));
    QCOMPARE(prompts.asked.at(1).icon, QStringLiteral(":/_icons/system_info_128.png"));
    QCOMPARE(prompts.asked.at(1).buttons, int(QMessageBox::Yes | QMessageBox::No));
    QVERIFY(action(window, "actionUndo")->isEnabled());
    QVERIFY(invoke(window, "commandUndo"));
    reads = rows<readElement>(window, "readLayout");
    QCOMPARE(reads.size(), 3);
    QCOMPARE(reads.at(1), second);
    QVERIFY(action(window, "actionRedo")->isEnabled());
    QVERIFY(invoke(window, "commandRedo"));
    QCOMPARE(rows<readElement>(window, "readLayout").size(), 2);
}

// Opening and saving again gives the same file: every kind of row, their
// order and the active port survive, and an opened project is unmodified.
void tst_clientWindow::roundTrip()
{
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    const QByteArray original = QJsonDocument(everyKind()).toJson();
    QVERIFY(writeFile(file("trip.json"), original));
    logRecorder log(window);
    openFile(window, prompts, file("trip.json"));
    QCOMPARE(prompts.asked.at(0).title, QStringLiteral("Open File"));
    QCOMPARE(prompts.asked.at(0).text, QStringLiteral("(*.json)"));
    QCOMPARE(window.document()->path(), file("trip.json"));
    QVERIFY(!action(window, "actionUndo")->isEnabled());
    QVERIFY(!action(window, "actionRedo")->isEnabled());
    QVERIFY2(titleNames(window, "Plant"), qPrintable(window.windowTitle()));
    QCOMPARE(log.lines().size(), 1);
    QVERIFY(
        log.lines().at(0).endsWith(" <b>Open file</b> [" + file("trip.json") + "] " + okStatus));

    QCOMPARE(rows<rtuElement>(window, "comLayout").at(0)->line().com, QStringLiteral("COM10"));
    QCOMPARE(rows<rtuElement>(window, "comLayout").at(1)->line().com, QStringLiteral("COM2"));
    QVERIFY(rows<tcpElement>(window, "comLayout").at(0)->isActive());
    QCOMPARE(window.findChild<QBoxLayout *>("comLayout")
                 ->indexOf(rows<tcpElement>(window, "comLayout").at(0)),
        1);
    QCOMPARE(
        rows<readElement>(window, "readLayout").at(2)->request().desc, QStringLiteral("third"));
    QCOMPARE(
        rows<writeElement>(window, "writeLayout").at(1)->request().value, QStringLiteral("1.5"));
    QCOMPARE(
        rows<macroElement>(window, "macroLayout").at(0)->request().param, QStringLiteral("1 7305"));

    // Unmodified: New asks no question before the name.
    prompts.fileAnswers << file("trip-again.json");
    QVERIFY(invoke(window, "commandSaveAs"));
    QCOMPARE(readFile(file("trip-again.json")), original);
    QVERIFY(log.lines().at(1).endsWith(
        " <b>Save file</b> [" + file("trip-again.json") + "] " + okStatus));
    // Save writes to the file chosen last.
    QVERIFY(QFile::remove(file("trip-again.json")));
    QVERIFY(invoke(window, "commandSave"));
    QCOMPARE(readFile(file("trip-again.json")), original);
}

// Reads and writes of every kind, type, order, text length and function 6
// load into rows that show them and save byte for byte as they were; the
// rows of today's project beside them keep their keys.
void tst_clientWindow::roundTripRegisterValues()
{
    const auto with = [](QJsonObject request, const QJsonObject &extras) {
        for (auto it = extras.begin(); it != extras.end(); ++it)
            request.insert(it.key(), it.value());
        return request;
    };
    const QJsonObject root = project("Plant", {tcpPort(502, true, "255")},
        {readRequest("U16", "100", "F_X_XX", "today"),
            with(readRequest("BIT", "3"), {{"kind", "coil"}}),
            with(readRequest("BIT", "4"), {{"kind", "discrete"}}),
            with(readRequest("U64", "10", "F_X"), {{"kind", "input"}, {"order", "ABCD"}}),
            with(readRequest("S64", "14"), {{"order", "BADC"}}),
            with(readRequest("F64", "18"), {{"order", "DCBA"}}),
            with(readRequest("F32", "22"), {{"order", "ABCD"}}),
            with(readRequest("STR", "40"), {{"kind", "input"}, {"length", "8"}})},
        {writeRequest("F32", "134", "1.5", "today"),
            with(writeRequest("S16", "5", "-1"), {{"function", "6"}}),
            with(writeRequest("BIT", "3", "1"), {{"kind", "coil"}}),
            with(writeRequest("STR", "40", "Feeder \"1\" ł"), {{"length", "8"}}),
            with(writeRequest("S64", "7", "-9223372036854775808"), {{"order", "DCBA"}}),
            with(writeRequest("U64", "11", "18446744073709551615"), {{"order", "ABCD"}}),
            with(writeRequest("F64", "15", "-1e-300"), {{"order", "BADC"}})});
    const QByteArray original = QJsonDocument(root).toJson();
    QVERIFY(writeFile(file("registers.json"), original));

    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    openFile(window, prompts, file("registers.json"));
    const QList<readElement *> reads = rows<readElement>(window, "readLayout");
    QCOMPARE(reads.size(), 8);
    const auto shown
        = [](QWidget *row, const char *label) { return row->findChild<QLabel *>(label)->text(); };
    QCOMPARE(shown(reads.at(0), "kind"), QStringLiteral("Holding"));
    QCOMPARE(shown(reads.at(0), "type"), QStringLiteral("U16"));
    QCOMPARE(shown(reads.at(1), "kind"), QStringLiteral("Coil"));
    QCOMPARE(shown(reads.at(2), "kind"), QStringLiteral("Discrete"));
    QCOMPARE(shown(reads.at(3), "kind"), QStringLiteral("Input"));
    QCOMPARE(shown(reads.at(3), "type"), QStringLiteral("U64 ABCD"));
    QCOMPARE(shown(reads.at(5), "type"), QStringLiteral("F64 DCBA"));
    QCOMPARE(shown(reads.at(7), "type"), QStringLiteral("STR 8"));
    // A text is no value of the trend.
    QVERIFY(reads.at(3)->findChild<QAbstractButton *>("trend")->isEnabled());
    QVERIFY(!reads.at(7)->findChild<QAbstractButton *>("trend")->isEnabled());
    const QList<writeElement *> writes = rows<writeElement>(window, "writeLayout");
    QCOMPARE(writes.size(), 7);
    QCOMPARE(shown(writes.at(1), "type"), QStringLiteral("S16 fn 6"));
    QCOMPARE(shown(writes.at(2), "kind"), QStringLiteral("Coil"));
    QCOMPARE(shown(writes.at(3), "value"), QStringLiteral("Feeder \"1\" ł"));

    prompts.fileAnswers << file("registers-again.json");
    QVERIFY(invoke(window, "commandSaveAs"));
    QCOMPARE(readFile(file("registers-again.json")), original);
}

// Rows are put into their lists out of sight and the lists shown again: in
// a shown window every list and row is shown after Open, the current tab's
// rows are on screen, and a second Open replaces the rows.
void tst_clientWindow::openShownWindow()
{
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(writeProject(file("shown.json"), everyKind()));
    for (int time = 0; time < 2; ++time) {
        openFile(window, prompts, file("shown.json"));
        QCOMPARE(rows<readElement>(window, "readLayout").size(), 3);
        int onScreen = 0;
        for (const char *name : {"comLayout", "readLayout", "writeLayout", "macroLayout"}) {
            const QBoxLayout *layout = window.findChild<QBoxLayout *>(name);
            QVERIFY2(!layout->parentWidget()->isHidden(), name);
            for (const projectElement *row : rows<projectElement>(window, name)) {
                QVERIFY2(row->isVisibleTo(layout->parentWidget()), name);
                onScreen += row->isVisible();
            }
        }
        QVERIFY(onScreen >= 2);
    }
}

// With the client's byte-keeping file names, a project whose name is not
// UTF-8 (a Windows-1250 "ł") opens and saves under the bytes it has.
void tst_clientWindow::nameNotUtf8()
{
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    const QByteArray bytes = QFile::encodeName(dir.path()) + "/Projekt-\xb3.json";
    const QString name = QFile::decodeName(bytes);
    QVERIFY(writeProject(name, everyKind()));
    QCOMPARE(::access(bytes.constData(), F_OK), 0); // the very bytes
    openFile(window, prompts, name);
    QCOMPARE(window.document()->path(), name);
    QCOMPARE(rows<readElement>(window, "readLayout").size(), 3);
    QVERIFY(QFile::remove(name));
    QVERIFY(invoke(window, "commandSave"));
    QCOMPARE(::access(bytes.constData(), F_OK), 0);
    QCOMPARE(readFile(name), QJsonDocument(everyKind()).toJson());
}

void tst_clientWindow::openSkipsUnknownPorts()
{
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QJsonObject root = project("Plant",
        {rtuPort("COM1"), QJsonObject {{"type", "CAN"}, {"ip", "x"}},
            QJsonObject {{"type", "TCP"}}},
        {QJsonObject {{"type", "U16"}}});
    QVERIFY(writeProject(file("odd.json"), root));
    openFile(window, prompts, file("odd.json"));
    QCOMPARE(window.findChild<QBoxLayout *>("comLayout")->count(), 3); // two ports, the spacer
    const tcpElement *tcp = rows<tcpElement>(window, "comLayout").at(0);
    QCOMPARE(tcp->line().ip, QString());
    QCOMPARE(tcp->line().port, QString());
    QVERIFY(!tcp->isActive());
    QCOMPARE(rows<readElement>(window, "readLayout").at(0)->request().addr, QString());
}

// An opened project shows its reads, whatever tab was shown before.
void tst_clientWindow::openShowsReads()
{
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QTabWidget *tabs = window.findChild<QTabWidget *>("tabWidget");
    QTabWidget *data = window.findChild<QTabWidget *>("tabWidget_2");
    tabs->setCurrentIndex(tabs->indexOf(window.findChild<QWidget *>("tabCommunications")));
    QVERIFY(writeProject(file("tabs.json"), everyKind()));
    openFile(window, prompts, file("tabs.json"));
    QCOMPARE(tabs->currentWidget()->objectName(), QStringLiteral("tabData"));
    QCOMPARE(data->currentWidget()->objectName(), QStringLiteral("tabRead"));
}

// A file without a name is no project: the user is told so, and no row is
// shown greyed out in a window without a project.
void tst_clientWindow::openWithoutName()
{
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QJsonObject root = everyKind();
    root.remove("name");
    QVERIFY(writeProject(file("nameless.json"), root));
    openFile(window, prompts, file("nameless.json"));
    QCOMPARE(prompts.kinds(), (QStringList {"open", "message"}));
    QVERIFY2(prompts.asked.at(1).text.endsWith(
                 "The project has no \"name\"; its name, a text that is not empty, is expected"),
        qPrintable(prompts.asked.at(1).text));
    QCOMPARE(rows<readElement>(window, "readLayout").size(), 0);
    QCOMPARE(window.windowTitle(), QStringLiteral("ModbusClient"));
    QVERIFY(!action(window, "actionSave")->isEnabled());
}

void tst_clientWindow::openRefusesDamagedRows_data()
{
    QTest::addColumn<QString>("list"); // the section changed; "" the root
    QTest::addColumn<int>("row"); // the row of the section that is replaced
    QTest::addColumn<QJsonValue>("value"); // the row, or the section's or root key's value
    QTest::addColumn<QString>("key"); // of the root, when list is ""
    QTest::addColumn<QString>("message");

    const auto write = [](const QString &value) { return writeRequest("U16", "130", value); };
    QTest::newRow("a NUL in a written value")
        << "write" << 0 << QJsonValue(write(QString("77") + QChar(0) + "999")) << ""
        << "Row 1 of \"write\": \"value\" holds a control character (U+0000)";
    QTest::newRow("a line break in a macro's parameters")
        << "macro" << 1 << QJsonValue(macroRequest("FD_MACRO_LOGIN", "1 7305\n--help")) << ""
        << "Row 2 of \"macro\": \"param\" holds a control character (U+000A)";
    QTest::newRow("a tab in a description")
        << "read" << 2 << QJsonValue(readRequest("U16", "100", "", "a\tb")) << ""
        << "Row 3 of \"read\": \"desc\" holds a control character (U+0009)";
    QTest::newRow("a line separator in a port name")
        << "communications" << 0 << QJsonValue(rtuPort(QString("COM1") + QChar(0x2028))) << ""
        << "Row 1 of \"communications\": \"com\" holds a control character (U+2028)";
    const QString option = "begins with \"--\", which a driver would take for an option";
    QTest::newRow("a written value that is an option")
        << "write" << 1 << QJsonValue(write("--save")) << ""
        << "Row 2 of \"write\": \"value\" " + option;
    QTest::newRow("a register address that is an option")
        << "read" << 0 << QJsonValue(readRequest("U16", "--5")) << ""
        << "Row 1 of \"read\": \"addr\" " + option;
    QTest::newRow("a TCP port that is an option")
        << "communications" << 1
        << QJsonValue(QJsonObject {{"active", true}, {"addr", "1"}, {"desc", ""},
               {"ip", "10.0.0.1"}, {"port", "--data"}, {"type", "TCP"}})
        << ""
        << "Row 2 of \"communications\": \"port\" " + option;
    QTest::newRow("a device address that is an option")
        << "communications" << 2 << QJsonValue(rtuPort("COM2", false, "--help")) << ""
        << "Row 3 of \"communications\": \"addr\" " + option;
    QTest::newRow("macro parameters that are an option")
        << "macro" << 0 << QJsonValue(macroRequest("FD_MACRO_LOGOUT", "--help")) << ""
        << "Row 1 of \"macro\": \"param\" " + option;
    QTest::newRow("an address that is a number")
        << "read" << 1
        << QJsonValue(QJsonObject {{"addr", 100}, {"desc", "x"}, {"format", ""}, {"type", "U16"}})
        << ""
        << "Row 2 of \"read\": \"addr\" must be a text, not a number";
    QTest::newRow("a value that is a list")
        << "write" << 0
        << QJsonValue(
               QJsonObject {{"addr", "1"}, {"desc", ""}, {"type", "U16"}, {"value", QJsonArray {}}})
        << ""
        << "Row 1 of \"write\": \"value\" must be a text, not a list";
    QTest::newRow("active that is a text")
        << "communications" << 0
        << QJsonValue(QJsonObject {{"active", "true"}, {"addr", "1"}, {"baudrate", "9600"},
               {"com", "COM1"}, {"desc", ""}, {"type", "RTU"}})
        << ""
        << "Row 1 of \"communications\": \"active\" must be true or false, not a text";
    QTest::newRow("a byte order that is an option")
        << "read" << 0
        << QJsonValue(QJsonObject {
               {"addr", "100"}, {"desc", ""}, {"format", ""}, {"order", "--save"}, {"type", "U32"}})
        << ""
        << "Row 1 of \"read\": \"order\" " + option;
    QTest::newRow("a text length that is a number")
        << "write" << 0
        << QJsonValue(QJsonObject {
               {"addr", "40"}, {"desc", ""}, {"length", 8}, {"type", "STR"}, {"value", "Feeder"}})
        << ""
        << "Row 1 of \"write\": \"length\" must be a text, not a number";
    QTest::newRow("a TLS flag that is a text")
        << "communications" << 1
        << QJsonValue(QJsonObject {{"addr", "1"}, {"desc", ""}, {"ip", "10.0.0.1"}, {"port", "802"},
               {"tls", "yes"}, {"type", "TCP"}})
        << ""
        << "Row 2 of \"communications\": \"tls\" must be true or false, not a text";
    QTest::newRow("a CA file that is an option")
        << "communications" << 1
        << QJsonValue(QJsonObject {{"addr", "1"}, {"ca", "--verbose"}, {"cert", "c.pem"},
               {"desc", ""}, {"ip", "10.0.0.1"}, {"key", "k.pem"}, {"port", "802"}, {"tls", true},
               {"type", "TCP"}})
        << ""
        << "Row 2 of \"communications\": \"ca\" " + option;
    QTest::newRow("a framing with a line break")
        << "communications" << 0
        << QJsonValue(QJsonObject {{"addr", "1"}, {"baudrate", "9600"}, {"com", "COM1"},
               {"desc", ""}, {"framing", "ASCII\n"}, {"type", "RTU"}})
        << ""
        << "Row 1 of \"communications\": \"framing\" holds a control character (U+000A)";
    QTest::newRow("a port type that is a number")
        << "communications" << 0 << QJsonValue(QJsonObject {{"type", 5}}) << ""
        << "Row 1 of \"communications\": \"type\" must be a text, not a number";
    QTest::newRow("a row that is a number")
        << "read" << 1 << QJsonValue(5) << ""
        << "Row 2 of \"read\": a row must be an object, not a number";
    QTest::newRow("a section that is an object")
        << "" << 0 << QJsonValue(QJsonObject {}) << "read"
        << "\"read\" must be a list of rows, not an object";
    QTest::newRow("a name that is a number")
        << "" << 0 << QJsonValue(7) << "name"
        << "\"name\" must be a text that is not empty, not a number";
    QTest::newRow("an empty name")
        << "" << 0 << QJsonValue("") << "name"
        << "\"name\" must be a text that is not empty, not an empty text";
}

// A project file with a field of the wrong JSON type, or with a value that
// holds a control character or would pass as a driver's option, is refused
// whole: the message names the row and the key, and nothing of it is shown
// or could be run.
void tst_clientWindow::openRefusesDamagedRows()
{
    QFETCH(QString, list);
    QFETCH(int, row);
    QFETCH(QJsonValue, value);
    QFETCH(QString, key);
    QFETCH(QString, message);

    QJsonObject root = everyKind();
    if (list.isEmpty()) {
        root.insert(key, value);
    } else {
        QJsonArray rows = root.value(list).toArray();
        rows.replace(row, value);
        root.insert(list, rows);
    }
    const QString path = file(QStringLiteral("damaged-%1.json").arg(QTest::currentDataTag()));
    QVERIFY(writeProject(path, root));
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    logRecorder log(window);
    openFile(window, prompts, path);

    QCOMPARE(prompts.kinds(), (QStringList {"open", "message"}));
    QCOMPARE(prompts.asked.at(1).title, QStringLiteral("Error"));
    QCOMPARE(prompts.asked.at(1).text,
        QStringLiteral("Cannot open the project %1:\n%2").arg(path, message));
    QVERIFY(log.lines().at(0).endsWith(errorStatus));
    QCOMPARE(window.document()->name(), QString());
    QCOMPARE(window.document()->path(), QString());
    QCOMPARE(rows<readElement>(window, "readLayout").size(), 0);
    QCOMPARE(rows<writeElement>(window, "writeLayout").size(), 0);
    QCOMPARE(rows<macroElement>(window, "macroLayout").size(), 0);
    QCOMPARE(window.findChild<QBoxLayout *>("comLayout")->count(), 1); // the spacer
}

// Values accepted in a row's dialog or in an adding dialog that hold a
// control character or would pass as a driver's option are refused with a
// message naming the list, the row and the field; the row stays as it was
// and nothing is added to the history.
void tst_clientWindow::editRefusesBadValues()
{
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QVERIFY(writeProject(file("edit.json"), everyKind()));
    openFile(window, prompts, file("edit.json"));
    prompts.asked.clear();

    tcpElement *tcp = rows<tcpElement>(window, "comLayout").at(0);
    const portValues before = tcp->line();
    prompts.dialogAnswers << [](QDialog *dialog) {
        qobject_cast<addTCPPort *>(dialog)->setIp("--help");
        return int(QDialog::Accepted);
    };
    tcp->findChild<QAbstractButton *>("edit")->click();
    QTRY_COMPARE(prompts.asked.size(), 2);
    QCOMPARE(prompts.kinds(), (QStringList {"dialog", "message"}));
    QCOMPARE(prompts.asked.at(1).text,
        QStringLiteral("Communications, row 2: \"ip\" begins with \"--\", which a driver would "
                       "take for an option"));
    QCOMPARE(tcp->line().ip, before.ip);
    QVERIFY(!action(window, "actionUndo")->isEnabled());

    prompts.dialogAnswers << [](QDialog *dialog) {
        addWriteData *write = qobject_cast<addWriteData *>(dialog);
        write->setAddress(5);
        write->setDesc("limit\nsecond line");
        return int(QDialog::Accepted);
    };
    QVERIFY(invoke(window, "commandAddWriteData"));
    QCOMPARE(prompts.asked.size(), 4);
    QCOMPARE(prompts.asked.at(3).text,
        QStringLiteral("Write, row 3: \"desc\" holds a control character (U+000A)"));
    QCOMPARE(rows<writeElement>(window, "writeLayout").size(), 2);
    QVERIFY(!action(window, "actionUndo")->isEnabled());
}

void tst_clientWindow::openFailures_data()
{
    QTest::addColumn<QString>("kind"); // what stands at the path
    QTest::addColumn<QByteArray>("content"); // of a file
    QTest::addColumn<QString>("reason"); // in the message; empty: not looked at
    QTest::newRow("missing file") << "missing" << QByteArray() << "";
    QTest::newRow("not JSON") << "file" << QByteArray("communications: none\n") << "";
    QTest::newRow("JSON cut short") << "file" << QByteArray("{\"name\": \"Pla") << "";
    QTest::newRow("array") << "file" << QByteArray("[{\"name\": \"Plant\"}]") << "";
    QTest::newRow("string") << "file" << QByteArray("\"Plant\"") << "";
    // Nothing that would hold the window or fill the memory is read.
    QTest::newRow("FIFO") << "fifo" << QByteArray() << "is not a regular file";
    QTest::newRow("zero device") << "zero device" << QByteArray() << "is not a regular file";
    QTest::newRow("folder") << "folder" << QByteArray() << "is not a regular file";
    QTest::newRow("2 GiB") << "2 GiB" << QByteArray()
                           << "too large for a project: 2147483648 bytes";
}

// A file that holds no project logs the red status and says so; the project
// open before is closed, as for a file that cannot be read.
void tst_clientWindow::openFailures()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QVERIFY(writeProject(file("good.json"), everyKind()));
    openFile(window, prompts, file("good.json"));
    const QString bad = file(QStringLiteral("bad-%1.json").arg(QTest::currentDataTag()));
    const QByteArray badName = QFile::encodeName(bad);
    if (kind == "file")
        QVERIFY(writeFile(bad, content));
    else if (kind == "fifo")
        QCOMPARE(::mkfifo(badName.constData(), 0600), 0);
    else if (kind == "zero device" && !makeCharacterDevice(bad, MemoryDevices, ZeroMinor))
        QSKIP("a device node needs root");
    else if (kind == "folder")
        QVERIFY(QDir().mkdir(bad));
    else if (kind == "2 GiB")
        QVERIFY(writeFile(bad, "{") && QFile::resize(bad, qint64(1) << 31));
    logRecorder log(window);
    prompts.asked.clear();
    openFile(window, prompts, bad);
    QVERIFY2(prompts.asked.value(1).text.contains(reason), qPrintable(prompts.asked.value(1).text));

    QCOMPARE(log.lines().size(), 1);
    QVERIFY2(log.lines().at(0).endsWith(" <b>Open file</b> [" + bad + "] " + errorStatus),
        qPrintable(log.lines().at(0)));
    QCOMPARE(prompts.kinds(), (QStringList {"open", "message"}));
    QCOMPARE(prompts.asked.at(1).title, QStringLiteral("Error"));
    QVERIFY(prompts.asked.at(1).text.contains(bad));
    QCOMPARE(window.document()->name(), QString());
    QCOMPARE(window.document()->path(), QString());
    QCOMPARE(window.windowTitle(), QStringLiteral("ModbusClient"));
    QCOMPARE(rows<readElement>(window, "readLayout").size(), 0);
}

// A save that fails logs the red status, tells the user and leaves the
// project modified, with its file as before.
void tst_clientWindow::saveFailureKeepsModified()
{
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QVERIFY(writeProject(file("kept.json"), everyKind()));
    openFile(window, prompts, file("kept.json"));
    addRead(window, prompts, 5);
    QVERIFY(action(window, "actionUndo")->isEnabled());

    QVERIFY(writeFile(file("plain.txt"), "x"));
    logRecorder log(window);
    prompts.asked.clear();
    prompts.fileAnswers << file("plain.txt/inside.json");
    QVERIFY(invoke(window, "commandSaveAs"));
    QCOMPARE(log.lines().size(), 1);
    QVERIFY(log.lines().at(0).endsWith(
        " <b>Save file</b> [" + file("plain.txt/inside.json") + "] " + errorStatus));
    QCOMPARE(prompts.kinds(), (QStringList {"save", "message"}));
    QVERIFY(action(window, "actionUndo")->isEnabled());
    QCOMPARE(window.document()->path(), file("kept.json"));
    QCOMPARE(readFile(file("kept.json")), QJsonDocument(everyKind()).toJson());
}

void tst_clientWindow::askSave_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("saveTo"); // Save As answer when asked; "bad" fails
    QTest::addColumn<bool>("goesOn");
    QTest::addColumn<bool>("saved");

    const int yes = QMessageBox::Yes, no = QMessageBox::No, cancel = QMessageBox::Cancel;
    for (const QString command : {"commandNew", "commandOpen", "commandCloseProject"}) {
        const QByteArray name = command.mid(7).toLatin1();
        QTest::newRow(name + ", unmodified") << command << false << 0 << "" << true << false;
        QTest::newRow(name + ", Yes") << command << true << yes << "" << true << true;
        QTest::newRow(name + ", No") << command << true << no << "" << true << false;
        QTest::newRow(name + ", Cancel") << command << true << cancel << "" << false << false;
    }
    QTest::newRow("New, Yes, new project saved as")
        << "commandNew" << true << yes << "fresh.json" << true << true;
    QTest::newRow("New, Yes, Save As cancelled")
        << "commandNew" << true << yes << "cancel" << false << false;
    QTest::newRow("Close, Yes, save fails")
        << "commandCloseProject" << true << yes << "bad" << false << false;
}

// "Save project ?" before New, Open and Close: asked only for a modified
// project; Yes saves, No goes on, Cancel stops the command. A Yes whose save
// does not happen stops it too, so nothing unsaved is dropped.
void tst_clientWindow::askSave()
{
    QFETCH(QString, command);
    QFETCH(bool, modified);
    QFETCH(int, answer);
    QFETCH(QString, saveTo);
    QFETCH(bool, goesOn);
    QFETCH(bool, saved);

    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    const QString path = file("ask.json");
    QVERIFY(writeProject(path, everyKind()));
    const bool opened = saveTo.isEmpty() || saveTo == "bad";
    if (opened) {
        openFile(window, prompts, path);
    } else {
        prompts.textAnswers << "Fresh";
        QVERIFY(invoke(window, "commandNew"));
    }
    if (modified)
        addRead(window, prompts, 999);
    prompts.asked.clear();

    if (answer)
        prompts.messageAnswers << QMessageBox::StandardButton(answer);
    if (saveTo == "bad") {
        // The file's place is taken by a folder: saving to it fails.
        QVERIFY(QFile::remove(path));
        QVERIFY(QDir().mkdir(path));
    } else if (saveTo == "fresh.json") {
        prompts.fileAnswers << file(saveTo);
    }
    // What the command goes on to ask: a name, a file to open.
    prompts.textAnswers << "Next";
    QVERIFY(writeProject(file("next.json"), project("Next", {}, {})));
    if (command == "commandOpen")
        prompts.fileAnswers << file("next.json");
    QVERIFY(invoke(window, command.toLatin1()));

    if (modified) {
        QCOMPARE(prompts.asked.at(0).kind, QStringLiteral("message"));
        QCOMPARE(prompts.asked.at(0).title, QStringLiteral("Save project ?"));
        QCOMPARE(prompts.asked.at(0).text, QStringLiteral("Save project ?"));
        QCOMPARE(prompts.asked.at(0).buttons,
            int(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel));
    } else {
        QVERIFY(!prompts.kinds().contains("message"));
    }
    const QString expectedName = !goesOn   ? (opened ? "Plant" : "Fresh")
        : command == "commandCloseProject" ? ""
                                           : "Next";
    QCOMPARE(window.document()->name(), expectedName);
    const QString savedFile = saveTo == "fresh.json" ? file(saveTo) : path;
    const bool hasNewRead = QString::fromUtf8(readFile(savedFile)).contains("\"999\"");
    QCOMPARE(hasNewRead, saved);
    if (!goesOn)
        QCOMPARE(action(window, "actionUndo")->isEnabled(), true);
    if (saveTo == "bad")
        QVERIFY(QDir().rmdir(path));
}

void tst_clientWindow::language()
{
    QSettings().remove("language");
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    prompts.itemAnswers << "eng";
    QVERIFY(invoke(window, "commandSelectLanguage"));
    QCOMPARE(QSettings().value("language").toString(), QStringLiteral("eng"));
    QCOMPARE(prompts.kinds(), (QStringList {"item", "message"}));
    QCOMPARE(prompts.asked.at(0).title, QStringLiteral("Select language"));
    QCOMPARE(prompts.asked.at(0).text, QStringLiteral("Language"));
    QCOMPARE(prompts.asked.at(0).items, (QStringList {"pl", "eng"}));
    QCOMPARE(prompts.asked.at(0).current, -1);
    QVERIFY(prompts.asked.at(0).editable);
    QCOMPARE(prompts.asked.at(1).title, QStringLiteral("Info"));
    QCOMPARE(prompts.asked.at(1).text,
        QStringLiteral("Please restart the application to change language"));

    // The stored language is preselected; choosing it again says nothing.
    prompts.asked.clear();
    prompts.itemAnswers << "eng";
    QVERIFY(invoke(window, "commandSelectLanguage"));
    QCOMPARE(prompts.asked.at(0).current, 1);
    QCOMPARE(prompts.kinds(), QStringList {"item"});
    // Cancelled or emptied: unchanged.
    QVERIFY(invoke(window, "commandSelectLanguage"));
    prompts.itemAnswers << "";
    QVERIFY(invoke(window, "commandSelectLanguage"));
    QCOMPARE(QSettings().value("language").toString(), QStringLiteral("eng"));
    prompts.itemAnswers << "pl";
    QVERIFY(invoke(window, "commandSelectLanguage"));
    QCOMPARE(QSettings().value("language").toString(), QStringLiteral("pl"));
}

void tst_clientWindow::verboseChoice()
{
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    QVERIFY(!window.isVerbose());
    prompts.itemAnswers << "yes";
    QVERIFY(invoke(window, "commandVerbose"));
    QVERIFY(window.isVerbose());
    QVERIFY(invoke(window, "commandVerbose")); // cancelled
    QVERIFY(window.isVerbose());
    QCOMPARE(prompts.asked.at(1).current, 0);
    QCOMPARE(prompts.asked.at(1).title, QStringLiteral("Select verbose"));
    QCOMPARE(prompts.asked.at(1).text, QStringLiteral("Verbose"));
    prompts.itemAnswers << "anything";
    QVERIFY(invoke(window, "commandVerbose"));
    QVERIFY(!window.isVerbose());
}

void tst_clientWindow::exitCloses_data()
{
    QTest::addColumn<bool>("byExit"); // the Exit command, or the window's close
    QTest::addColumn<int>("answer");
    QTest::newRow("Exit, Cancel") << true << int(QMessageBox::Cancel);
    QTest::newRow("close, Cancel") << false << int(QMessageBox::Cancel);
    QTest::newRow("Exit, No") << true << int(QMessageBox::No);
    QTest::newRow("close, No") << false << int(QMessageBox::No);
}

// Exit and the window's close ask to save unsaved edits; Cancel keeps the
// window open with everything in it, No closes.
void tst_clientWindow::exitCloses()
{
    QFETCH(bool, byExit);
    QFETCH(int, answer);
    scriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    prompts.textAnswers << "Plant";
    QVERIFY(invoke(window, "commandNew"));
    addRead(window, prompts, 1);
    prompts.asked.clear();
    prompts.messageAnswers << QMessageBox::StandardButton(answer);
    if (byExit)
        action(window, "actionExit")->trigger();
    else
        QTimer::singleShot(0, &window, &QWidget::close);
    QTRY_COMPARE(prompts.asked.size(), 1);
    QCOMPARE(prompts.asked.at(0).title, QStringLiteral("Save project ?"));
    QCoreApplication::processEvents();
    const bool cancelled = answer == QMessageBox::Cancel;
    QCOMPARE(window.isVisible(), cancelled);
    if (cancelled) {
        QCOMPARE(rows<readElement>(window, "readLayout").size(), 1);
        QVERIFY(action(window, "actionUndo")->isEnabled());
        QCOMPARE(window.document()->name(), QStringLiteral("Plant"));
    }
}

// The real message box: its texts, buttons and the 49 blanks.
void tst_clientWindow::realMessageBox()
{
    userPrompts prompts;
    QString text;
    QStringList buttons;
    answerModal([&](QWidget *modal) {
        QMessageBox *box = qobject_cast<QMessageBox *>(modal);
        text = box->text();
        for (QAbstractButton *button : box->buttons())
            buttons << button->text();
        box->button(QMessageBox::No)->click();
    });
    const QMessageBox::StandardButton answer = prompts.message(nullptr, QMessageBox::Question,
        "Save project ?", "Save project ?", ":/_icons/system_info_128.png",
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(answer, QMessageBox::No);
    QCOMPARE(text, "Save project ?" + QString(49, ' '));
    buttons.sort();
    QCOMPARE(buttons, (QStringList {"Cancel", "No", "Yes"}));
}

// Every text of the window has its Polish translation in the resources.
void tst_clientWindow::everyTextTranslated()
{
    const auto texts = [](const MainWindow &window) {
        QMap<QString, QString> found;
        for (const QAction *item : window.findChildren<QAction *>())
            if (!item->objectName().isEmpty())
                found.insert(item->objectName(), item->text() + "|" + item->toolTip());
        for (const QMenu *menu : window.findChildren<QMenu *>())
            found.insert(menu->objectName(), menu->title());
        for (const QToolBar *bar : window.findChildren<QToolBar *>())
            found.insert(bar->objectName(), bar->windowTitle());
        for (const QTabWidget *tabs : window.findChildren<QTabWidget *>())
            for (int i = 0; i < tabs->count(); ++i)
                found.insert(tabs->widget(i)->objectName(), tabs->tabText(i));
        int label = 0;
        for (const QLabel *text : window.findChildren<QLabel *>())
            if (!text->text().isEmpty())
                found.insert(QString("label %1").arg(label++), text->text());
        return found;
    };
    scriptedPrompts prompts;
    const MainWindow english(nullptr, &prompts);
    QTranslator translator;
    QVERIFY(translator.load(":/file/qelWinModbusClient_pl.qm"));
    QVERIFY(QCoreApplication::installTranslator(&translator));
    const MainWindow polish(nullptr, &prompts);
    QCoreApplication::removeTranslator(&translator);

    const QMap<QString, QString> source = texts(english);
    const QMap<QString, QString> target = texts(polish);
    QCOMPARE(target.keys(), source.keys());
    QVERIFY(source.size() > 35);
    for (auto it = source.cbegin(); it != source.cend(); ++it)
        QVERIFY2(target.value(it.key()) != it.value(), qPrintable(it.value()));
    QCOMPARE(target.value("actionReadAll"), QStringLiteral("Odczytaj wszystko|Odczytaj wszystko"));
    QCOMPARE(polish.windowTitle(), QStringLiteral("ModbusClient"));
}

QTEST_MAIN(tst_clientWindow)
#include "tst_clientwindow.moc"
