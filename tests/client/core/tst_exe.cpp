#include "exe.h"

#include "childprocess.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

// The child-process runner against small stand-in programs.
class tst_exe : public QObject
{
    Q_OBJECT

private:
    static QString standin(const QString &name)
    {
        return QDir(QStringLiteral(QEL_STANDIN_DIR)).filePath(name);
    }

private slots:
    void outputChunks_data();
    void outputChunks();
    void splitCharacter();
    void exitCodes_data();
    void exitCodes();
    void crashIsNoSuccess();
    void silenceTimesOut();
    void outputRearmsTimeout();
    void missingProgram_data();
    void missingProgram();
    void childStartsClean();
    void programQuoting_data();
    void programQuoting();
    void pathWithBlanks();
    void argumentsReachChild_data();
    void argumentsReachChild();
    void destroyWhileRunning();
    void inputPipe();
};

void tst_exe::outputChunks_data()
{
    QTest::addColumn<QString>("outFormat");
    QTest::addColumn<QString>("errFormat");
    QTest::addColumn<QString>("outText");
    QTest::addColumn<QString>("errText");
    QTest::addColumn<QString>("display");

    QTest::newRow("line ends removed from display") << "56\\r\\n78"
                                                    << ""
                                                    << "56\r\n78"
                                                    << ""
                                                    << "5678";
    QTest::newRow("value with line end") << "4567\\n"
                                         << ""
                                         << "4567\n"
                                         << ""
                                         << "4567";
    QTest::newRow("standard error apart") << "out\\n"
                                          << "err\\r\\n"
                                          << "out\n"
                                          << "err\r\n"
                                          << "outerr";
    QTest::newRow("utf-8 text") << "zażółć\\n"
                                << "" << QString::fromUtf8("zażółć\n") << ""
                                << QString::fromUtf8("zażółć");
    QTest::newRow("nothing") << ""
                             << ""
                             << ""
                             << ""
                             << "";
}

void tst_exe::outputChunks()
{
    QFETCH(QString, outFormat);
    QFETCH(QString, errFormat);
    QFETCH(QString, outText);
    QFETCH(QString, errText);
    QFETCH(QString, display);

    QStringList arguments {outFormat};
    if (!errFormat.isEmpty())
        arguments << errFormat;
    AppExe::exe runner(standin(QStringLiteral("chunks.sh")), arguments, false, 2000);
    QSignalSpy chunks(&runner, &AppExe::exe::updateLog);
    QCOMPARE(runner.start(), 0);
    QCOMPARE(runner.wait(), 0);

    QCOMPARE(runner.outText, outText);
    QCOMPARE(runner.errText, errText);
    QString shown;
    for (const QList<QVariant> &chunk : qAsConst(chunks)) {
        const QString piece = chunk.at(0).toString();
        QVERIFY(!piece.contains(QLatin1Char('\r')) && !piece.contains(QLatin1Char('\n')));
        shown += piece;
    }
    // Standard output and standard error may arrive in either order.
    if (errFormat.isEmpty()) {
        QCOMPARE(shown, display);
    } else {
        std::sort(shown.begin(), shown.end());
        std::sort(display.begin(), display.end());
        QCOMPARE(shown, display);
    }
    QVERIFY(runner.done);
}

void tst_exe::splitCharacter()
{
    // A letter whose two bytes arrive in separate chunks is decoded whole.
    AppExe::exe runner(standin(QStringLiteral("splitchar.sh")), {}, true, 5000);
    QCOMPARE(runner.wait(), 0);
    QCOMPARE(runner.outText, QString::fromUtf8("ałb\n"));
}

void tst_exe::exitCodes_data()
{
    QTest::addColumn<int>("code");
    QTest::newRow("success") << 0;
    QTest::newRow("one") << 1;
    QTest::newRow("three") << 3;
    QTest::newRow("driver failure -1") << 255;
}

void tst_exe::exitCodes()
{
    QFETCH(int, code);
    AppExe::exe runner(standin(QStringLiteral("exitcode.sh")), {QString::number(code)}, true, 2000);
    QSignalSpy complete(&runner, &AppExe::exe::complete);
    QSignalSpy timedOut(&runner, &AppExe::exe::timeout);
    QCOMPARE(runner.wait(), code);
    QCOMPARE(runner.result, code);
    QCOMPARE(complete.count(), 1);
    QCOMPARE(complete.at(0).at(0).toInt(), code);
    QCOMPARE(timedOut.count(), 0);
    QCOMPARE(runner.outText, QStringLiteral("ending with %1\n").arg(code));
}

void tst_exe::crashIsNoSuccess()
{
    AppExe::exe runner(standin(QStringLiteral("crash.sh")), {}, true, 2000);
    QVERIFY(runner.wait() != 0);
    QCOMPARE(runner.signal, SIGKILL);
}

void tst_exe::silenceTimesOut()
{
    AppExe::exe runner(standin(QStringLiteral("silent.sh")), {}, true, 2000);
    QSignalSpy timedOut(&runner, &AppExe::exe::timeout);
    QSignalSpy complete(&runner, &AppExe::exe::complete);
    QCOMPARE(runner.wait(), -1003);
    QCOMPARE(timedOut.count(), 1);
    QCOMPARE(timedOut.at(0).at(0).toInt(), -1003);
    QCOMPARE(complete.count(), 0);
    // The killed program's late end report changes nothing.
    QTRY_VERIFY_WITH_TIMEOUT(!runner.process->isRunning(), 10000);
    QCoreApplication::processEvents();
    QCOMPARE(runner.result, -1003);
    QCOMPARE(complete.count(), 0);
}

void tst_exe::outputRearmsTimeout()
{
    // Ten seconds of work with a line every second: never 2 s of silence.
    AppExe::exe runner(standin(QStringLiteral("ticker.sh")), {QStringLiteral("10")}, true, 2000);
    QCOMPARE(runner.wait(), 0);
    QCOMPARE(runner.outText.count(QStringLiteral("tick")), 10);
}

void tst_exe::missingProgram_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<int>("timeoutMs");
    QTest::addColumn<QString>("error");
    QTest::newRow("missing, with time-out") << "missing" << 2000 << "No such file or directory";
    QTest::newRow("missing, time-out off") << "missing" << 0 << "No such file or directory";
    QTest::newRow("not executable") << "plain file" << 2000 << "Permission denied";
    QTest::newRow("a folder") << "folder" << 2000 << "Permission denied";
}

// A program that cannot be started ends the run at once, with the system's
// reason, whether the time-out is on or off.
void tst_exe::missingProgram()
{
    QFETCH(QString, which);
    QFETCH(int, timeoutMs);
    QFETCH(QString, error);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString program = standin(QStringLiteral("no-such-driver"));
    if (which == QLatin1String("plain file")) {
        program = dir.filePath(QStringLiteral("qelDrvModbus"));
        QVERIFY(QFile::copy(standin(QStringLiteral("exitcode.sh")), program));
        QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner));
    } else if (which == QLatin1String("folder")) {
        program = dir.path();
    }
    AppExe::exe runner(program, {QStringLiteral("--help")}, true, timeoutMs);
    QSignalSpy timedOut(&runner, &AppExe::exe::timeout);
    QCOMPARE(runner.wait(), -1003);
    QCOMPARE(timedOut.count(), 1);
    QCOMPARE(runner.startError, error);
    QVERIFY(runner.outText.isEmpty());
    QVERIFY(!runner.process->isRunning());
}

// The child starts with an empty standard input, no signal ignored or
// blocked whatever the client ignores or blocks, and everything it wrote
// before its end arrives, more than a pipe holds included.
void tst_exe::childStartsClean()
{
    struct sigaction ignore
    {
    }, before {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &before);
    sigset_t blocked, mask;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &blocked, &mask);
    AppExe::exe runner(
        standin(QStringLiteral("environment.sh")), {QStringLiteral("300000")}, true, 2000);
    const int code = runner.wait();
    sigaction(SIGPIPE, &before, nullptr);
    pthread_sigmask(SIG_SETMASK, &mask, nullptr);
    QCOMPARE(code, 0);
    const QStringList lines = runner.outText.split(QLatin1Char('\n'));
    QCOMPARE(lines.value(0), QStringLiteral("input []"));
    QCOMPARE(lines.value(1).size(), 300000);
    QCOMPARE(lines.value(1).count(QLatin1Char('x')), 300000);
    // Of the signals a program meets (1 to 31): the C library keeps its own
    // real-time ones above them ignored until a program sets them up.
    const auto standardSignals = [](const QString &line) {
        return line.section(QLatin1Char('\t'), 1).toULongLong(nullptr, 16) & 0x7fffffffULL;
    };
    QVERIFY2(lines.value(2).startsWith("SigBlk:"), qPrintable(lines.value(2)));
    QCOMPARE(standardSignals(lines.value(2)), 0ULL);
    QVERIFY2(lines.value(3).startsWith("SigIgn:"), qPrintable(lines.value(3)));
    QCOMPARE(standardSignals(lines.value(3)), 0ULL);
    QCOMPARE(runner.errText, QStringLiteral("done\n"));
}

void tst_exe::programQuoting_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("program");

    const QString cwd = QDir::currentPath();
    QTest::newRow("plain") << "/opt/qel/qelDrvModbus"
                           << "/opt/qel/qelDrvModbus";
    QTest::newRow("folder with blank") << "/opt/my tools/qelDrvModbus"
                                       << "\"/opt/my tools/qelDrvModbus\"";
    QTest::newRow("relative") << "qelDrvMacro" << cwd + "/qelDrvMacro";
    QTest::newRow("relative with blank") << "drivers x/qelDrvMacro"
                                         << "\"" + cwd + "/drivers x/qelDrvMacro\"";
}

void tst_exe::programQuoting()
{
    QFETCH(QString, name);
    QFETCH(QString, program);
    AppExe::exe runner(name, {QStringLiteral("--read_u16"), QStringLiteral("100")}, false, 2000);
    QCOMPARE(runner.program, program);
    QVERIFY(!runner.done);
    QCOMPARE(runner.result, 0);
    runner.start();
    QCOMPARE(runner.commandLine, program + QStringLiteral(" --read_u16 100"));
    QCOMPARE(runner.wait(), -1003);
}

void tst_exe::pathWithBlanks()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("driver folder")));
    const QString copy = dir.filePath(QStringLiteral("driver folder/exit code.sh"));
    QVERIFY(QFile::copy(standin(QStringLiteral("exitcode.sh")), copy));
    QVERIFY(QFile::setPermissions(copy, QFile::ReadOwner | QFile::ExeOwner));

    AppExe::exe runner(copy, {QStringLiteral("7")}, true, 2000);
    QVERIFY(runner.program.startsWith(QLatin1Char('"')) && runner.program.endsWith('"'));
    QCOMPARE(runner.wait(), 7);
    QCOMPARE(runner.outText, QStringLiteral("ending with 7\n"));
}

void tst_exe::argumentsReachChild_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("received");
    QTest::addColumn<QString>("shown"); // the command line's arguments

    QTest::newRow("read over serial line")
        << QStringList {"--address", "1", "--port", "\\\\.\\COM3", "--baudrate", "115200",
               "--read_u16", "100"}
        << "[--address]\n[1]\n[--port]\n[\\\\.\\COM3]\n[--baudrate]\n[115200]\n[--read_u16]\n["
           "100]\n"
        << "--address 1 --port \\\\.\\COM3 --baudrate 115200 --read_u16 100";
    QTest::newRow("macro parameters with blanks")
        << QStringList {"--address", "1", "--ip", "127.0.0.1", "--port", "1502", "--macro",
               "FD_MACRO_SET_IP_ADDRESS", "--param", "0 192 168 1 10"}
        << "[--address]\n[1]\n[--ip]\n[127.0.0.1]\n[--port]\n[1502]\n[--macro]\n[FD_MACRO_SET_IP_"
           "ADDRESS]\n[--param]\n[0 192 168 1 10]\n"
        << "--address 1 --ip 127.0.0.1 --port 1502 --macro FD_MACRO_SET_IP_ADDRESS --param \"0 192 "
           "168 1 10\"";
    QTest::newRow("empty parameter") << QStringList {"--macro", "FD_MACRO_LOGOUT", "--param", ""}
                                     << "[--macro]\n[FD_MACRO_LOGOUT]\n[--param]\n[]\n"
                                     << "--macro FD_MACRO_LOGOUT --param \"\"";
    QTest::newRow("negative value") << QStringList {"--write_s16", "10", "--data", "-32768"}
                                    << "[--write_s16]\n[10]\n[--data]\n[-32768]\n"
                                    << "--write_s16 10 --data -32768";
    QTest::newRow("verbose last") << QStringList {"--read_f32", "32768", "--verbose", "1"}
                                  << "[--read_f32]\n[32768]\n[--verbose]\n[1]\n"
                                  << "--read_f32 32768 --verbose 1";
    // Whatever an argument holds reaches the program as it is.
    QTest::newRow("quotes and blanks")
        << QStringList {"1\" --ip \"10.0.0.9", "a  b"} << "[1\" --ip \"10.0.0.9]\n[a  b]\n"
        << "\"1\" --ip \"10.0.0.9\" \"a  b\"";
}

void tst_exe::argumentsReachChild()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, received);
    QFETCH(QString, shown);
    const QString program = standin(QStringLiteral("argdump.sh"));
    AppExe::exe runner(program, arguments, true, 2000);
    QCOMPARE(runner.wait(), 0);
    QCOMPARE(runner.outText, received);
    QCOMPARE(runner.arguments, arguments);
    QCOMPARE(runner.commandLine, runner.program + QLatin1Char(' ') + shown);
}

void tst_exe::destroyWhileRunning()
{
    // The destructor ends a program that is still running.
    qint64 pid = 0;
    {
        AppExe::exe runner(standin(QStringLiteral("silent.sh")), {}, true, 2000);
        QVERIFY(runner.process->isRunning());
        pid = runner.process->processId();
        QVERIFY(pid > 0);
    }
    // Killed and reaped: no process entry is left behind.
    QVERIFY(!QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid)));
}

// A child with an input pipe reads what is written, reads its end once the
// input is closed, and one that no longer reads makes a write fail without
// SIGPIPE (which would end this test).
void tst_exe::inputPipe()
{
    childProcess child;
    child.setInputPipe(true);
    QByteArray out;
    int code = -1;
    bool ended = false;
    connect(&child, &childProcess::readyReadStandardOutput, this,
        [&]() { out += child.readAllStandardOutput(); });
    connect(&child, &childProcess::finished, this, [&](int exitCode, bool) {
        code = exitCode;
        ended = true;
    });
    QVERIFY(child.start(QStringLiteral("/bin/sh"),
        {"-c", "read line; echo \"got $line\"; cat >/dev/null; echo end; exit 3"}));
    QVERIFY(child.write("hello\n"));
    QTRY_COMPARE_WITH_TIMEOUT(out, QByteArray("got hello\n"), 10000);
    QVERIFY(!ended);
    child.closeInput();
    QTRY_VERIFY_WITH_TIMEOUT(ended, 10000);
    QCOMPARE(code, 3);
    QCOMPARE(out, QByteArray("got hello\nend\n"));
    QVERIFY(!child.write("late\n"));

    childProcess deaf;
    deaf.setInputPipe(true);
    QByteArray ready;
    connect(&deaf, &childProcess::readyReadStandardOutput, this,
        [&]() { ready += deaf.readAllStandardOutput(); });
    QVERIFY(deaf.start(QStringLiteral("/bin/sh"), {"-c", "exec 0<&-; echo closed; exec sleep 60"}));
    QTRY_COMPARE_WITH_TIMEOUT(ready, QByteArray("closed\n"), 10000);
    QVERIFY(!deaf.write("nobody reads this\n"));
    QVERIFY(deaf.isRunning());
}

QTEST_GUILESS_MAIN(tst_exe)
#include "tst_exe.moc"
