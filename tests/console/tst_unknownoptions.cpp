#include "devsim.h"
#include "programrun.h"

#include <QtTest>

// Every console program refuses an argument that begins with "--" and that it
// does not know, unless it stands where the option before it takes its value:
// a mistyped option must never leave a run that did nothing looking like a
// success. Nothing is sent, listed or written then.
class tst_unknownOptions : public QObject
{
    Q_OBJECT

private slots:
    void refused_data();
    void refused();
    void takenAsValue_data();
    void takenAsValue();
};

namespace {

const QByteArray invalid = "Invalid parameters:\n";

// Replaces TCPPORT, PTY and DIR in the arguments.
QStringList withPlaces(QStringList arguments, const DevSim &sim, const QString &directory)
{
    for (QString &argument : arguments) {
        if (argument == QLatin1String("TCPPORT"))
            argument = QString::number(sim.tcpPort());
        else if (argument == QLatin1String("PTY"))
            argument = sim.ptyPath();
        argument.replace(QLatin1String("DIR"), directory);
    }
    return arguments;
}

bool startFor(DevSim &sim, const QStringList &arguments)
{
    if (arguments.contains(QLatin1String("TCPPORT")))
        return sim.startTcp();
    if (arguments.contains(QLatin1String("PTY")))
        return sim.startRtu();
    return true;
}

} // namespace

void tst_unknownOptions::refused_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("error");

    const QStringList tcp {"--ip", "127.0.0.1", "--port", "TCPPORT"};
    QTest::newRow("register driver: a typed write mistyped")
        << "qelDrvModbus" << tcp + QStringList {"--write_u61", "5", "--data", "3"}
        << invalid + " Unknown option: --write_u61\n";
    QTest::newRow("register driver: each one named, help or not")
        << "qelDrvModbus"
        << tcp + QStringList {"--read_u16", "0", "--Help", "--help", "--verbos", "1"}
        << invalid + " Unknown option: --Help\n Unknown option: --verbos\n";
    QTest::newRow("register driver: no other option known")
        << "qelDrvModbus" << QStringList {"--Help"} << invalid + " Unknown option: --Help\n";
    QTest::newRow("macro driver") << "qelDrvMacro"
                                  << tcp
            + QStringList {"--macro", "FD_MACRO_LOGOUT", "--param", "", "--adress", "1"}
                                  << invalid + " Unknown option: --adress\n";
    QTest::newRow("macro driver: no other option known")
        << "qelDrvMacro" << QStringList {"--Macro", "FD_MACRO_LOGOUT"}
        << invalid + " Unknown option: --Macro\n";
    QTest::newRow("scanner: after a flag")
        << "qelDrvScan" << QStringList {"--port", "PTY", "--parallel", "--timout", "50"}
        << invalid + " Unknown option: --timout\n";
    QTest::newRow("monitor: help or not, before the CSV file or the line")
        << "qelDrvMonitor"
        << QStringList {"--port", "PTY", "--help", "--csv", "DIR/bus.csv", "--hex", "--verbos"}
        << invalid + " Unknown option: --verbos\n";
    QTest::newRow("port lister: it takes none") << "qelDrvPorts" << QStringList {"--names", "USB"}
                                                << invalid + " Unknown option: --names\n";
    QTest::newRow("port lister: not even help")
        << "qelDrvPorts" << QStringList {"--help"} << invalid + " Unknown option: --help\n";
    QTest::newRow("workbook writer") << "qelExelWr"
                                     << QStringList {"--db", "DIR/none.sqlite", "--save",
                                            "DIR/out.xlsx", "--type", "units", "--overwrite"}
                                     << invalid + " Unknown option: --overwrite\n";
    QTest::newRow("workbook reader") << "qelExelRd"
                                     << QStringList {"--db", "DIR/none.sqlite", "--load",
                                            "DIR/in.xlsx", "--type", "units", "--", "x"}
                                     << invalid + " Unknown option: --\n";
}

void tst_unknownOptions::refused()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, error);
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    DevSim sim;
    QVERIFY2(startFor(sim, arguments), qPrintable(sim.startError()));

    const ProgramResult result
        = runProgram(programPath(program), withPlaces(arguments, sim, directory.path()));
    QVERIFY(result.finished);
    QCOMPARE(result.err, error);
    QCOMPARE(result.out, QByteArray());
    QCOMPARE(result.exitCode, ExitFailure);
    QCOMPARE(sim.requestLog(), QStringList());
    QCOMPARE(
        QDir(directory.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

void tst_unknownOptions::takenAsValue_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("error");

    const QStringList tcp {"--ip", "127.0.0.1", "--port", "TCPPORT"};
    QTest::newRow("register driver: the data of a write, checked as data")
        << "qelDrvModbus" << tcp + QStringList {"--write_u16", "0", "--data", "--5"} << ExitFailure
        << invalid + " --5 is not a number\n";
    QTest::newRow("macro driver: a parameter text, checked as one")
        << "qelDrvMacro" << tcp + QStringList {"--macro", "FD_MACRO_SET_SN", "--param", "--5"}
        << ExitFailure << QByteArray("Macro params error\n");
    QTest::newRow("scanner: a name that no port has")
        << "qelDrvScan" << QStringList {"--names", "--no-such-port"} << 0 << QByteArray();
    // The simulator takes every value as given and refuses what it does not
    // know with its own command-line status.
    QTest::newRow("simulator: an identification text")
        << "qelDevSim" << QStringList {"--id-text", "--x", "--colour", "red"} << 2
        << QByteArray("qelDevSim: unknown option \"--colour\"\n(see qelDevSim --help)\n");
}

void tst_unknownOptions::takenAsValue()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, error);
    DevSim sim;
    QVERIFY2(startFor(sim, arguments), qPrintable(sim.startError()));

    const ProgramResult result
        = runProgram(programPath(program), withPlaces(arguments, sim, QString()));
    QVERIFY(result.finished);
    QCOMPARE(result.err, error);
    QCOMPARE(result.exitCode, exitCode);
    QCOMPARE(sim.requestLog(), QStringList());
}

QTEST_GUILESS_MAIN(tst_unknownOptions)
#include "tst_unknownoptions.moc"
