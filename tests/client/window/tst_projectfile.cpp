#include "projectfile.h"

#include <QJsonArray>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

// The project file on disk: indented JSON with sorted keys, written so that a
// failed save leaves the previous file as it was, and read with a status that
// tells a missing file from text that holds no project.
class tst_projectFile : public QObject
{
    Q_OBJECT

private:
    static QJsonObject sample(int reads)
    {
        QJsonArray list;
        for (int i = 0; i < reads; ++i)
            list.append(QJsonObject {{"addr", QString::number(100 + i)}, {"desc", "value"},
                {"format", "F_X_XX"}, {"type", "U16"}});
        return QJsonObject {{"name", "Plant"}, {"read", list}};
    }

    static QByteArray contents(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

private slots:
    void layout();
    void createsFolders();
    void failedSaveKeepsPreviousFile();
    void unwritablePlaces_data();
    void unwritablePlaces();
    void load_data();
    void load();
};

void tst_projectFile::layout()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("plant.json");
    const QJsonObject root {{"name", "Plant"},
        {"communications",
            QJsonArray {QJsonObject {{"type", "RTU"}, {"com", "COM3"}, {"active", true},
                {"addr", "1"}, {"baudrate", "115200"}, {"desc", "line"}}}}};
    QVERIFY(projectFile::save(path, root));
    QCOMPARE(contents(path),
        QByteArray("{\n"
                   "    \"communications\": [\n"
                   "        {\n"
                   "            \"active\": true,\n"
                   "            \"addr\": \"1\",\n"
                   "            \"baudrate\": \"115200\",\n"
                   "            \"com\": \"COM3\",\n"
                   "            \"desc\": \"line\",\n"
                   "            \"type\": \"RTU\"\n"
                   "        }\n"
                   "    ],\n"
                   "    \"name\": \"Plant\"\n"
                   "}\n"));
}

void tst_projectFile::createsFolders()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a/b/plant.json");
    QVERIFY(projectFile::save(path, sample(1)));
    const projectFile::Content read = projectFile::load(path);
    QCOMPARE(read.status, projectFile::Loaded);
    QCOMPARE(read.root, sample(1));
}

// A disk that fills up during the save: the process may write only a few
// bytes more. The previous file stays as it was and no half file is left.
void tst_projectFile::failedSaveKeepsPreviousFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("plant.json");
    QVERIFY(projectFile::save(path, sample(3)));
    const QByteArray before = contents(path);

    rlimit old {};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 200;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString error;
    const bool saved = projectFile::save(path, sample(50), &error);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(!saved);
    QVERIFY(!error.isEmpty());
    QCOMPARE(contents(path), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList {"plant.json"});
}

void tst_projectFile::unwritablePlaces_data()
{
    QTest::addColumn<QString>("relative");
    QTest::newRow("the path is a folder") << "folder";
    QTest::newRow("a parent is a file") << "file.txt/plant.json";
}

void tst_projectFile::unwritablePlaces()
{
    QFETCH(QString, relative);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("folder"));
    QFile file(dir.filePath("file.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QString error;
    QVERIFY(!projectFile::save(dir.filePath(relative), sample(1), &error));
    QVERIFY(!error.isEmpty());
}

void tst_projectFile::load_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("name");

    QTest::newRow("project") << QByteArray("{\"name\": \"Plant\"}") << int(projectFile::Loaded)
                             << "Plant";
    QTest::newRow("empty object") << QByteArray("{}") << int(projectFile::Loaded) << "";
    QTest::newRow("UTF-8 name") << QByteArray(
        "{\"name\": \"Rozdzielnia \xc5\x82\xc3\xb3\xc5\xba\"}")
                                << int(projectFile::Loaded) << QString::fromUtf8("Rozdzielnia łóź");
    QTest::newRow("not JSON") << QByteArray("name = Plant") << int(projectFile::NotJson) << "";
    QTest::newRow("cut short") << QByteArray("{\"name\": \"Pla") << int(projectFile::NotJson) << "";
    QTest::newRow("empty file") << QByteArray() << int(projectFile::NotJson) << "";
    QTest::newRow("array") << QByteArray("[{\"name\": \"Plant\"}]") << int(projectFile::NotObject)
                           << "";
}

void tst_projectFile::load()
{
    QFETCH(QByteArray, text);
    QFETCH(int, status);
    QFETCH(QString, name);

    QTemporaryDir dir;
    QFile file(dir.filePath("p.json"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    const projectFile::Content read = projectFile::load(file.fileName());
    QCOMPARE(int(read.status), status);
    QCOMPARE(read.root.value("name").toString(), name);
    QCOMPARE(read.error.isEmpty(), status == projectFile::Loaded);

    const projectFile::Content missing = projectFile::load(dir.filePath("none.json"));
    QCOMPARE(missing.status, projectFile::CannotOpen);
    QVERIFY(!missing.error.isEmpty());
}

QTEST_GUILESS_MAIN(tst_projectFile)
#include "tst_projectfile.moc"
