// The command prompt of qelApps: the command text with the directory quoted,
// checked by running it through the shell, and the choice of the terminal.
#include "scriptfile.h"
#include "terminalcommand.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Sets PATH for the life of the object.
class PathGuard
{
public:
    explicit PathGuard(const QString &path)
        : saved(qgetenv("PATH"))
    {
        qputenv("PATH", path.toLocal8Bit());
    }
    ~PathGuard() { qputenv("PATH", saved); }

private:
    QByteArray saved;
};

} // namespace

class TestTerminalCommand : public QObject
{
    Q_OBJECT
private slots:
    void text_data();
    void text();
    void program_data();
    void program();
    void runWaitsForTerminal();
    void runWithoutTerminal();
};

void TestTerminalCommand::text_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("quoted");
    QTest::newRow("plain") << "bin"
                           << "bin";
    QTest::newRow("blank") << "Program Files"
                           << "Program Files";
    QTest::newRow("single quote") << "it's here"
                                  << "it'\\''s here";
    QTest::newRow("shell characters") << "a;b && $HOME `id` \"x\""
                                      << "a;b && $HOME `id` \"x\"";
    QTest::newRow("leading dash") << "-rf"
                                  << "-rf";
    QTest::newRow("backslash") << "a\\b"
                               << "a\\b";
}

void TestTerminalCommand::text()
{
    QFETCH(QString, name);
    QFETCH(QString, quoted);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString directory = root.filePath(name);
    QVERIFY(QDir().mkpath(directory));
    QFile marker(directory + QStringLiteral("/marker.txt"));
    QVERIFY(marker.open(QIODevice::WriteOnly));
    marker.close();

    const TerminalCommand command = terminalCommand(directory);
    QCOMPARE(command.text,
        QStringLiteral("cd -- '%1/%2' && ls -l; exec \"${SHELL:-/bin/sh}\"")
            .arg(root.path(), quoted));
    QCOMPARE(command.arguments, QStringList({"-e", "/bin/sh", "-c", command.text}));
    QCOMPARE(command.workingDirectory, directory);

    // The shell lists the directory and then, as its "shell", prints where it is.
    QProcess shell;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("SHELL"), QStringLiteral("/bin/pwd"));
    shell.setProcessEnvironment(environment);
    shell.setWorkingDirectory(root.path());
    shell.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command.text});
    QVERIFY(shell.waitForFinished(60000));
    QCOMPARE(shell.exitCode(), 0);
    const QStringList lines = QString::fromLocal8Bit(shell.readAllStandardOutput())
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY2(!lines.isEmpty(), shell.readAllStandardError().constData());
    QVERIFY2(lines.filter(QStringLiteral("marker.txt")).size() == 1,
        qPrintable(lines.join(QLatin1Char('|'))));
    QCOMPARE(lines.last(), directory);
}

void TestTerminalCommand::program_data()
{
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("both") << QStringList {"x-terminal-emulator", "xterm"} << "x-terminal-emulator";
    QTest::newRow("only the alternative")
        << QStringList {"x-terminal-emulator"} << "x-terminal-emulator";
    QTest::newRow("xterm as fallback") << QStringList {"xterm"} << "xterm";
    QTest::newRow("none") << QStringList {} << "";
}

void TestTerminalCommand::program()
{
    QFETCH(QStringList, present);
    QFETCH(QString, chosen);
    QTemporaryDir bin;
    QVERIFY(bin.isValid());
    for (const QString &name : present)
        QVERIFY(writeScript(bin.filePath(name), "exit 0\n"));
    const PathGuard path(bin.path());

    const TerminalCommand command = terminalCommand(QStringLiteral("/opt/qel/bin"));
    QCOMPARE(command.program, chosen.isEmpty() ? QString() : bin.filePath(chosen));
}

void TestTerminalCommand::runWaitsForTerminal()
{
    QTemporaryDir bin;
    QVERIFY(bin.isValid());
    const QString record = bin.filePath(QStringLiteral("record"));
    // The stand-in terminal writes its arguments and where it runs, and marks
    // its end as its very last act.
    QVERIFY(writeScript(bin.filePath(QStringLiteral("x-terminal-emulator")),
        "{ pwd; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > '" + record.toLocal8Bit()
            + "'\necho closed >> '" + record.toLocal8Bit() + "'\n"));
    const PathGuard path(bin.path());
    const QString directory = bin.filePath(QStringLiteral("the programs"));
    QVERIFY(QDir().mkpath(directory));

    const TerminalCommand command = terminalCommand(directory);
    QVERIFY(runTerminal(command));
    QFile file(record);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromLocal8Bit(file.readAll()).split(QLatin1Char('\n'));
    QCOMPARE(lines, QStringList({directory, "-e", "/bin/sh", "-c", command.text, "closed", ""}));
}

void TestTerminalCommand::runWithoutTerminal()
{
    QTemporaryDir bin;
    QVERIFY(bin.isValid());
    const PathGuard path(bin.path());
    const TerminalCommand command = terminalCommand(QStringLiteral("/opt/qel/bin"));
    QVERIFY(command.program.isEmpty());
    QVERIFY(!runTerminal(command));
}

QTEST_GUILESS_MAIN(TestTerminalCommand)
#include "tst_terminalcommand.moc"
