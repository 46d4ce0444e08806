// The board initialiser against a real OpenSSH server on loopback: the
// remote commands run and their output reaches the log, and files arrive
// where "Copy" sends them. The board's own programs (sudo, qelEEPROMWr) are
// stand-ins on the remote PATH, so nothing changes on this machine.
#include "mainwindow.h"
#include "scp.h"
#include "scripteddialogs.h"
#include "settingscache.h"
#include "ssh.h"
#include "sshserver.h"
#include "standins.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString Options = QStringLiteral("-o 'StrictHostKeyChecking no'");

QByteArray readAll(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool writeFile(const QString &name, const QByteArray &content)
{
    QFile file(name);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

} // namespace

class TestRealSsh : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void remoteCommand();
    void setSnRedmine();
    void copy_data();
    void copy();

private:
    QStringList remoteRecord() const;

    QTemporaryDir store;
    SshServer server;
    MainWindow *window = nullptr;
    scriptedDialogs *dialogs = nullptr;
    QString log;
};

void TestRealSsh::initTestCase()
{
    QVERIFY(store.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, store.path());
    QCoreApplication::setOrganizationName(QStringLiteral("qel"));
    QCoreApplication::setApplicationName(QStringLiteral("qelWinRB4Init"));
    if (!server.start())
        QSKIP(qPrintable(QStringLiteral("no OpenSSH server on loopback: ") + server.reason()));

    // The board's programs: each records its arguments and says what it did.
    const QByteArray record = server.path(QStringLiteral("remote record")).toLocal8Bit();
    for (const char *name : {"sudo", "qelEEPROMWr"}) {
        QVERIFY(writeScript(server.remoteBin() + QLatin1Char('/') + QLatin1String(name),
            "printf '%s\\n' \"" + QByteArray(name) + " $*\" >> '" + record
                + "'\nprintf 'board: %s\\n' \"" + QByteArray(name) + " $*\"\n"));
    }

    settingsCache &settings = settingsCache::instance();
    settings.set(QStringLiteral("openSSH"), QStringLiteral("/usr/bin"));
    settings.set(QStringLiteral("openSSHId"), server.identityFile());
    settings.set(QStringLiteral("ip"), server.address());

    // Nothing of the board's commands may reach this machine's own programs.
    ssh probe(QStringLiteral("/usr/bin"), server.address(), 22, QStringLiteral("root"),
        server.identityFile(), QStringLiteral("command -v sudo qelEEPROMWr"), Options, true);
    QCOMPARE(probe.wait(), 0);
    if (probe.outText
        != server.remoteBin() + QStringLiteral("/sudo\n") + server.remoteBin()
            + QStringLiteral("/qelEEPROMWr\n"))
        QSKIP(qPrintable(QStringLiteral("the server's sessions do not find the stand-ins first: ")
            + probe.outText + probe.errText));
}

void TestRealSsh::init()
{
    QFile::remove(server.path(QStringLiteral("remote record")));
    dialogs = new scriptedDialogs;
    window = new MainWindow(dialogs);
    log.clear();
    connect(window, &MainWindow::logAppended, this, [this](const QString &html) { log += html; });
}

void TestRealSsh::cleanup()
{
    delete window;
    window = nullptr;
}

QStringList TestRealSsh::remoteRecord() const
{
    return QString::fromLocal8Bit(readAll(server.path(QStringLiteral("remote record"))))
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void TestRealSsh::remoteCommand()
{
    // The identity file's path holds a blank; the remote shell gets the
    // command as one text.
    ssh run(QStringLiteral("/usr/bin"), server.address(), 22, QStringLiteral("root"),
        server.identityFile(), QStringLiteral("echo \"two  blanks\"; echo $((6 * 7))"), Options,
        true);
    QCOMPARE(run.wait(), 0);
    QCOMPARE(run.outText, QStringLiteral("two  blanks\n42\n"));
}

void TestRealSsh::setSnRedmine()
{
    window->findChild<QSpinBox *>(QStringLiteral("sn"))->setValue(123);
    window->findChild<QSpinBox *>(QStringLiteral("redmine"))->setValue(45678);
    dialogs->yesAnswers = {true};
    QVERIFY(QMetaObject::invokeMethod(window, "commandSetSnRedmine", Qt::DirectConnection));

    const QStringList record = remoteRecord();
    QCOMPARE(record.size(), 3);
    QVERIFY2(record.at(0).startsWith(QStringLiteral("sudo date -s ")), qPrintable(record.at(0)));
    QCOMPARE(record.at(1), QStringLiteral("sudo hwclock --systohc --localtime"));
    const QString eeprom = QStringLiteral("qelEEPROMWr --eeprom "
                                          "/sys/class/i2c-dev/i2c-0/device/0-0050/eeprom --sn "
                                          "123 --redmine 45678");
    QCOMPARE(record.at(2), eeprom);
    // What the board printed is in the log, one line run into the next.
    QVERIFY2(log.contains(QStringLiteral("board: ") + record.at(0) + QStringLiteral("board: ")
                 + record.at(1)),
        qPrintable(log));
    QVERIFY2(log.contains(QStringLiteral("board: ") + eeprom), qPrintable(log));
}

void TestRealSsh::copy_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("target"); // below the board's folder
    QTest::addColumn<QString>("arrives"); // below the board's folder
    QTest::newRow("into a folder") << "report.txt"
                                   << "copies"
                                   << "copies/report.txt";
    QTest::newRow("blanks, to a new name") << "my report.txt"
                                           << "copies/new name.txt"
                                           << "copies/new name.txt";
    QTest::newRow("file name starting with a dash") << "-oProxyCommand=x"
                                                    << "copies"
                                                    << "copies/-oProxyCommand=x";
    QTest::newRow("file name with a colon") << "log 12:30.txt"
                                            << "copies"
                                            << "copies/log 12:30.txt";
}

void TestRealSsh::copy()
{
    QFETCH(QString, fileName);
    QFETCH(QString, target);
    QFETCH(QString, arrives);
    QTemporaryDir local;
    QVERIFY(local.isValid());
    QTemporaryDir board;
    QVERIFY(board.isValid());
    QVERIFY(QDir().mkpath(board.filePath(QStringLiteral("copies"))));
    const QByteArray content = "sent by the board initialiser: " + fileName.toUtf8() + '\n';
    QVERIFY(writeFile(local.filePath(fileName), content));

    dialogs->answers = QStringList {local.filePath(fileName), board.filePath(target)};
    QVERIFY(QMetaObject::invokeMethod(window, "commandCopyFile", Qt::DirectConnection));

    QCOMPARE(readAll(board.filePath(arrives)), content);
    QCOMPARE(remoteRecord(), QStringList {"sudo mount -rw -o remount /"});
    QVERIFY2(log.contains(QStringLiteral("board: sudo mount -rw -o remount /")), qPrintable(log));
    QVERIFY2(log.contains(QStringLiteral(" -r ") + fileName + QStringLiteral(" root@127.0.0.2:")
                 + board.filePath(target) + QStringLiteral("<br>")),
        qPrintable(log));
}

QTEST_MAIN(TestRealSsh)
#include "tst_realssh.moc"
