// Finding the files of an installed tool set: programs among folders in their
// order, installed translation files before the compiled-in ones.
#include "installedfiles.h"

#include <QtTest>

class TestInstalledFiles : public QObject
{
    Q_OBJECT

private slots:
    void programInFolders_data();
    void programInFolders();
    void translationFiles_data();
    void translationFiles();
};

void TestInstalledFiles::programInFolders_data()
{
    QTest::addColumn<QString>("present"); // folders a, b, c that hold the program
    QTest::addColumn<QString>("found");

    QTest::newRow("first folder wins") << "abc"
                                       << "a";
    QTest::newRow("second when the first lacks it") << "bc"
                                                    << "b";
    QTest::newRow("installed folder last") << "c"
                                           << "c";
    QTest::newRow("nowhere: the first folder's name") << ""
                                                      << "a";
}

void TestInstalledFiles::programInFolders()
{
    QFETCH(QString, present);
    QFETCH(QString, found);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    QStringList folders;
    for (const QString folder : {"a", "b", "c"}) {
        QVERIFY(QDir(root.path()).mkpath(folder));
        folders << root.filePath(folder);
        if (present.contains(folder)) {
            QFile program(root.filePath(folder + "/qelDrvModbus"));
            QVERIFY(program.open(QIODevice::WriteOnly));
        } else {
            // A folder of the program's name is not the program.
            QVERIFY(QDir(root.path()).mkpath(folder + "/qelDrvModbus"));
        }
    }
    QCOMPARE(::programInFolders("qelDrvModbus", folders), root.filePath(found + "/qelDrvModbus"));
}

void TestInstalledFiles::translationFiles_data()
{
    QTest::addColumn<bool>("installed");

    QTest::newRow("installed file first, compiled in after it") << true;
    QTest::newRow("none installed: compiled in only") << false;
}

void TestInstalledFiles::translationFiles()
{
    QFETCH(bool, installed);
    QTemporaryDir dataFolder;
    QVERIFY(dataFolder.isValid());
    QVERIFY(QDir(dataFolder.path()).mkpath("translations"));
    const QString file = dataFolder.filePath("translations/qelWinModbusClient_pl.qm");
    if (installed) {
        QFile qm(file);
        QVERIFY(qm.open(QIODevice::WriteOnly));
    }
    QStringList expected {":/file/qelWinModbusClient_pl.qm"};
    if (installed)
        expected.prepend(file);
    QCOMPARE(::translationFiles("qelWinModbusClient_pl", dataFolder.path()), expected);
}

QTEST_GUILESS_MAIN(TestInstalledFiles)
#include "tst_installedfiles.moc"
