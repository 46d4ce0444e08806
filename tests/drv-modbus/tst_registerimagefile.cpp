// Register images saved after range reads and loaded for block writes.

#include "registerimagefile.h"
#include "reportprinter.h"

#include <QtTest>

using Words = QVector<quint16>;

class TestRegisterImageFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void saveWritesExactContent_data();
    void saveWritesExactContent();
    void saveLoadRoundTrip_data();
    void saveLoadRoundTrip();
    void saveMakesMissingDirectories();
    void saveReplacesEarlierContent();
    void saveFailureNamesTheFile_data();
    void saveFailureNamesTheFile();
    void loadReadsFiles_data();
    void loadReadsFiles();
    void loadRefusesBadFiles_data();
    void loadRefusesBadFiles();
    void loadMissingFile();
    void noFileName();

private:
    QString path(const QString &name) const { return directory->filePath(name); }
    void writeFile(const QString &name, const QByteArray &content);

    std::unique_ptr<QTemporaryDir> directory;
};

static QString plain(const QString &markup)
{
    return ReportPrinter::toPlainText(markup, "\n");
}

void TestRegisterImageFile::init()
{
    directory = std::make_unique<QTemporaryDir>();
    QVERIFY(directory->isValid());
}

void TestRegisterImageFile::writeFile(const QString &name, const QByteArray &content)
{
    QFile file(path(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), qint64(content.size()));
}

static QByteArray readFile(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void TestRegisterImageFile::saveWritesExactContent_data()
{
    QTest::addColumn<QString>("display");
    QTest::addColumn<Words>("words");
    QTest::addColumn<QByteArray>("content");
    const Words three {1, 171, 65535};
    QTest::newRow("HEX text") << "HEX" << three << QByteArray("0x0001,0x00AB,0xFFFF");
    QTest::newRow("DEC text") << "DEC" << three << QByteArray("1,171,65535");
    QTest::newRow("binary without display") << "" << three << QByteArray::fromHex("0100AB00FFFF");
    QTest::newRow("empty range, binary") << "" << Words {} << QByteArray();
    QTest::newRow("empty range, text") << "DEC" << Words {} << QByteArray();
}

void TestRegisterImageFile::saveWritesExactContent()
{
    QFETCH(QString, display);
    QFETCH(Words, words);
    QFETCH(QByteArray, content);
    QString error;
    QVERIFY2(RegisterImageFile::save(path("image"), words, display, &error), qPrintable(error));
    QCOMPARE(readFile(path("image")), content);
}

void TestRegisterImageFile::saveLoadRoundTrip_data()
{
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("format");
    QTest::newRow("BIN") << ""
                         << "BIN";
    QTest::newRow("HEX") << "HEX"
                         << "HEX";
    QTest::newRow("DEC") << "DEC"
                         << "DEC";
    QTest::newRow("HEX saved, loaded as DEC") << "HEX"
                                              << "DEC";
}

void TestRegisterImageFile::saveLoadRoundTrip()
{
    QFETCH(QString, display);
    QFETCH(QString, format);
    Words words;
    for (int i = 0; i < 1000; ++i)
        words << quint16(i * 65.537);
    words << 0 << 65535;
    QString error;
    QVERIFY2(RegisterImageFile::save(path("round"), words, display, &error), qPrintable(error));
    Words back;
    QVERIFY2(RegisterImageFile::load(path("round"), format, &back, &error), qPrintable(error));
    QCOMPARE(back, words);
}

void TestRegisterImageFile::saveMakesMissingDirectories()
{
    const QString fileName = path("a/b/c/data.txt");
    QString error;
    QVERIFY2(RegisterImageFile::save(fileName, {7}, "DEC", &error), qPrintable(error));
    QCOMPARE(readFile(fileName), QByteArray("7"));
}

void TestRegisterImageFile::saveReplacesEarlierContent()
{
    writeFile("data.bin", QByteArray(100, 'x'));
    QString error;
    QVERIFY(RegisterImageFile::save(path("data.bin"), {0x0102}, "", &error));
    QCOMPARE(readFile(path("data.bin")), QByteArray::fromHex("0201"));
}

void TestRegisterImageFile::saveFailureNamesTheFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("directory under a file") << "plain/data.bin";
    QTest::newRow("a directory") << "folder";
}

void TestRegisterImageFile::saveFailureNamesTheFile()
{
    QFETCH(QString, name);
    writeFile("plain", "keep");
    QVERIFY(QDir(directory->path()).mkdir("folder"));
    QString error;
    QVERIFY(!RegisterImageFile::save(path(name), {1, 2}, "HEX", &error));
    QVERIFY2(plain(error).startsWith("Unable to save data to \"" + path(name) + "\":\n "),
        qPrintable(plain(error)));
    QVERIFY(plain(error).endsWith("\n"));
    QCOMPARE(readFile(path("plain")), QByteArray("keep"));
    QVERIFY(QFileInfo(path("folder")).isDir());
}

void TestRegisterImageFile::loadReadsFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("format");
    QTest::addColumn<Words>("words");
    const Words three {1, 171, 65535};
    QTest::newRow("binary") << QByteArray::fromHex("0100AB00FFFF") << "BIN" << three;
    QTest::newRow("empty binary writes nothing") << QByteArray() << "BIN" << Words {};
    QTest::newRow("blank-separated text") << QByteArray("0x0001 171 0xFFFF") << "HEX" << three;
    QTest::newRow("comma-separated text") << QByteArray("1,171,65535") << "DEC" << three;
    QTest::newRow("the format does not change the reading")
        << QByteArray("0x0001,171,0xFFFF") << "DEC" << three;
    QTest::newRow("lines and tabs") << QByteArray("1\r\n171\t65535\n") << "DEC" << three;
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF"
                                                   "1,171,65535")
                                     << "DEC" << three;
    QTest::newRow("empty text writes nothing") << QByteArray() << "HEX" << Words {};
    QTest::newRow("blank text writes nothing") << QByteArray(" \r\n") << "HEX" << Words {};
}

void TestRegisterImageFile::loadReadsFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, format);
    QFETCH(Words, words);
    writeFile("in", content);
    Words result {42};
    QString error;
    QVERIFY2(RegisterImageFile::load(path("in"), format, &result, &error), qPrintable(error));
    QCOMPARE(result, words);
    QCOMPARE(error, QString());
}

void TestRegisterImageFile::loadRefusesBadFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("lines");
    QTest::newRow("odd binary") << QByteArray::fromHex("0100AB00FF") << "BIN"
                                << " odd length in bytes: 5\n";
    QTest::newRow("one byte") << QByteArray("\x01", 1) << "BIN"
                              << " odd length in bytes: 1\n";
    QTest::newRow("part that does not read") << QByteArray("1 2 three") << "DEC"
                                             << " three is not a number\n";
    QTest::newRow("value beyond a word") << QByteArray("0x0001,0x10000") << "HEX"
                                         << " 0x10000 is not a whole number from 0 to 65535\n";
    QTest::newRow("binary image read as text") << QByteArray::fromHex("0100AB00") << "HEX"
                                               << " control character 0x01 at byte 1\n";
    QTest::newRow("bytes that are not UTF-8") << QByteArray("1 2 \xFF\xFE") << "DEC"
                                              << " not UTF-8 text at byte 5\n";
    QTest::newRow("NUL after values") << QByteArray("1 2\0003", 5) << "DEC"
                                      << " control character 0x00 at byte 4\n";
    QTest::newRow("control character after a mark and a letter")
        << QByteArray("\xEF\xBB\xBF\xC5\x82 \x1B") << "HEX"
        << " control character 0x1B at byte 7\n";
    QTest::newRow("binary one byte too large") << QByteArray(131072, '\0') << "BIN"
                                               << " too large: 131072 bytes, at most 131070 bytes "
                                                  "for 65535 registers\n";
    QTest::newRow("text one byte too large")
        << QByteArray(458751, ' ') << "DEC"
        << " too large: 458751 bytes, at most 458750 bytes for 65535 registers\n";
}

void TestRegisterImageFile::loadRefusesBadFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, format);
    QFETCH(QString, lines);
    writeFile("bad", content);
    Words words {42};
    QString error;
    QVERIFY(!RegisterImageFile::load(path("bad"), format, &words, &error));
    QVERIFY(words.isEmpty());
    QCOMPARE(plain(error), "Unable to load data from \"" + path("bad") + "\":\n" + lines);
}

void TestRegisterImageFile::noFileName()
{
    QString error;
    QVERIFY(!RegisterImageFile::save("", {1}, "", &error));
    QCOMPARE(plain(error), QString("Unable to save data to \"\":\n no file name given\n"));
    Words words {1};
    QVERIFY(!RegisterImageFile::load("", "BIN", &words, &error));
    QCOMPARE(plain(error), QString("Unable to load data from \"\":\n no file name given\n"));
    QVERIFY(words.isEmpty());
}

void TestRegisterImageFile::loadMissingFile()
{
    for (const QString format : {"BIN", "HEX"}) {
        Words words {42};
        QString error;
        QVERIFY(!RegisterImageFile::load(path("missing.bin"), format, &words, &error));
        QVERIFY(words.isEmpty());
        QCOMPARE(plain(error),
            "Unable to load data from \"" + path("missing.bin")
                + "\":\n No such file or directory\n");
    }
}

QTEST_APPLESS_MAIN(TestRegisterImageFile)
#include "tst_registerimagefile.moc"
