// qelApps as the user starts it: from any working directory it opens the
// terminal in its own directory (quoted in the command) and ends only after the
// terminal has closed.
#include "programrun.h"
#include "scriptfile.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The stand-in terminal reports where it runs and its arguments, then stays
// open until a line arrives on its standard input, as a terminal stays open
// until the user closes it.
const QByteArray standIn = "printf 'cwd=%s\\n' \"$(pwd)\"\n"
                           "for a in \"$@\"; do printf 'arg=%s\\n' \"$a\"; done\n"
                           "echo ready\n"
                           "read -r line\n"
                           "echo \"closed $line\"\n";

} // namespace

class TestQelApps : public QObject
{
    Q_OBJECT
private slots:
    void opensTerminal_data();
    void opensTerminal();
    void withoutTerminal();
};

void TestQelApps::opensTerminal_data()
{
    QTest::addColumn<QString>("installDir");
    QTest::addColumn<QString>("terminal");
    QTest::addColumn<bool>("picture");
    QTest::newRow("plain folder") << "bin"
                                  << "x-terminal-emulator" << true;
    QTest::newRow("folder with blank and quote") << "Program Files/it's qel"
                                                 << "x-terminal-emulator" << true;
    QTest::newRow("xterm, no picture") << "my tools"
                                       << "xterm" << false;
}

void TestQelApps::opensTerminal()
{
    QFETCH(QString, installDir);
    QFETCH(QString, terminal);
    QFETCH(bool, picture);

    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString install = root.filePath(installDir);
    const QString work = root.filePath(QStringLiteral("work"));
    const QString bin = root.filePath(QStringLiteral("path"));
    QVERIFY(QDir().mkpath(install) && QDir().mkpath(work) && QDir().mkpath(bin));
    QVERIFY(QFile::copy(programPath(QStringLiteral("qelApps")), install + "/qelApps"));
    if (picture)
        QVERIFY(QFile::copy(programPath(QStringLiteral("startup.png")), work + "/startup.png"));
    QVERIFY(writeScript(bin + QLatin1Char('/') + terminal, standIn));

    QProcess launcher;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PATH"), bin);
    launcher.setProcessEnvironment(environment);
    launcher.setWorkingDirectory(work);
    launcher.start(install + QStringLiteral("/qelApps"), {});
    QVERIFY(launcher.waitForStarted(60000));

    QByteArray output;
    const QDeadlineTimer deadline(60000);
    while (!output.contains("ready\n") && !deadline.hasExpired()
        && launcher.waitForReadyRead(int(deadline.remainingTime())))
        output += launcher.readAllStandardOutput();
    QVERIFY2(output.contains("ready\n"), output.constData());

    // The terminal is open: the launcher is still waiting for it.
    QCOMPARE(launcher.state(), QProcess::Running);
    launcher.write("by user\n");
    QVERIFY(launcher.waitForFinished(60000));
    output += launcher.readAllStandardOutput();
    QCOMPARE(launcher.exitStatus(), QProcess::NormalExit);
    QCOMPARE(launcher.exitCode(), 0);

    const QString quotedInstall = QString(install).replace("'", "'\\''");
    const QString expected = QStringLiteral("cwd=%1\n"
                                            "arg=-e\n"
                                            "arg=/bin/sh\n"
                                            "arg=-c\n"
                                            "arg=cd -- '%2' && ls -l; exec \"${SHELL:-/bin/sh}\"\n"
                                            "ready\n"
                                            "closed by user\n")
                                 .arg(install, quotedInstall);
    QCOMPARE(QString::fromLocal8Bit(output), expected);
}

void TestQelApps::withoutTerminal()
{
    QTemporaryDir empty;
    QVERIFY(empty.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PATH"), empty.path());
    const ProgramResult run
        = runProgram(programPath(QStringLiteral("qelApps")), {}, 60000, {}, environment);
    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, 0);
    const QList<QByteArray> lines = run.err.split('\n');
    QVERIFY2(lines.contains("qelApps: no terminal found (x-terminal-emulator, xterm)"),
        run.err.constData());
}

QTEST_MAIN(TestQelApps)
#include "tst_qelapps.moc"
