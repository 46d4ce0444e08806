#include "csvrecorder.h"
#include "csvtable.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

requestRecord readResult(int n, bool ok, const QString &desc, const QString &cause = {})
{
    requestRecord r;
    r.time = QDateTime(QDate(2026, 12, 7), QTime(15, 20, 1, n), Qt::OffsetFromUTC, 3600);
    r.kind = QStringLiteral("READ");
    r.desc = desc;
    r.addr = QString::number(100 + n);
    r.type = QStringLiteral("S16");
    r.raw = ok ? QString::number(-n * 100) : QString();
    r.shown = ok ? QString::number(-n) : QString();
    r.ok = ok;
    r.cause = cause;
    return r;
}

QStringList fieldsOf(const requestRecord &r)
{
    return {csvRecorder::isoTime(r.time), r.kind, r.desc, r.addr, r.type, r.raw, r.shown,
        r.ok ? "OK" : "ERROR", r.cause};
}

// Limits the size of the files this process writes while it lives; a write
// past the limit fails with EFBIG instead of raising SIGXFSZ.
class fileSizeLimit
{
public:
    explicit fileSizeLimit(qint64 bytes)
    {
        previousHandler = signal(SIGXFSZ, SIG_IGN);
        set = getrlimit(RLIMIT_FSIZE, &previous) == 0;
        rlimit limit = previous;
        limit.rlim_cur = static_cast<rlim_t>(bytes);
        set = set && setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~fileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &previous);
        signal(SIGXFSZ, previousHandler);
    }
    bool isSet() const { return set; }

private:
    rlimit previous {};
    sighandler_t previousHandler;
    bool set = false;
};

} // namespace

// The CSV recording of request results: quoting, the file as written line by
// line, and the targets and failures it refuses.
class tst_csvRecorder : public QObject
{
    Q_OBJECT

private slots:
    void line_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << QStringList {"a", "1", ""} << "a,1,\r\n";
        QTest::newRow("comma") << QStringList {"L1,L2", "x"} << "\"L1,L2\",x\r\n";
        QTest::newRow("quote") << QStringList {"say \"hi\""} << "\"say \"\"hi\"\"\"\r\n";
        QTest::newRow("line feed") << QStringList {"a\nb"} << "\"a\nb\"\r\n";
        QTest::newRow("carriage return") << QStringList {"a\rb", "c"} << "\"a\rb\",c\r\n";
        QTest::newRow("blanks kept") << QStringList {" a ", "b"} << " a ,b\r\n";
        QTest::newRow("polish") << QStringList {"Napięcie Ł1"} << "Napięcie Ł1\r\n";
    }
    void line()
    {
        QFETCH(QStringList, fields);
        QFETCH(QString, expected);
        const QString text = csvRecorder::line(fields);
        QCOMPARE(text, expected);
        QList<QStringList> back;
        QVERIFY(parseCsv(text.toUtf8(), &back));
        QCOMPARE(back, QList<QStringList> {fields});
    }

    void isoTime_data()
    {
        QTest::addColumn<QDateTime>("time");
        QTest::addColumn<QString>("expected");
        QTest::newRow("east of UTC") << QDateTime(QDate(2026, 12, 7), QTime(15, 20, 1, 42),
            Qt::OffsetFromUTC, 3600) << "2026-12-07T15:20:01.042+01:00";
        QTest::newRow("west of UTC, no milliseconds")
            << QDateTime(QDate(2026, 7, 1), QTime(9, 5, 0), Qt::OffsetFromUTC, -4 * 3600)
            << "2026-07-01T09:05:00.000-04:00";
        QTest::newRow("UTC") << QDateTime(QDate(2026, 1, 2), QTime(0, 0, 0, 999), Qt::UTC)
                             << "2026-01-02T00:00:00.999Z";
    }
    void isoTime()
    {
        QFETCH(QDateTime, time);
        QFETCH(QString, expected);
        QCOMPARE(csvRecorder::isoTime(time), expected);
    }

    // Every result is in the file as soon as it is recorded, before the
    // recording stops, and reads back field for field.
    void recordsReadBack()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("pomiary łódź.csv"));
        QFile::remove(path);
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old content that must go\n");
        }
        csvRecorder recorder;
        QSignalSpy started(&recorder, &csvRecorder::started);
        QSignalSpy stopped(&recorder, &csvRecorder::stopped);
        QVERIFY2(recorder.start(path), qPrintable(recorder.errorString()));
        QCOMPARE(started.count(), 1);
        QVERIFY(recorder.isRecording());
        QCOMPARE(recorder.fileName(), path);

        QList<QStringList> expected {csvRecorder::header()};
        const QList<requestRecord> results {readResult(1, true, QStringLiteral("Licznik, \"A\"")),
            readResult(
                2, false, QStringLiteral("Napięcie\nL1"), QStringLiteral("Illegal data address")),
            readResult(3, true, QString())};
        QFile reader(path);
        QVERIFY(reader.open(QIODevice::ReadOnly));
        for (const requestRecord &r : results) {
            QVERIFY(recorder.record(r));
            expected.append(fieldsOf(r));
            QList<QStringList> now;
            QVERIFY(reader.seek(0));
            QVERIFY(parseCsv(reader.readAll(), &now));
            QCOMPARE(now, expected);
        }
        QCOMPARE(expected.at(2).at(7), QStringLiteral("ERROR"));
        recorder.stop();
        QCOMPARE(stopped.count(), 1);
        QVERIFY(!recorder.isRecording());
        QVERIFY(recorder.record(results.at(0))); // nothing happens while stopped
        QVERIFY(reader.seek(0));
        QList<QStringList> after;
        QVERIFY(parseCsv(reader.readAll(), &after));
        QCOMPARE(after, expected);
    }

    // Targets that are no regular file, or cannot be made, are refused with
    // a reason and never opened, so a FIFO without a reader cannot hang the
    // window and a device gets nothing.
    void refusedTargets_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder") << "folder"
                                << "is a folder";
        QTest::newRow("fifo") << "fifo"
                              << "is not a regular file";
        QTest::newRow("device") << "device"
                                << "is not a regular file";
        QTest::newRow("missing folder") << "no/such/file.csv"
                                        << "No such file or directory";
        QTest::newRow("empty name") << ""
                                    << "";
    }
    void refusedTargets()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
        QCOMPARE(mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0600), 0);
        // A private null device: writes to it would vanish without a trace.
        QCOMPARE(mknod(QFile::encodeName(dir.filePath("device")).constData(), S_IFCHR | 0600,
                     makedev(1, 3)),
            0);
        csvRecorder recorder;
        QSignalSpy started(&recorder, &csvRecorder::started);
        QVERIFY(!recorder.start(name.isEmpty() ? QString() : dir.filePath(name)));
        QVERIFY(!recorder.isRecording());
        QVERIFY(!recorder.errorString().isEmpty());
        QVERIFY2(recorder.errorString().contains(reason), qPrintable(recorder.errorString()));
        QCOMPARE(started.count(), 0);
    }

    // A write that fails ends the recording with the system's reason, and
    // the file keeps only whole lines. A file size limit stands in for a full
    // disk: the system takes what fits, then refuses the rest.
    void fullDisk_data()
    {
        QTest::addColumn<int>("records");
        QTest::addColumn<bool>("startsOk");
        QTest::newRow("no room for the header") << 0 << false;
        QTest::newRow("fills on the third result") << 2 << true;
    }
    void fullDisk()
    {
        QFETCH(int, records);
        QFETCH(bool, startsOk);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("full.csv"));
        // Room for the header and the given number of results, and half a line.
        qint64 room = csvRecorder::line(csvRecorder::header()).toUtf8().size();
        for (int i = 1; i <= records; ++i)
            room += csvRecorder::line(fieldsOf(readResult(i, true, QStringLiteral("x"))))
                        .toUtf8()
                        .size();
        room += records > 0 ? 20 : -20;
        csvRecorder recorder;
        QSignalSpy failed(&recorder, &csvRecorder::failed);
        {
            const fileSizeLimit limit(room);
            QVERIFY(limit.isSet());
            QCOMPARE(recorder.start(path), startsOk);
            for (int i = 1; i <= records; ++i)
                QVERIFY(recorder.record(readResult(i, true, QStringLiteral("x"))));
            if (startsOk)
                QVERIFY(!recorder.record(readResult(9, true, QStringLiteral("x"))));
        }
        QVERIFY(!recorder.isRecording());
        QCOMPARE(recorder.errorString(), QString::fromLocal8Bit(strerror(EFBIG)));
        QCOMPARE(failed.count(), startsOk ? 1 : 0);
        if (startsOk) {
            QCOMPARE(failed.at(0).at(0).toString(), path);
            QCOMPARE(failed.at(0).at(1).toString(), recorder.errorString());
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QList<QStringList> written;
        QVERIFY(parseCsv(file.readAll(), &written));
        QCOMPARE(written.size(), startsOk ? records + 1 : 0);
    }
};

QTEST_MAIN(tst_csvRecorder)
#include "tst_csvrecorder.moc"
