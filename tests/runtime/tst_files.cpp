// File names kept as the bytes given, and saves onto every kind of target.

#include "filenames.h"
#include "filesaving.h"
#include "filetargets.h"

#include <QtTest>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

class TestFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void namesKeepTheirBytes_data();
    void namesKeepTheirBytes();
    void saveTargets_data();
    void saveTargets();
    void fifoReadByAnotherProcess();
    void fullFileSystemKeepsTheOldFile();
};

void TestFiles::initTestCase()
{
    FileNames::keepBytesAsGiven();
}

void TestFiles::namesKeepTheirBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("utf8");
    QTest::newRow("ascii") << QByteArray("data.bin") << true;
    QTest::newRow("Polish letters") << QByteArray("dane-\xc5\x82\xc3\xb3\xc5\xbc.bin") << true;
    QTest::newRow("four-byte character") << QByteArray("x\xf0\x9f\x98\x80y") << true;
    QTest::newRow("Latin-1 byte") << QByteArray("dane-\xb3.bin") << false;
    QTest::newRow("lone continuation bytes") << QByteArray("\x80\xbf\x80") << false;
    QTest::newRow("sequence cut at the end") << QByteArray("abc\xe2\x82") << false;
    QTest::newRow("sequence cut by ascii") << QByteArray("\xe2\x82"
                                                         "A\xf0\x9f")
                                           << false;
    QTest::newRow("overlong slash") << QByteArray("a\xc0\xaf"
                                                  "b")
                                    << false;
    QTest::newRow("encoded surrogate") << QByteArray("\xed\xa0\x80") << false;
    QTest::newRow("above U+10FFFF") << QByteArray("\xf4\x90\x80\x80") << false;
    QTest::newRow("bytes FE FF") << QByteArray("\xfe\xff") << false;
    QTest::newRow("what the kept bytes stand for, as UTF-8") << QByteArray("\xed\xb2\xb3") << false;
}

void TestFiles::namesKeepTheirBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, utf8);
    const QString text = FileNames::fromBytes(bytes);
    QCOMPARE(FileNames::toBytes(text), bytes);
    QCOMPARE(QFile::encodeName(QFile::decodeName(bytes)), bytes);
    QCOMPARE(QString::fromLocal8Bit(bytes), text);
    if (utf8)
        QCOMPARE(text, QString::fromUtf8(bytes));
    else
        QVERIFY(text != QString::fromUtf8(bytes));

    // Streams decode in pieces: every cut gives the same text (a line end
    // closes a sequence left open at the end).
    for (int cut = 0; cut <= bytes.size(); ++cut) {
        const std::unique_ptr<QTextDecoder> decoder(QTextCodec::codecForLocale()->makeDecoder());
        QString pieces = decoder->toUnicode(bytes.left(cut));
        pieces += decoder->toUnicode(bytes.mid(cut) + '\n');
        QCOMPARE(pieces, text + '\n');
    }

    // The name reaches the file system unchanged.
    QTemporaryDir folder;
    const QString name = folder.path() + '/' + text;
    QVERIFY(FileSaving::save(name, "x", nullptr));
    QCOMPARE(::access((QFile::encodeName(folder.path()) + '/' + bytes).constData(), F_OK), 0);
    QVERIFY(QFile::exists(name));
}

void TestFiles::saveTargets_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("reason"); // empty: the save succeeds
    QTest::addColumn<QString>("kindAfter");
    QTest::newRow("new file") << "new"
                              << ""
                              << "file";
    QTest::newRow("regular file, replaced") << "file"
                                            << ""
                                            << "file";
    QTest::newRow("link to a file") << "link"
                                    << ""
                                    << "link";
    QTest::newRow("link to nothing yet") << "dangling"
                                         << ""
                                         << "link";
    QTest::newRow("directory") << "directory"
                               << "Is a directory"
                               << "directory";
    QTest::newRow("missing folder") << "folder/x"
                                    << "No such file or directory"
                                    << "missing";
    QTest::newRow("link loop") << "loop"
                               << "Too many levels of symbolic links"
                               << "link";
    QTest::newRow("private null device") << "null"
                                         << ""
                                         << "character device";
    QTest::newRow("private full device") << "full"
                                         << "No space left on device"
                                         << "character device";
}

void TestFiles::saveTargets()
{
    QFETCH(QString, target);
    QFETCH(QString, reason);
    QFETCH(QString, kindAfter);
    QTemporaryDir folder;
    const QString path = folder.filePath(target);
    const QString linked = folder.filePath("linked");
    const QByteArray content(100000, 'n');

    if (target == "file") {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(300000, 'o'));
        old.close();
        QVERIFY(old.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    } else if (target == "link" || target == "dangling") {
        if (target == "link") {
            QFile old(linked);
            QVERIFY(old.open(QIODevice::WriteOnly));
        }
        QVERIFY(QFile::link("linked", path));
    } else if (target == "directory") {
        QVERIFY(QDir().mkdir(path));
    } else if (target == "loop") {
        QVERIFY(QFile::link("loop", path));
    } else if (target == "null" || target == "full") {
        if (!makeCharacterDevice(path, MemoryDevices, target == "null" ? NullMinor : FullMinor))
            QSKIP("making a device node needs root");
    }

    QString given;
    QCOMPARE(FileSaving::save(path, content, &given), reason.isEmpty());
    QCOMPARE(given, reason);
    QCOMPARE(fileKind(path), kindAfter);
    QCOMPARE(QDir(folder.path())
                 .entryList(QDir::Hidden | QDir::System | QDir::AllEntries | QDir::NoDotAndDotDot)
                 .filter(".XXX")
                 .size(),
        0);
    if (!reason.isEmpty())
        return;
    if (kindAfter != "character device") {
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), content);
    }
    if (target == "file")
        QCOMPARE(QFile(path).permissions() & 0x0FFF,
            QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup);
    if (target == "link" || target == "dangling")
        QCOMPARE(fileKind(linked), QString("file"));
}

void TestFiles::fifoReadByAnotherProcess()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("fifo");
    QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    QProcess reader; // into a file: this thread does not read a pipe while it saves
    reader.setStandardOutputFile(folder.filePath("received"));
    reader.start("cat", {path});
    QVERIFY(reader.waitForStarted(10000));

    const QByteArray content(200000, 'f'); // more than a pipe holds
    QString reason;
    QVERIFY2(FileSaving::save(path, content, &reason), qPrintable(reason));
    QVERIFY(reader.waitForFinished(30000));
    QFile received(folder.filePath("received"));
    QVERIFY(received.open(QIODevice::ReadOnly));
    QCOMPARE(received.readAll(), content);
    QCOMPARE(fileKind(path), QString("fifo"));
}

void TestFiles::fullFileSystemKeepsTheOldFile()
{
    QTemporaryDir folder;
    const QByteArray mountPoint = QFile::encodeName(folder.path());
    if (::geteuid() != 0 || ::mount("qeltest", mountPoint.constData(), "tmpfs", 0, "size=64k") != 0)
        QSKIP("a small file system needs root");
    const QString path = folder.filePath("image.bin");
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        QCOMPARE(old.write(QByteArray(1000, 'o')), qint64(1000));
    }
    QString reason;
    const bool saved = FileSaving::save(path, QByteArray(200000, 'n'), &reason);
    QFile old(path);
    QVERIFY(old.open(QIODevice::ReadOnly));
    const QByteArray after = old.readAll();
    const QStringList left = QDir(folder.path()).entryList(QDir::Hidden | QDir::Files);
    old.close();
    QCOMPARE(::umount(mountPoint.constData()), 0);

    QVERIFY(!saved);
    QCOMPARE(reason, QString("No space left on device"));
    QCOMPARE(after, QByteArray(1000, 'o'));
    QCOMPARE(left, QStringList({"image.bin"}));
}

QTEST_GUILESS_MAIN(TestFiles)
#include "tst_files.moc"
