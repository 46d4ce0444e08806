// The board initialiser's window with stand-in ssh and scp: each operation's
// questions, the programs' exact argument lists, the log, the settings.
#include "logholder.h"
#include "logwindow.h"
#include "mainwindow.h"
#include "scripteddialogs.h"
#include "settingscache.h"
#include "standins.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

namespace {

const QString Address = QStringLiteral("192.168.1.10");
const QString Eeprom = QStringLiteral("/sys/class/i2c-dev/i2c-0/device/0-0050/eeprom");
const QString Remount = QStringLiteral("sudo mount -rw -o remount /");
const QString Update = QStringLiteral("sudo /bin/sh /usr/bin/www_local_update.sh");

QString dateCommand(const QDateTime &at)
{
    return QStringLiteral("sudo date -s %1 && sudo hwclock --systohc --localtime")
        .arg(at.toString(QStringLiteral("yyyy.MM.dd-hh:mm")));
}

// The visible message box's text, or a null text when none is shown.
QString visibleBoxText(bool *withoutButtons = nullptr)
{
    const QWidgetList widgets = QApplication::topLevelWidgets();
    for (QWidget *widget : widgets) {
        auto *box = qobject_cast<QMessageBox *>(widget);
        if (box && box->isVisible()) {
            if (withoutButtons)
                *withoutButtons = box->buttons().isEmpty();
            return box->text();
        }
    }
    return QString();
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void setDate();
    void setSnRedmine_data();
    void setSnRedmine();
    void webserwer();
    void copyFile_data();
    void copyFile();
    void cancelled_data();
    void cancelled();
    void missingPrograms_data();
    void missingPrograms();
    void settings_data();
    void settings();
    void settingsNotWritable();
    void askBox_data();
    void askBox();
    void buttons_data();
    void buttons();
    void actions();
    void logShowsOutputAsText();

private:
    void invoke(const char *slot);
    QString sshLine(const QString &command) const;
    QStringList sshArgs(const QString &command) const;
    QString scpLine(const QString &source, const QString &target) const;
    QStringList scpArgs(const QString &source, const QString &target) const;
    QStringList remoteCommands() const;

    QTemporaryDir store;
    std::unique_ptr<QTemporaryDir> root;
    QString bin;
    QString id;
    QString record;
    MainWindow *window = nullptr;
    scriptedDialogs *dialogs = nullptr;
    QStringList fragments;
};

void TestMainWindow::initTestCase()
{
    QVERIFY(store.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, store.path());
    QCoreApplication::setOrganizationName(QStringLiteral("qel"));
    QCoreApplication::setApplicationName(QStringLiteral("qelWinRB4Init"));
}

void TestMainWindow::init()
{
    root = std::make_unique<QTemporaryDir>();
    QVERIFY(root->isValid());
    bin = root->filePath(QStringLiteral("Open SSH"));
    id = root->filePath(QStringLiteral("my keys/id key"));
    record = root->filePath(QStringLiteral("record"));
    QVERIFY(QDir().mkpath(bin));
    QVERIFY(writeStandIn(bin, QStringLiteral("ssh"), record));
    QVERIFY(writeStandIn(bin, QStringLiteral("scp"), record));

    settingsCache &settings = settingsCache::instance();
    settings.set(QStringLiteral("openSSH"), bin);
    settings.set(QStringLiteral("openSSHId"), id);
    settings.set(QStringLiteral("ip"), Address);
    QVERIFY(settings.save());

    dialogs = new scriptedDialogs;
    window = new MainWindow(dialogs);
    fragments.clear();
    connect(window, &MainWindow::logAppended, this,
        [this](const QString &html) { fragments.append(html); });
}

void TestMainWindow::cleanup()
{
    delete window;
    window = nullptr;
    QVERIFY(visibleBoxText().isNull());
}

void TestMainWindow::invoke(const char *slot)
{
    const QByteArray name(slot);
    const bool withFlag = name == "commandSetOpenSSH" || name == "commandSetId"
        || name == "commandSetIp" || name == "commandLog" || name == "commandExit";
    const bool invoked = withFlag
        ? QMetaObject::invokeMethod(window, slot, Qt::DirectConnection, Q_ARG(bool, false))
        : QMetaObject::invokeMethod(window, slot, Qt::DirectConnection);
    QVERIFY2(invoked, slot);
}

QString TestMainWindow::sshLine(const QString &command) const
{
    return QStringLiteral("\"%1/ssh\" -p 22 -i \"%2\"  -o 'StrictHostKeyChecking no' root@%3 %4")
        .arg(bin, id, Address, command);
}

QStringList TestMainWindow::sshArgs(const QString &command) const
{
    return {
        "-p", "22", "-i", id, "-o", "StrictHostKeyChecking no", "--", "root@" + Address, command};
}

QString TestMainWindow::scpLine(const QString &source, const QString &target) const
{
    return QStringLiteral(
        "\"%1/scp\" -P 22 -i \"%2\" -o 'StrictHostKeyChecking no' -r %3 root@%4:%5")
        .arg(bin, id, source, Address, target);
}

QStringList TestMainWindow::scpArgs(const QString &source, const QString &target) const
{
    return {"-P", "22", "-i", id, "-o", "StrictHostKeyChecking no", "-r", "--", source,
        "root@" + Address + ":" + target};
}

// The last argument of every recorded ssh run, in order.
QStringList TestMainWindow::remoteCommands() const
{
    QStringList commands;
    const QList<StandInRun> runs = readRecord(record);
    for (const StandInRun &run : runs) {
        if (run.program == QLatin1String("ssh") && !run.arguments.isEmpty())
            commands.append(run.arguments.last());
    }
    return commands;
}

void TestMainWindow::setDate()
{
    const QDateTime before = QDateTime::currentDateTime();
    invoke("commandSetDate");
    const QDateTime after = QDateTime::currentDateTime();

    const QList<StandInRun> runs = readRecord(record);
    QCOMPARE(runs.size(), 1);
    QCOMPARE(runs.at(0).program, QStringLiteral("ssh"));
    const QString command = runs.at(0).arguments.value(8);
    QVERIFY2(command == dateCommand(before) || command == dateCommand(after), qPrintable(command));
    QCOMPARE(runs.at(0).arguments, sshArgs(command));
    QCOMPARE(fragments, QStringList({"ssh ran", "<br>"}));
    QVERIFY(dialogs->asked.isEmpty());
}

void TestMainWindow::setSnRedmine_data()
{
    QTest::addColumn<bool>("dateFirst");
    QTest::addColumn<int>("sn");
    QTest::addColumn<int>("redmine");
    QTest::addColumn<QString>("eeprom");
    QTest::newRow("No: only the EEPROM")
        << false << 123 << 45678 << "qelEEPROMWr --eeprom " + Eeprom + " --sn 123 --redmine 45678";
    QTest::newRow("Yes: the date, then the EEPROM")
        << true << 123 << 45678 << "qelEEPROMWr --eeprom " + Eeprom + " --sn 123 --redmine 45678";
    QTest::newRow("No, limits") << false << 0 << 999999
                                << "qelEEPROMWr --eeprom " + Eeprom + " --sn 0 --redmine 999999";
}

void TestMainWindow::setSnRedmine()
{
    QFETCH(bool, dateFirst);
    QFETCH(int, sn);
    QFETCH(int, redmine);
    QFETCH(QString, eeprom);
    window->findChild<QSpinBox *>(QStringLiteral("sn"))->setValue(sn);
    window->findChild<QSpinBox *>(QStringLiteral("redmine"))->setValue(redmine);
    dialogs->yesAnswers = {dateFirst};

    const QDateTime before = QDateTime::currentDateTime();
    invoke("commandSetSnRedmine");
    const QDateTime after = QDateTime::currentDateTime();

    QCOMPARE(dialogs->asked.size(), 1);
    QCOMPARE(dialogs->asked.at(0).kind, QStringLiteral("yes"));
    QCOMPARE(dialogs->asked.at(0).caption, QStringLiteral("Ask"));
    QCOMPARE(dialogs->asked.at(0).start, QStringLiteral("Do you want set date first ?"));
    QCOMPARE(dialogs->asked.at(0).filter, QStringLiteral(":/_icons/system_info_128.png"));

    const QList<StandInRun> runs = readRecord(record);
    QCOMPARE(runs.size(), dateFirst ? 2 : 1);
    if (dateFirst) {
        const QString command = runs.at(0).arguments.value(8);
        QVERIFY2(
            command == dateCommand(before) || command == dateCommand(after), qPrintable(command));
        QCOMPARE(runs.at(0).arguments, sshArgs(command));
        QCOMPARE(fragments, QStringList({"ssh ran", "<br>", "ssh ran", "<br>"}));
    } else {
        QCOMPARE(fragments, QStringList({"ssh ran", "<br>"}));
    }
    QCOMPARE(runs.last().program, QStringLiteral("ssh"));
    QCOMPARE(runs.last().arguments, sshArgs(eeprom));
}

void TestMainWindow::webserwer()
{
    const QString folder = root->filePath(QStringLiteral("up dates"));
    QVERIFY(QDir().mkpath(folder));
    dialogs->answers = QStringList {folder + QStringLiteral("/www backup.tar.gz")};
    QStringList boxTexts;
    bool withoutButtons = false;
    connect(window, &MainWindow::logAppended, this,
        [&] { boxTexts.append(visibleBoxText(&withoutButtons)); });

    invoke("commandSetWebserwer");

    QCOMPARE(dialogs->asked.size(), 1);
    QCOMPARE(dialogs->asked.at(0).kind, QStringLiteral("file"));
    QCOMPARE(dialogs->asked.at(0).caption, QStringLiteral("Select File"));
    QCOMPARE(dialogs->asked.at(0).filter, QStringLiteral("(*.gz)"));

    const QString archive = QStringLiteral("/var/www_update/backup.tar.gz");
    const QList<StandInRun> runs = readRecord(record);
    QCOMPARE(runs.size(), 3);
    QCOMPARE(runs.at(0).program, QStringLiteral("ssh"));
    QCOMPARE(runs.at(0).arguments, sshArgs(Remount));
    QCOMPARE(runs.at(1).program, QStringLiteral("scp"));
    QCOMPARE(runs.at(1).workingDirectory, folder);
    QCOMPARE(runs.at(1).arguments, scpArgs(QStringLiteral("www backup.tar.gz"), archive));
    QCOMPARE(runs.at(2).program, QStringLiteral("ssh"));
    QCOMPARE(runs.at(2).arguments, sshArgs(Update));

    QCOMPARE(fragments,
        QStringList({"ssh ran", "<br>" + sshLine(Remount) + "<br>", "scp ran",
            "<br>" + scpLine(QStringLiteral("www backup.tar.gz"), archive) + "<br>", "ssh ran",
            "<br>" + sshLine(Update) + "<br>"}));
    // "Please wait ..." stays open, without buttons, for the whole operation.
    QCOMPARE(boxTexts.size(), 6);
    for (const QString &text : boxTexts)
        QCOMPARE(text, QStringLiteral("Please wait ...") + QString(81, QLatin1Char(' ')));
    QVERIFY(withoutButtons);
    QVERIFY(visibleBoxText().isNull());
}

void TestMainWindow::copyFile_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("sent");
    QTest::newRow("to /root") << "notes.txt"
                              << "/root"
                              << "notes.txt";
    QTest::newRow("blanks in the file and the path") << "my notes.txt"
                                                     << "/root/my dir"
                                                     << "my notes.txt";
    QTest::newRow("file name starting with a dash") << "-oProxyCommand=x"
                                                    << "/root"
                                                    << "-oProxyCommand=x";
    QTest::newRow("file name with a colon") << "log 12:30.txt"
                                            << "/tmp"
                                            << "./log 12:30.txt";
}

void TestMainWindow::copyFile()
{
    QFETCH(QString, fileName);
    QFETCH(QString, target);
    QFETCH(QString, sent);
    const QString folder = root->filePath(QStringLiteral("local files"));
    QVERIFY(QDir().mkpath(folder));
    dialogs->answers = QStringList {folder + QLatin1Char('/') + fileName, target};

    invoke("commandCopyFile");

    QCOMPARE(dialogs->asked.size(), 2);
    QCOMPARE(dialogs->asked.at(0).kind, QStringLiteral("file"));
    QCOMPARE(dialogs->asked.at(0).caption, QStringLiteral("Select File"));
    QCOMPARE(dialogs->asked.at(0).filter, QStringLiteral("(*.*)"));
    QCOMPARE(dialogs->asked.at(1).kind, QStringLiteral("text"));
    QCOMPARE(dialogs->asked.at(1).caption, QStringLiteral("Select path where to copy"));
    QCOMPARE(dialogs->asked.at(1).filter, QStringLiteral("Path:"));
    QCOMPARE(dialogs->asked.at(1).start, QStringLiteral("/root"));

    const QList<StandInRun> runs = readRecord(record);
    QCOMPARE(runs.size(), 2);
    QCOMPARE(runs.at(0).arguments, sshArgs(Remount));
    QCOMPARE(runs.at(1).program, QStringLiteral("scp"));
    QCOMPARE(runs.at(1).workingDirectory, folder);
    QCOMPARE(runs.at(1).arguments, scpArgs(sent, target));
    QCOMPARE(fragments,
        QStringList({"ssh ran", "<br>" + sshLine(Remount) + "<br>", "scp ran",
            "<br>" + scpLine(fileName, target) + "<br>"}));
}

void TestMainWindow::cancelled_data()
{
    QTest::addColumn<QByteArray>("slot");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<int>("questions");
    QTest::newRow("Webserwer, no archive chosen")
        << QByteArray("commandSetWebserwer") << QStringList {""} << 1;
    QTest::newRow("Copy, no file chosen") << QByteArray("commandCopyFile") << QStringList {""} << 1;
    QTest::newRow("Copy, path cancelled")
        << QByteArray("commandCopyFile") << QStringList {"/tmp/a.txt", scriptedDialogs::Cancel}
        << 2;
    QTest::newRow("Copy, empty path")
        << QByteArray("commandCopyFile") << QStringList {"/tmp/a.txt", ""} << 2;
}

void TestMainWindow::cancelled()
{
    QFETCH(QByteArray, slot);
    QFETCH(QStringList, answers);
    QFETCH(int, questions);
    dialogs->answers = answers;
    invoke(slot.constData());
    QCOMPARE(dialogs->asked.size(), questions);
    QVERIFY(!QFile::exists(record));
    QVERIFY(fragments.isEmpty());
}

void TestMainWindow::missingPrograms_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("no folder set") << "";
    QTest::newRow("folder without the programs") << "{root}/empty";
}

void TestMainWindow::missingPrograms()
{
    QFETCH(QString, folder);
    folder.replace(QLatin1String("{root}"), root->path());
    settingsCache::instance().set(QStringLiteral("openSSH"), folder);
    bin = folder;
    const QString archiveFolder = root->filePath(QStringLiteral("files"));
    dialogs->answers = QStringList {
        archiveFolder + QStringLiteral("/backup.tar.gz"), archiveFolder + "/a.txt", "/root"};
    dialogs->yesAnswers = {true};

    invoke("commandSetWebserwer");
    invoke("commandCopyFile");
    invoke("commandSetSnRedmine");

    // Nothing ran, but every command line is in the log.
    QVERIFY(!QFile::exists(record));
    const QString archive = QStringLiteral("/var/www_update/backup.tar.gz");
    const QString ssh = folder + QStringLiteral("/ssh");
    const QString scp = folder + QStringLiteral("/scp");
    const QString options = QStringLiteral("-o 'StrictHostKeyChecking no'");
    QCOMPARE(fragments,
        QStringList({
            "<br>" + ssh + " -p 22 -i \"" + id + "\"  " + options + " root@" + Address + " "
                + Remount + "<br>",
            "<br>" + scp + " -P 22 -i \"" + id + "\" " + options + " -r backup.tar.gz root@"
                + Address + ":" + archive + "<br>",
            "<br>" + ssh + " -p 22 -i \"" + id + "\"  " + options + " root@" + Address + " "
                + Update + "<br>",
            "<br>" + ssh + " -p 22 -i \"" + id + "\"  " + options + " root@" + Address + " "
                + Remount + "<br>",
            "<br>" + scp + " -P 22 -i \"" + id + "\" " + options + " -r a.txt root@" + Address
                + ":/root<br>",
            "<br>",
            "<br>",
        }));
}

void TestMainWindow::settings_data()
{
    QTest::addColumn<QByteArray>("slot");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QStringList>("question"); // kind, caption, start, filter or label

    const QStringList folder {"folder", "Select Folder", "{bin}", ""};
    QTest::newRow("openSSH, same folder") << QByteArray("commandSetOpenSSH") << "openSSH"
                                          << "{bin}" << false << folder;
    QTest::newRow("openSSH, another folder") << QByteArray("commandSetOpenSSH") << "openSSH"
                                             << "/usr/bin" << true << folder;
    QTest::newRow("openSSH, cancelled") << QByteArray("commandSetOpenSSH") << "openSSH"
                                        << "" << false << folder;

    const QStringList file {"file", "Open File", "{id}", "(*.*)"};
    QTest::newRow("id, same file") << QByteArray("commandSetId") << "openSSHId"
                                   << "{id}" << false << file;
    QTest::newRow("id, another file") << QByteArray("commandSetId") << "openSSHId"
                                      << "/root/.ssh/board key" << true << file;
    QTest::newRow("id, cancelled") << QByteArray("commandSetId") << "openSSHId"
                                   << "" << false << file;

    const QStringList text {"text", "Set IP", Address, "IP"};
    QTest::newRow("ip, same address")
        << QByteArray("commandSetIp") << "ip" << Address << false << text;
    QTest::newRow("ip, another address") << QByteArray("commandSetIp") << "ip"
                                         << "10.0.0.7" << true << text;
    QTest::newRow("ip, not checked") << QByteArray("commandSetIp") << "ip"
                                     << "board one" << true << text;
    QTest::newRow("ip, empty answer") << QByteArray("commandSetIp") << "ip"
                                      << "" << false << text;
    QTest::newRow("ip, cancelled")
        << QByteArray("commandSetIp") << "ip" << scriptedDialogs::Cancel << false << text;
}

void TestMainWindow::settings()
{
    QFETCH(QByteArray, slot);
    QFETCH(QString, key);
    QFETCH(QString, answer);
    QFETCH(bool, saved);
    QFETCH(QStringList, question);
    for (QString &item : question)
        item.replace(QLatin1String("{bin}"), bin).replace(QLatin1String("{id}"), id);
    answer.replace(QLatin1String("{bin}"), bin).replace(QLatin1String("{id}"), id);
    const QStringList keys {"openSSH", "openSSHId", "ip"};
    QStringList before;
    for (const QString &k : keys)
        before.append(settingsCache::instance().get(k));

    // The store is changed behind the program's back: it is written again
    // only when a value changes, and then with every cached key.
    QSettings outside;
    for (const QString &k : keys)
        outside.setValue(k, QStringLiteral("outside"));
    outside.sync();

    dialogs->answers = QStringList {answer};
    invoke(slot.constData());

    QCOMPARE(dialogs->asked.size(), 1);
    const scriptedDialogs::Question &asked = dialogs->asked.at(0);
    QCOMPARE(QStringList({asked.kind, asked.caption, asked.start, asked.filter}), question);

    QStringList cached = before;
    if (saved)
        cached[keys.indexOf(key)] = answer;
    QSettings inStore;
    for (int i = 0; i < keys.size(); ++i) {
        QCOMPARE(settingsCache::instance().get(keys.at(i)), cached.at(i));
        QCOMPARE(
            inStore.value(keys.at(i)).toString(), saved ? cached.at(i) : QStringLiteral("outside"));
    }
}

void TestMainWindow::settingsNotWritable()
{
    // A folder where the settings file belongs: the store cannot be written.
    const QString file = QSettings().fileName();
    QVERIFY(QFile::remove(file));
    QVERIFY(QDir().mkpath(file));
    dialogs->answers = QStringList {QStringLiteral("10.0.0.9")};
    invoke("commandSetIp");
    QVERIFY(QDir(file).removeRecursively());

    QCOMPARE(dialogs->asked.size(), 2);
    QCOMPARE(dialogs->asked.at(1).kind, QStringLiteral("warning"));
    QCOMPARE(dialogs->asked.at(1).caption, QStringLiteral("Settings"));
    QCOMPARE(dialogs->asked.at(1).start, QStringLiteral("The settings could not be saved."));
    QCOMPARE(settingsCache::instance().get(QStringLiteral("ip")), QStringLiteral("10.0.0.9"));
}

void TestMainWindow::askBox_data()
{
    QTest::addColumn<int>("press");
    QTest::addColumn<int>("runs");
    QTest::newRow("No") << int(Qt::Key_N) << 1;
    QTest::newRow("Enter takes the default, Yes") << int(Qt::Key_Return) << 2;
}

void TestMainWindow::askBox()
{
    QFETCH(int, press);
    QFETCH(int, runs);
    MainWindow standard; // with the program's own dialogs
    QString title;
    QString text;
    bool hasIcon = false;
    bool hasParent = true;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QTimer answer;
    answer.setInterval(20);
    connect(&answer, &QTimer::timeout, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        answer.stop();
        title = box->windowTitle();
        text = box->text();
        hasIcon = !box->windowIcon().isNull();
        hasParent = box->parentWidget() != nullptr;
        buttons = box->standardButtons();
        defaultButton = box->standardButton(box->defaultButton());
        if (press == Qt::Key_N)
            box->button(QMessageBox::No)->click();
        else
            QTest::keyClick(box, Qt::Key(press));
    });
    answer.start();
    QVERIFY(QMetaObject::invokeMethod(&standard, "commandSetSnRedmine", Qt::DirectConnection));

    QCOMPARE(title, QStringLiteral("Ask"));
    QCOMPARE(text, QStringLiteral("Do you want set date first ?"));
    QVERIFY(hasIcon);
    QVERIFY(!hasParent);
    QCOMPARE(buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(defaultButton, QMessageBox::Yes);
    const QStringList commands = remoteCommands();
    QCOMPARE(commands.size(), runs);
    QVERIFY(commands.last().startsWith(QStringLiteral("qelEEPROMWr ")));
    if (runs == 2)
        QVERIFY(commands.first().startsWith(QStringLiteral("sudo date -s ")));
}

void TestMainWindow::buttons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("firstCommand");
    QTest::addColumn<int>("runs");
    QTest::newRow("Set date") << "setDate" << QStringList {} << "sudo date -s " << 1;
    QTest::newRow("Set serial and tracking numbers")
        << "setSnRedmine" << QStringList {} << "qelEEPROMWr --eeprom " << 1;
    QTest::newRow("Webserwer") << "setWebserwer" << QStringList {"/tmp/w.tar.gz"} << Remount << 3;
    QTest::newRow("Copy") << "copyFile" << QStringList {"/tmp/a.txt", "/root"} << Remount << 2;
}

void TestMainWindow::buttons()
{
    QFETCH(QString, button);
    QFETCH(QStringList, answers);
    QFETCH(QString, firstCommand);
    QFETCH(int, runs);
    dialogs->answers = answers;
    dialogs->yesAnswers = {false};
    auto *pushButton = window->findChild<QPushButton *>(button);
    QVERIFY(pushButton);
    QTest::mouseClick(pushButton, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(readRecord(record).size(), runs, 60000);
    QVERIFY(remoteCommands().first().startsWith(firstCommand));
}

void TestMainWindow::actions()
{
    const struct
    {
        const char *action;
        const char *kind;
    } questions[]
        = {{"actionSetOpenSSH", "folder"}, {"actionSetId", "file"}, {"actionSetIp", "text"}};
    for (const auto &question : questions) {
        dialogs->answers = QStringList {QString()};
        window->findChild<QAction *>(QString::fromLatin1(question.action))->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!dialogs->asked.isEmpty(), 60000);
        QCOMPARE(dialogs->asked.takeFirst().kind, QString::fromLatin1(question.kind));
    }

    window->show();
    QWidget *log = logInstance().window();
    window->findChild<QAction *>(QStringLiteral("actionLog"))->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(log->isVisible(), 60000);
    window->findChild<QAction *>(QStringLiteral("actionExit"))->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!window->isVisible(), 60000);
    QVERIFY(!log->isVisible());

    // Closing the window by other means closes the log as well.
    window->show();
    logInstance().showLog();
    QVERIFY(log->isVisible());
    window->close();
    QVERIFY(!log->isVisible());
}

void TestMainWindow::logShowsOutputAsText()
{
    QVERIFY(writeStandIn(
        bin, QStringLiteral("ssh"), record, "printf '<b>date</b> & time\\r\\nset\\n'\n"));
    invoke("commandLog");
    auto *view = logInstance().window()->findChild<QTextEdit *>();
    QVERIFY(view);
    const QString before = view->toPlainText();
    invoke("commandSetDate");
    const QString added = view->toPlainText().mid(before.size());
    QCOMPARE(added, QStringLiteral("<b>date</b> & timeset\n"));
    logInstance().closeLog();
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
