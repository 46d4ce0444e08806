// ssh and scp: the command line shown to the user, the argument list the
// program receives, output handling and every way a run can end.
#include "scp.h"
#include "ssh.h"
#include "standins.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString Options = QStringLiteral("-o 'StrictHostKeyChecking no'");

QString expand(QString text, const QString &root)
{
    return text.replace(QLatin1String("{root}"), root);
}

QStringList expand(QStringList list, const QString &root)
{
    for (QString &item : list)
        item = expand(item, root);
    return list;
}

} // namespace

class TestOpenSshRun : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void sshLine_data();
    void sshLine();
    void scpLine_data();
    void scpLine();
    void missingProgram_data();
    void missingProgram();
    void output_data();
    void output();
    void exitCode_data();
    void exitCode();
    void programThatCannotStart();
    void timeout();
    void waitBeforeStart();
    void inputIsClosed();

private:
    std::unique_ptr<QTemporaryDir> root;
    QString record;
};

void TestOpenSshRun::init()
{
    root = std::make_unique<QTemporaryDir>();
    QVERIFY(root->isValid());
    record = root->filePath(QStringLiteral("record"));
}

void TestOpenSshRun::sshLine_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("idFile");
    QTest::addColumn<QString>("ip");
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("plain")
        << "{root}/bin"
        << "{root}/id_ed25519"
        << "192.168.1.10" << Options << "sudo mount -rw -o remount /"
        << "{root}/bin/ssh -p 22 -i {root}/id_ed25519  -o 'StrictHostKeyChecking no' "
           "root@192.168.1.10 sudo mount -rw -o remount /"
        << QStringList {"-p", "22", "-i", "{root}/id_ed25519", "-o", "StrictHostKeyChecking no",
               "--", "root@192.168.1.10", "sudo mount -rw -o remount /"};
    QTest::newRow("folder and identity with blanks")
        << "{root}/Program Files/OpenSSH"
        << "{root}/my keys/id key"
        << "10.0.0.5" << Options
        << "sudo date -s 2021.01.22-13:17 && sudo hwclock --systohc --localtime"
        << "\"{root}/Program Files/OpenSSH/ssh\" -p 22 -i \"{root}/my keys/id key\"  -o "
           "'StrictHostKeyChecking no' root@10.0.0.5 sudo date -s 2021.01.22-13:17 && sudo "
           "hwclock --systohc --localtime"
        << QStringList {"-p", "22", "-i", "{root}/my keys/id key", "-o", "StrictHostKeyChecking no",
               "--", "root@10.0.0.5",
               "sudo date -s 2021.01.22-13:17 && sudo hwclock --systohc --localtime"};
    QTest::newRow("no options") << "{root}/bin"
                                << "{root}/id"
                                << "10.0.0.5"
                                << ""
                                << "uptime"
                                << "{root}/bin/ssh -p 22 -i {root}/id root@10.0.0.5 uptime"
                                << QStringList {"-p", "22", "-i", "{root}/id", "--",
                                       "root@10.0.0.5", "uptime"};
    QTest::newRow("identity starting with a dash")
        << "{root}/bin"
        << "-oProxyCommand=touch {root}/pwned"
        << "10.0.0.5" << Options << "uptime"
        << "{root}/bin/ssh -p 22 -i \"-oProxyCommand=touch {root}/pwned\"  -o "
           "'StrictHostKeyChecking no' root@10.0.0.5 uptime"
        << QStringList {"-p", "22", "-i", "-oProxyCommand=touch {root}/pwned", "-o",
               "StrictHostKeyChecking no", "--", "root@10.0.0.5", "uptime"};
    QTest::newRow("address with options and a command in it")
        << "{root}/bin"
        << "{root}/id"
        << "-oProxyCommand=x 10.0.0.5 rm -rf /" << Options << "uptime"
        << "{root}/bin/ssh -p 22 -i {root}/id  -o 'StrictHostKeyChecking no' "
           "root@-oProxyCommand=x 10.0.0.5 rm -rf / uptime"
        << QStringList {"-p", "22", "-i", "{root}/id", "-o", "StrictHostKeyChecking no", "--",
               "root@-oProxyCommand=x 10.0.0.5 rm -rf /", "uptime"};
    QTest::newRow("address with blanks around it")
        << "{root}/bin"
        << "{root}/id"
        << " 10.0.0.5 " << Options << "uptime"
        << "{root}/bin/ssh -p 22 -i {root}/id  -o 'StrictHostKeyChecking no' root@ 10.0.0.5  "
           "uptime"
        << QStringList {"-p", "22", "-i", "{root}/id", "-o", "StrictHostKeyChecking no", "--",
               "root@10.0.0.5", "uptime"};
    QTest::newRow("no identity file")
        << "{root}/bin"
        << ""
        << "10.0.0.5" << Options << "uptime"
        << "{root}/bin/ssh -p 22 -i   -o 'StrictHostKeyChecking no' root@10.0.0.5 uptime"
        << QStringList {
               "-p", "22", "-o", "StrictHostKeyChecking no", "--", "root@10.0.0.5", "uptime"};
}

void TestOpenSshRun::sshLine()
{
    QFETCH(QString, folder);
    QFETCH(QString, idFile);
    QFETCH(QString, ip);
    QFETCH(QString, options);
    QFETCH(QString, command);
    QFETCH(QString, line);
    QFETCH(QStringList, arguments);
    const QString base = root->path();
    folder = expand(folder, base);
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writeStandIn(folder, QStringLiteral("ssh"), record));

    ssh run(folder, ip, 22, QStringLiteral("root"), expand(idFile, base), command, options, true);
    QCOMPARE(run.commandLine, expand(line, base));
    QCOMPARE(run.wait(), 0);
    QVERIFY(run.done);

    const QList<StandInRun> runs = readRecord(record);
    QCOMPARE(runs.size(), 1);
    QCOMPARE(runs.at(0).program, QStringLiteral("ssh"));
    QCOMPARE(runs.at(0).arguments, expand(arguments, base));
    QVERIFY(!QFile::exists(root->filePath(QStringLiteral("pwned"))));
}

void TestOpenSshRun::scpLine_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("idFile");
    QTest::addColumn<QString>("ip");
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("web-server archive")
        << "{root}/bin"
        << "{root}/id_ed25519"
        << "192.168.1.10" << Options << "backup.tar.gz"
        << "/var/www_update/backup.tar.gz"
        << "{root}/bin/scp -P 22 -i {root}/id_ed25519 -o 'StrictHostKeyChecking no' -r "
           "backup.tar.gz root@192.168.1.10:/var/www_update/backup.tar.gz"
        << QStringList {"-P", "22", "-i", "{root}/id_ed25519", "-o", "StrictHostKeyChecking no",
               "-r", "--", "backup.tar.gz", "root@192.168.1.10:/var/www_update/backup.tar.gz"};
    QTest::newRow("blanks everywhere")
        << "{root}/Program Files/OpenSSH"
        << "{root}/my keys/id key"
        << "10.0.0.5" << Options << "my archive.tar.gz"
        << "/root/my dir"
        << "\"{root}/Program Files/OpenSSH/scp\" -P 22 -i \"{root}/my keys/id key\" -o "
           "'StrictHostKeyChecking no' -r my archive.tar.gz root@10.0.0.5:/root/my dir"
        << QStringList {"-P", "22", "-i", "{root}/my keys/id key", "-o", "StrictHostKeyChecking no",
               "-r", "--", "my archive.tar.gz", "root@10.0.0.5:/root/my dir"};
    QTest::newRow("file name starting with a dash")
        << "{root}/bin"
        << "{root}/id"
        << "10.0.0.5" << Options << "-oProxyCommand=x"
        << "/root"
        << "{root}/bin/scp -P 22 -i {root}/id -o 'StrictHostKeyChecking no' -r "
           "-oProxyCommand=x root@10.0.0.5:/root"
        << QStringList {"-P", "22", "-i", "{root}/id", "-o", "StrictHostKeyChecking no", "-r", "--",
               "-oProxyCommand=x", "root@10.0.0.5:/root"};
    QTest::newRow("file name with a colon")
        << "{root}/bin"
        << "{root}/id"
        << "10.0.0.5" << Options << "log 12:30.txt"
        << "/root"
        << "{root}/bin/scp -P 22 -i {root}/id -o 'StrictHostKeyChecking no' -r "
           "log 12:30.txt root@10.0.0.5:/root"
        << QStringList {"-P", "22", "-i", "{root}/id", "-o", "StrictHostKeyChecking no", "-r", "--",
               "./log 12:30.txt", "root@10.0.0.5:/root"};
    QTest::newRow("IPv6 address")
        << "{root}/bin"
        << "{root}/id"
        << "fe80::1" << Options << "a.txt"
        << "/root"
        << "{root}/bin/scp -P 22 -i {root}/id -o 'StrictHostKeyChecking no' -r "
           "a.txt root@fe80::1:/root"
        << QStringList {"-P", "22", "-i", "{root}/id", "-o", "StrictHostKeyChecking no", "-r", "--",
               "a.txt", "root@[fe80::1]:/root"};
    QTest::newRow("no options") << "{root}/bin"
                                << "{root}/id"
                                << "10.0.0.5" << QString() << "a.txt"
                                << "/root"
                                << "{root}/bin/scp -P 22 -i {root}/id -r a.txt root@10.0.0.5:/root"
                                << QStringList {"-P", "22", "-i", "{root}/id", "-r", "--", "a.txt",
                                       "root@10.0.0.5:/root"};
    QTest::newRow("empty options")
        << "{root}/bin"
        << "{root}/id"
        << "10.0.0.5" << QString("") << "a.txt"
        << "/root"
        << "{root}/bin/scp -P 22 -i {root}/id  -r a.txt root@10.0.0.5:/root"
        << QStringList {"-P", "22", "-i", "{root}/id", "-r", "--", "a.txt", "root@10.0.0.5:/root"};
}

void TestOpenSshRun::scpLine()
{
    QFETCH(QString, folder);
    QFETCH(QString, idFile);
    QFETCH(QString, ip);
    QFETCH(QString, options);
    QFETCH(QString, source);
    QFETCH(QString, target);
    QFETCH(QString, line);
    QFETCH(QStringList, arguments);
    const QString base = root->path();
    folder = expand(folder, base);
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writeStandIn(folder, QStringLiteral("scp"), record));
    const QString workDir = root->filePath(QStringLiteral("work dir"));
    QVERIFY(QDir().mkpath(workDir));

    scp run(folder, ip, 22, QStringLiteral("root"), expand(idFile, base), options, workDir, source,
        target, false);
    QCOMPARE(run.commandLine, expand(line, base));
    QVERIFY(!QFile::exists(record)); // not started yet
    run.start();
    QCOMPARE(run.wait(), 0);

    const QList<StandInRun> runs = readRecord(record);
    QCOMPARE(runs.size(), 1);
    QCOMPARE(runs.at(0).program, QStringLiteral("scp"));
    QCOMPARE(runs.at(0).workingDirectory, workDir);
    QCOMPARE(runs.at(0).arguments, expand(arguments, base));
}

void TestOpenSshRun::missingProgram_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("secure");
    QTest::addColumn<QString>("line");
    QTest::newRow("ssh, no folder set")
        << "" << false
        << "/ssh -p 22 -i {root}/id  -o 'StrictHostKeyChecking no' root@10.0.0.5 uptime";
    QTest::newRow("ssh, folder without the program")
        << "{root}" << false
        << "{root}/ssh -p 22 -i {root}/id  -o 'StrictHostKeyChecking no' root@10.0.0.5 uptime";
    QTest::newRow("scp, no folder set")
        << "" << true
        << "/scp -P 22 -i {root}/id -o 'StrictHostKeyChecking no' -r a.txt root@10.0.0.5:/root";
    QTest::newRow("scp, folder without the program")
        << "{root}/nothing here" << true
        << "\"{root}/nothing here/scp\" -P 22 -i {root}/id -o 'StrictHostKeyChecking no' -r "
           "a.txt root@10.0.0.5:/root";
}

void TestOpenSshRun::missingProgram()
{
    QFETCH(QString, folder);
    QFETCH(bool, secure);
    QFETCH(QString, line);
    const QString base = root->path();
    const QString id = base + QStringLiteral("/id");
    std::unique_ptr<openSshRun> run;
    if (secure)
        run = std::make_unique<scp>(expand(folder, base), QStringLiteral("10.0.0.5"), 22,
            QStringLiteral("root"), id, Options, base, QStringLiteral("a.txt"),
            QStringLiteral("/root"), false);
    else
        run = std::make_unique<ssh>(expand(folder, base), QStringLiteral("10.0.0.5"), 22,
            QStringLiteral("root"), id, QStringLiteral("uptime"), Options, true);
    QCOMPARE(run->commandLine, expand(line, base));
    QVERIFY(run->done);
    QCOMPARE(run->result, openSshRun::ProgramMissing);
    QCOMPARE(run->start(), openSshRun::ProgramMissing);
    QCOMPARE(run->wait(), openSshRun::ProgramMissing);
    QCOMPARE(run->process->state(), QProcess::NotRunning);
    QCOMPARE(run->process->processId(), 0);
}

void TestOpenSshRun::output_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("shown"); // all chunks shown, one after the other
    QTest::addColumn<QString>("outText");
    QTest::addColumn<QString>("errText");
    QTest::newRow("line ends removed for the log")
        << QByteArray("printf '56\\r\\n78'\n") << QString("5678") << "56\r\n78"
        << "";
    QTest::newRow("standard error")
        << QByteArray("printf 'Permission denied\\n' >&2\n") << QString("Permission denied") << ""
        << "Permission denied\n";
    QTest::newRow("UTF-8 text") << QByteArray(
        "printf 'Za\\305\\274\\303\\263\\305\\202\\304\\207\\n'\n")
                                << QString::fromUtf8("Zażółć") << QString::fromUtf8("Zażółć\n")
                                << "";
    QTest::newRow("a character split between two writes")
        << QByteArray("printf '\\305'; printf '\\274\\n'\n") << QString::fromUtf8("ż")
        << QString::fromUtf8("ż\n") << "";
    QTest::newRow("silent program") << QByteArray("exit 0\n") << QString() << ""
                                    << "";
}

void TestOpenSshRun::output()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, shown);
    QFETCH(QString, outText);
    QFETCH(QString, errText);
    QVERIFY(writeStandIn(root->path(), QStringLiteral("ssh"), record, body));
    ssh run(root->path(), QStringLiteral("10.0.0.5"), 22, QStringLiteral("root"), QString(),
        QStringLiteral("uptime"), Options, false);
    QSignalSpy spy(&run, &openSshRun::updateLog);
    run.start();
    QCOMPARE(run.wait(), 0);
    QString texts;
    for (const QList<QVariant> &signal : spy)
        texts += signal.at(0).toString();
    QCOMPARE(texts, shown);
    QCOMPARE(run.outText, outText);
    QCOMPARE(run.errText, errText);
}

void TestOpenSshRun::exitCode_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("result");
    QTest::newRow("success") << QByteArray("exit 0\n") << 0;
    QTest::newRow("failure passed through") << QByteArray("exit 3\n") << 3;
    QTest::newRow("connection refused") << QByteArray("exit 255\n") << 255;
    QTest::newRow("killed by a signal") << QByteArray("kill -9 $$\n") << -1;
}

void TestOpenSshRun::exitCode()
{
    QFETCH(QByteArray, body);
    QFETCH(int, result);
    QVERIFY(writeStandIn(root->path(), QStringLiteral("scp"), record, body));
    scp run(root->path(), QStringLiteral("10.0.0.5"), 22, QStringLiteral("root"), QString(),
        Options, root->path(), QStringLiteral("a.txt"), QStringLiteral("/root"), false);
    run.start();
    QCOMPARE(run.wait(), result);
    QCOMPARE(run.result, result);
    QVERIFY(run.done);
}

void TestOpenSshRun::programThatCannotStart()
{
    // The program file exists but is not executable: the run ends and says why.
    QFile file(root->filePath(QStringLiteral("ssh")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a program\n");
    file.close();
    QVERIFY(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    ssh run(root->path(), QStringLiteral("10.0.0.5"), 22, QStringLiteral("root"), QString(),
        QStringLiteral("uptime"), Options, false);
    QCOMPARE(run.result, 0);
    QSignalSpy spy(&run, &openSshRun::updateLog);
    run.start();
    QCOMPARE(run.wait(), openSshRun::ProgramFailed);
    QCOMPARE(spy.size(), 1);
    QVERIFY(spy.at(0).at(0).toString().startsWith(root->filePath(QStringLiteral("ssh")) + ": "));
}

void TestOpenSshRun::timeout()
{
    QVERIFY(writeStandIn(root->path(), QStringLiteral("ssh"), record, "exec sleep 3600\n"));
    ssh run(root->path(), QStringLiteral("10.0.0.5"), 22, QStringLiteral("root"), QString(),
        QStringLiteral("uptime"), Options, false);
    run.timeoutMs = 200;
    run.start();
    QCOMPARE(run.wait(), openSshRun::TimedOut);
    QVERIFY(run.process->waitForFinished(60000));
    QCOMPARE(run.result, openSshRun::TimedOut); // the late end report changes nothing
}

void TestOpenSshRun::waitBeforeStart()
{
    QVERIFY(writeStandIn(root->path(), QStringLiteral("scp"), record));
    scp run(root->path(), QStringLiteral("10.0.0.5"), 22, QStringLiteral("root"), QString(),
        Options, root->path(), QStringLiteral("a.txt"), QStringLiteral("/root"), false);
    QCOMPARE(run.wait(), 0);
    QVERIFY(!run.done);
    QVERIFY(!QFile::exists(record));
}

void TestOpenSshRun::inputIsClosed()
{
    // A remote command that reads its input ends instead of waiting for ever.
    QVERIFY(writeStandIn(root->path(), QStringLiteral("ssh"), record, "cat\necho read all\n"));
    ssh run(root->path(), QStringLiteral("10.0.0.5"), 22, QStringLiteral("root"), QString(),
        QStringLiteral("cat"), Options, true);
    QCOMPARE(run.wait(), 0);
    QCOMPARE(run.outText, QStringLiteral("read all\n"));
}

QTEST_MAIN(TestOpenSshRun)
#include "tst_opensshrun.moc"
