// qelDrvPorts run on this machine: whatever ports it has, the report is laid
// out line by line and ends with "done." and status 0.

#include "programrun.h"

#include <QRegularExpression>
#include <QtTest>

class TestDrvPorts : public QObject
{
    Q_OBJECT

private slots:
    void listsThisMachine_data();
    void listsThisMachine();
};

void TestDrvPorts::listsThisMachine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("no options") << QStringList();
    QTest::newRow("arguments that name no option are not read") << QStringList {"-h", "port", "x"};
}

void TestDrvPorts::listsThisMachine()
{
    QFETCH(QStringList, arguments);
    const ProgramResult result = runProgram(programPath("qelDrvPorts"), arguments);
    QVERIFY(result.started);
    QVERIFY(result.finished);
    QVERIFY(!result.crashed);
    QCOMPARE(result.exitCode, 0);

    const QString out = QString::fromUtf8(result.out);
    QVERIFY2(out.endsWith("\r\n"), qPrintable(out));
    QStringList lines = out.split("\r\n");
    lines.removeLast();
    QVERIFY2(lines.size() >= 3, qPrintable(out));
    QCOMPARE(lines.first(), QString("Ports ..."));
    QCOMPARE(lines.last(), QString("done."));

    const QStringList middle = lines.mid(1, lines.size() - 2);
    static const QRegularExpression portLine(
        R"(^  (\S+) \[[^\]]*\] \[[^\]]*\] \[[^\]]*\] \[[^\]]*\] (\[ !!! BUSY !!! \])?$)");
    if (middle == QStringList {"no available ports in the system"})
        return;
    QStringList names;
    for (const QString &line : middle) {
        const QRegularExpressionMatch match = portLine.match(line);
        QVERIFY2(match.hasMatch(), qPrintable(line));
        names.append(match.captured(1));
    }
    QStringList sorted = names;
    std::sort(sorted.begin(), sorted.end());
    QCOMPARE(names, sorted);
}

QTEST_GUILESS_MAIN(TestDrvPorts)
#include "tst_drvports.moc"
