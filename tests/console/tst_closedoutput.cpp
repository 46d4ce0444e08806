#include "devsim.h"
#include "programrun.h"

#include <QtTest>

// Every console program goes on to its own end when the reader of its
// standard output goes away (program ... | head): it ends with the status it
// has when its output is read, never by SIGPIPE half-way through its work.
class tst_closedOutput : public QObject
{
    Q_OBJECT

private slots:
    void endsWithItsOwnStatus_data();
    void endsWithItsOwnStatus();
};

void tst_closedOutput::endsWithItsOwnStatus_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("port list") << "qelDrvPorts" << QStringList();
    QTest::newRow("scan of a line") << "qelDrvScan"
                                    << QStringList {"--port", "PTY", "--address", "1", "--address",
                                           "2", "--baudrate", "115200", "--timeout", "500"};
    QTest::newRow("scanner help") << "qelDrvScan" << QStringList {"--help"};
    QTest::newRow("monitor of a line")
        << "qelDrvMonitor" << QStringList {"--port", "PTY", "--duration", "1"};
    QTest::newRow("monitor help") << "qelDrvMonitor" << QStringList {"--help"};
    QTest::newRow("macro driver help") << "qelDrvMacro" << QStringList {"--help"};
    QTest::newRow("simulator help") << "qelDevSim" << QStringList {"--help"};
    QTest::newRow("workbook reader help") << "qelExelRd" << QStringList {"--help"};
    QTest::newRow("workbook writer help") << "qelExelWr" << QStringList {"--help"};
}

void tst_closedOutput::endsWithItsOwnStatus()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    // A device on a pseudo-terminal for the scan.
    DevSim sim;
    if (arguments.contains("PTY")) {
        QVERIFY2(sim.startRtu(), qPrintable(sim.startError()));
        arguments.replace(arguments.indexOf("PTY"), sim.ptyPath());
    }
    const ProgramResult read = runProgram(programPath(program), arguments);
    QVERIFY(read.finished && !read.crashed);
    QVERIFY2(!read.out.isEmpty(), "the run prints nothing to lose");

    const ClosedOutputRun closed = runWithClosedOutput(programPath(program), arguments);
    QVERIFY(closed.started);
    QVERIFY2(closed.exited, qPrintable(QStringLiteral("signal %1").arg(closed.signal)));
    QCOMPARE(closed.exitCode, read.exitCode);
}

QTEST_GUILESS_MAIN(tst_closedOutput)
#include "tst_closedoutput.moc"
