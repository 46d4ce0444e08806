// qelDevSim's files: register images saved onto FIFOs and device nodes
// without replacing them, the system's reason when a file takes nothing,
// image files of any size read with bounded memory, names as the bytes given.

#include "devsim.h"
#include "filenames.h"
#include "filetargets.h"
#include "programrun.h"
#include "rawmaster.h"

#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

class TestDevSimFiles : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void dumpTargets_data();
    void dumpTargets();
    void oversizedImages_data();
    void oversizedImages();
    void notARegularImage_data();
    void notARegularImage();
    void namesAsGiven();
};

void TestDevSimFiles::initTestCase()
{
    // The test's own arguments to the simulator carry names as bytes too.
    FileNames::keepBytesAsGiven();
}

void TestDevSimFiles::dumpTargets_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QByteArray>("error"); // empty: the simulator runs
    QTest::addColumn<QByteArray>("note");
    QTest::newRow("input image into a FIFO") << "--dump-input"
                                             << "fifo" << QByteArray() << QByteArray();
    QTest::newRow("holding image into a FIFO")
        << "--dump-holding"
        << "fifo" << QByteArray() << QByteArray("not written to");
    QTest::newRow("holding image into a null device")
        << "--dump-holding"
        << "null" << QByteArray() << QByteArray("not written to");
    QTest::newRow("input image onto a full device")
        << "--dump-input"
        << "full" << QByteArray(": No space left on device\n") << QByteArray();
    QTest::newRow("holding image onto a full device")
        << "--dump-holding"
        << "full" << QByteArray(": No space left on device\n") << QByteArray();
    // A log that takes nothing is reported once, and the device goes on answering.
    QTest::newRow("request log onto a full device")
        << "--log"
        << "full" << QByteArray() << QByteArray(": No space left on device\n");
}

void TestDevSimFiles::dumpTargets()
{
    QFETCH(QString, option);
    QFETCH(QString, target);
    QFETCH(QByteArray, error);
    QFETCH(QByteArray, note);
    QTemporaryDir folder;
    const QString path = folder.filePath(target);
    QProcess reader; // into a file: nothing here reads a pipe while the simulator saves
    if (target == "fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        reader.setStandardOutputFile(folder.filePath("received"));
        reader.start("cat", {path});
        QVERIFY(reader.waitForStarted(10000));
    } else if (!makeCharacterDevice(
                   path, MemoryDevices, target == "null" ? NullMinor : FullMinor)) {
        QSKIP("making a device node needs root");
    }
    const QString kind = fileKind(path);
    const QStringList options {"--holding", "0=0x1234", "--input", "0=0x5678", option, path};
    if (!error.isEmpty()) {
        const ProgramResult result
            = runProgram(programPath("qelDevSim"), QStringList {"--tcp", "127.0.0.1:0"} + options);
        QVERIFY(result.finished);
        QCOMPARE(result.exitCode, 1);
        QVERIFY(result.out.isEmpty()); // never listened
        QCOMPARE(result.err, "qelDevSim: cannot write " + QFile::encodeName(path) + error);
        QCOMPARE(fileKind(path), kind);
        return;
    }
    DevSim sim(options);
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    RawMaster master;
    QVERIFY(master.openTcp(sim.tcpPort()));
    QVERIFY(master.send(hexBytes("00 01 00 00 00 09 01 10 00 01 00 01 02 AB CD")));
    QCOMPARE(master.receive(12), hexBytes("00 01 00 00 00 06 01 10 00 01 00 01"));
    sim.stop();
    QCOMPARE(sim.exitCode(), 0);
    QVERIFY2(note.isEmpty() || sim.errorOutput().contains(note), sim.errorOutput().constData());
    QCOMPARE(sim.errorOutput().count('\n'), note.isEmpty() ? 0 : 1);
    QCOMPARE(fileKind(path), kind);
    if (target == "fifo") {
        QVERIFY(reader.waitForFinished(30000));
        QFile received(folder.filePath("received"));
        QVERIFY(received.open(QIODevice::ReadOnly));
        const QByteArray image = received.readAll();
        QCOMPARE(image.size(), 131072); // the image at start, and nothing after it
        QCOMPARE(image.left(4).toHex(' '),
            QByteArray(option == "--dump-input" ? "78 56 00 00" : "34 12 00 00"));
    }
}

void TestDevSimFiles::oversizedImages_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QByteArray>("error");
    QTest::newRow("3 GiB, sparse") << "sparse"
                                   << "0"
                                   << QByteArray(": more than 65536 words from register 0 go "
                                                 "beyond register 65535\n");
    QTest::newRow("one word too many from register 10")
        << "whole"
        << "10="
        << QByteArray(": more than 65526 words from register 10 go beyond register 65535\n");
}

void TestDevSimFiles::oversizedImages()
{
    QFETCH(QString, target);
    QFETCH(QString, start);
    QFETCH(QByteArray, error);
    QTemporaryDir folder;
    const QString path = folder.filePath(target);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    if (target == "sparse")
        QVERIFY(file.resize(qint64(3) << 30));
    else
        QCOMPARE(file.write(QByteArray(131072, '\x01')), qint64(131072));
    file.close();
    const QString value = start == "0" ? path : start + path;
    const ProgramResult result = runProgram(
        programPath("qelDevSim"), {"--tcp", "127.0.0.1:0", "--input-file", value}, 30000);
    QVERIFY(result.finished);
    QCOMPARE(result.exitCode, 1);
    QVERIFY(result.out.isEmpty());
    QCOMPARE(result.err, "qelDevSim: " + QFile::encodeName(path) + error);
}

void TestDevSimFiles::notARegularImage_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("kind");
    for (const char *option : {"--holding-file", "--input-file"}) {
        for (const char *kind : {"fifo", "fifo closed", "fifo fed", "zero device"})
            QTest::addRow("%s from a %s", option, kind) << option << kind;
    }
}

// Register images come only from regular files: a FIFO held the start until
// something wrote to it, a device gave what it liked.
void TestDevSimFiles::notARegularImage()
{
    QFETCH(QString, option);
    QFETCH(QString, kind);
    QTemporaryDir folder;
    const QString path = folder.filePath("image");
    const NotARegularFile source(path, kind);
    if (!source.isMade())
        QSKIP("making a device node needs root");
    const ProgramResult result
        = runProgram(programPath("qelDevSim"), {"--tcp", "127.0.0.1:0", option, path}, 30000);
    QVERIFY(result.finished);
    QCOMPARE(result.exitCode, 1);
    QVERIFY(result.out.isEmpty());
    QCOMPARE(
        result.err, "qelDevSim: cannot read " + QFile::encodeName(path) + ": not a regular file\n");
}

void TestDevSimFiles::namesAsGiven()
{
    QTemporaryDir folder;
    // Latin-1 bytes that are no UTF-8 at all.
    const QByteArray holdingName = QFile::encodeName(folder.path()) + "/h\xE9ld.bin";
    const QByteArray logName = QFile::encodeName(folder.path()) + "/r\xFF.log";
    const QByteArray imageName = QFile::encodeName(folder.path()) + "/in\xE4.bin";
    {
        QFile image(FileNames::fromBytes(imageName));
        QVERIFY(image.open(QIODevice::WriteOnly));
        image.write(hexBytes("34 12"));
    }
    QVERIFY(::access(imageName.constData(), R_OK) == 0);
    DevSim sim({"--dump-holding", FileNames::fromBytes(holdingName), "--reply-log",
        FileNames::fromBytes(logName), "--holding-file", FileNames::fromBytes(imageName)});
    QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
    RawMaster master;
    QVERIFY(master.openTcp(sim.tcpPort()));
    QVERIFY(master.send(hexBytes("00 01 00 00 00 06 01 03 00 00 00 01")));
    const QByteArray reply = hexBytes("00 01 00 00 00 05 01 03 02 12 34");
    QCOMPARE(master.receive(reply.size()), reply);
    sim.stop();
    struct stat status;
    QCOMPARE(::stat(holdingName.constData(), &status), 0);
    QCOMPARE(qint64(status.st_size), qint64(131072));
    QFile log(FileNames::fromBytes(logName));
    QVERIFY(log.open(QIODevice::ReadOnly));
    // The connection's line, as in the request log, then the reply.
    const QList<QByteArray> lines = log.readAll().split('\n');
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines.at(0).startsWith("connection 1 from 127.0.0.1:"));
    QCOMPARE(lines.at(1), QByteArray("00 01 00 00 00 05 01 03 02 12 34"));
    QCOMPARE(lines.at(2), QByteArray());
    // Nothing else was made: no name with U+FFFD in it.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), 3);
}

QTEST_GUILESS_MAIN(TestDevSimFiles)
#include "tst_devsimfiles.moc"
