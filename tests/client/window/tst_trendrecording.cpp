#include "csvtable.h"
#include "devsim.h"
#include "driverrunner.h"
#include "programrun.h"
#include "readelement.h"
#include "resultsink.h"
#include "scriptedprompts.h"
#include "trendcommands.h"
#include "trendmodel.h"
#include "trendplot.h"
#include "trendwindow.h"
#include "windowtesting.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>
#include <qwt_scale_draw.h>

// The trend and the CSV recording of the window against the simulator: what
// the automatic refresh records and plots, the marks in the project file.
class tst_trendRecording : public QObject
{
    Q_OBJECT

private:
    // Triggers an action of the window and lets the queued work it started run.
    static bool trigger(MainWindow &window, const char *name)
    {
        QAction *item = action(window, name);
        if (!item || !item->isEnabled())
            return false;
        item->trigger();
        QCoreApplication::processEvents();
        return true;
    }

    QString write(const QJsonObject &root)
    {
        const QString path = dir.filePath(QStringLiteral("p%1.json").arg(++files));
        return writeProject(path, root) ? path : QString();
    }

    QTemporaryDir dir;
    int files = 0;

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        QVERIFY(QDir::setCurrent(QFileInfo(programPath("qelDrvModbus")).absolutePath()));
        QCoreApplication::setOrganizationName("qel-test");
        QCoreApplication::setApplicationName("tst_trendrecording");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath("settings"));
        QSettings().clear();
    }

    // The automatic refresh cycles through a counting register, a constant
    // shown by its format and an unmarked row; the fifth request gets an
    // exception reply. The CSV holds every result as the simulator served it,
    // the trend the marked rows' values at the same times, with a gap where
    // the read failed.
    void refreshRecordsAndPlots()
    {
        DevSim sim({"--holding", "100=7", "--count-holding", "100=3", "--holding", "200=23050",
            "--holding", "300=65535", "--fault", "exception=2,request=5"});
        QVERIFY2(sim.startTcp(), qPrintable(sim.startError()));
        QJsonObject counter = readRequest("U16", "100", "", "Counter");
        counter.insert("trend", true);
        QJsonObject voltage = readRequest("U16", "200", "F_X_XX", "Napięcie, \"L1\"");
        voltage.insert("trend", true);
        const QString path = write(project("Bay", {tcpPort(sim.tcpPort())},
            {counter, voltage, readRequest("S16", "300", "", "Signed")}));
        scriptedPrompts prompts;
        MainWindow window(nullptr, &prompts);
        window.loadFile(path);
        QCOMPARE(window.document()->path(), path);
        const QString csv = dir.filePath("bay.csv");
        prompts.fileAnswers << csv;
        QVERIFY(trigger(window, "actionRecordCsv"));
        QVERIFY(window.trends()->results()->recorder()->isRecording());
        QVERIFY(window.trends()->results()->recordingNote()->text().contains(csv));
        QVERIFY(trigger(window, "actionTrend"));
        QVERIFY(window.trends()->results()->window()->isVisible());

        QSignalSpy results(window.runner(), &driverRunner::rowFinished);
        QVERIFY(invoke(window, "commandRefresh"));
        QTRY_VERIFY_WITH_TIMEOUT(results.count() >= 9, 60000);
        QVERIFY(invoke(window, "commandRefresh"));
        QTRY_VERIFY_WITH_TIMEOUT(!window.isBusy(), 10000);
        QVERIFY(trigger(window, "actionStopRecording"));
        QVERIFY(!window.trends()->results()->recorder()->isRecording());
        QVERIFY(window.trends()->results()->recordingNote()->isHidden());

        QList<QStringList> rows;
        QVERIFY(parseCsv(readFile(csv), &rows));
        QCOMPARE(rows.value(0), csvRecorder::header());
        rows.removeFirst();
        QCOMPARE(rows.size(), results.count());
        const QList<QStringList> served {
            {"READ", "Counter", "100", "U16", "7", "7", "OK", ""},
            {"READ", "Napięcie, \"L1\"", "200", "U16", "23050", "230.50", "OK", ""},
            {"READ", "Signed", "300", "S16", "-1", "-1", "OK", ""},
            {"READ", "Counter", "100", "U16", "10", "10", "OK", ""},
            {"READ", "Napięcie, \"L1\"", "200", "U16", "", "", "ERROR", "Illegal data address"},
            {"READ", "Signed", "300", "S16", "-1", "-1", "OK", ""},
            {"READ", "Counter", "100", "U16", "13", "13", "OK", ""},
            {"READ", "Napięcie, \"L1\"", "200", "U16", "23050", "230.50", "OK", ""},
            {"READ", "Signed", "300", "S16", "-1", "-1", "OK", ""},
        };
        for (int i = 0; i < served.size(); ++i)
            QCOMPARE(rows.at(i).mid(1), served.at(i));

        // The trend: the marked rows' values at the recorded times; the
        // unmarked row has no series.
        const QList<readElement *> reads = ::rows<readElement>(window, "readLayout");
        const trendModel *trend = window.trends()->results()->trend();
        QCOMPARE(trend->rows(), (QList<const QObject *> {reads.at(0), reads.at(1)}));
        for (int r = 0; r < 2; ++r) {
            const trendSeries *series = trend->series(reads.at(r));
            QCOMPARE(series->label(), reads.at(r)->request().desc);
            int point = 0;
            for (const QStringList &row : qAsConst(rows)) {
                if (row.at(2) != reads.at(r)->request().desc)
                    continue;
                QVERIFY(point < series->size());
                const trendPoint &p = series->at(point++);
                QCOMPARE(QDateTime::fromMSecsSinceEpoch(p.msecs),
                    QDateTime::fromString(row.at(0), Qt::ISODateWithMs));
                QCOMPARE(p.isGap(), row.at(7) == "ERROR");
                if (!p.isGap())
                    QCOMPARE(p.value, row.at(6).toDouble());
            }
            QCOMPARE(point, series->size());
        }
        QVERIFY(trend->series(reads.at(1))->at(1).isGap());
    }

    // The marks are kept as "trend": true on a marked read and nowhere
    // else: a project without marks loads and saves as it always did.
    void marksInProjectFile_data()
    {
        QTest::addColumn<QJsonValue>("mark"); // the second read's "trend", undefined: none
        QTest::addColumn<bool>("marked");
        QTest::newRow("no marks") << QJsonValue(QJsonValue::Undefined) << false;
        QTest::newRow("marked") << QJsonValue(true) << true;
        QTest::newRow("false") << QJsonValue(false) << false;
        // A mark of another JSON type is a damaged file: refused, with the key named.
        QTest::newRow("not a boolean") << QJsonValue("yes") << false;
    }
    void marksInProjectFile()
    {
        QFETCH(QJsonValue, mark);
        QFETCH(bool, marked);
        QJsonObject second = readRequest("S32", "40", "F_X_X", "Power");
        if (!mark.isUndefined())
            second.insert("trend", mark);
        const QJsonArray reads {readRequest("U16", "10", "", "Counter"), second};
        const QString path = write(project("Bay", {tcpPort(502)}, reads,
            {writeRequest("U16", "5", "1")}, {macroRequest("FD_MACRO_LOGOUT", "")}));
        scriptedPrompts prompts;
        MainWindow window(nullptr, &prompts);
        window.loadFile(path);
        if (!mark.isUndefined() && !mark.isBool()) {
            QCOMPARE(prompts.kinds(), QStringList {"message"});
            QVERIFY2(prompts.asked.at(0).text.endsWith(
                         "Row 2 of \"read\": \"trend\" must be true or false, not a text"),
                qPrintable(prompts.asked.at(0).text));
            QVERIFY(::rows<readElement>(window, "readLayout").isEmpty());
            return;
        }
        const QList<readElement *> rows = ::rows<readElement>(window, "readLayout");
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows.at(1)->isTrendMarked(), marked);
        QCOMPARE(window.trends()->results()->trend()->hasSeries(rows.at(1)), marked);
        QVERIFY(!rows.at(0)->isTrendMarked());

        // Saved as it was read, the mark only where it is set.
        QJsonObject expected = project("Bay", {tcpPort(502)},
            {reads.at(0), marked ? second : readRequest("S32", "40", "F_X_X", "Power")},
            {writeRequest("U16", "5", "1")}, {macroRequest("FD_MACRO_LOGOUT", "")});
        const QString saved = dir.filePath("saved.json");
        QVERIFY(window.document()->save(saved));
        QCOMPARE(readFile(saved), QJsonDocument(expected).toJson());

        // The box marks through the history: undone, the file is as before.
        QCheckBox *box = rows.at(0)->findChild<QCheckBox *>("trend");
        box->click();
        QVERIFY(rows.at(0)->isTrendMarked());
        QVERIFY(window.trends()->results()->trend()->hasSeries(rows.at(0)));
        QVERIFY(action(window, "actionUndo")->isEnabled());
        QVERIFY(invoke(window, "commandUndo"));
        QVERIFY(!box->isChecked());
        QVERIFY(!window.trends()->results()->trend()->hasSeries(rows.at(0)));
        QVERIFY(window.document()->save(saved));
        QCOMPARE(readFile(saved), QJsonDocument(expected).toJson());

        // A deleted row leaves the trend and comes back with its undo.
        box->click();
        QMetaObject::invokeMethod(rows.at(0), "del");
        QCoreApplication::processEvents();
        QVERIFY(!window.trends()->results()->trend()->hasSeries(rows.at(0)));
        QVERIFY(invoke(window, "commandUndo"));
        QVERIFY(window.trends()->results()->trend()->hasSeries(rows.at(0)));
        QCOMPARE(window.trends()->results()->trend()->series(rows.at(0))->label(),
            QStringLiteral("Counter"));
    }

    // The trend takes the numeric reads of every kind and type; a text read
    // stays out even when its mark was written into the file by hand, and
    // the mark is saved as it was.
    void numericReadsOnly()
    {
        const auto marked = [](QJsonObject read, const QJsonObject &extras) {
            for (auto it = extras.begin(); it != extras.end(); ++it)
                read.insert(it.key(), it.value());
            read.insert("trend", true);
            return read;
        };
        const QJsonObject root = project("Bay", {tcpPort(502)},
            {marked(readRequest("U64", "10", "", "Energy"), {{"kind", "input"}, {"order", "ABCD"}}),
                marked(readRequest("F64", "20", "", "Frequency"), {{"order", "DCBA"}}),
                marked(readRequest("BIT", "3", "", "Breaker"), {{"kind", "coil"}}),
                marked(readRequest("STR", "40", "", "Name"), {{"length", "8"}})});
        const QString path = write(root);
        scriptedPrompts prompts;
        MainWindow window(nullptr, &prompts);
        window.loadFile(path);
        const QList<readElement *> rows = ::rows<readElement>(window, "readLayout");
        QCOMPARE(rows.size(), 4);
        const trendModel *trend = window.trends()->results()->trend();
        for (int r = 0; r < 3; ++r)
            QVERIFY2(trend->hasSeries(rows.at(r)), qPrintable(rows.at(r)->request().desc));
        QVERIFY(rows.at(3)->isTrendMarked());
        QVERIFY(!trend->hasSeries(rows.at(3)));
        QVERIFY(!rows.at(3)->findChild<QCheckBox *>("trend")->isEnabled());
        const QString saved = dir.filePath("numeric.json");
        QVERIFY(window.document()->save(saved));
        QCOMPARE(readFile(saved), QJsonDocument(root).toJson());
    }

    // A target that cannot be written is refused with the reason, in a box
    // and in the log, and nothing records.
    void recordingRefused()
    {
        scriptedPrompts prompts;
        MainWindow window(nullptr, &prompts);
        logRecorder log(window);
        prompts.fileAnswers << dir.path();
        QVERIFY(trigger(window, "actionRecordCsv"));
        QVERIFY(!window.trends()->results()->recorder()->isRecording());
        QVERIFY(!action(window, "actionStopRecording")->isEnabled());
        QCOMPARE(prompts.kinds(), (QStringList {"save", "message"}));
        QVERIFY(prompts.asked.at(1).text.contains("is a folder"));
        QVERIFY(log.all().contains("ERROR"));
        QVERIFY(window.trends()->results()->recordingNote()->isHidden());
    }

    void axesFollowLanguage_data()
    {
        QTest::addColumn<bool>("polish");
        QTest::addColumn<QString>("thousands");
        QTest::addColumn<QString>("fraction");
        QTest::newRow("Polish") << true << QString("1") + QChar(0x00A0) + "400"
                                << "12,5";
        QTest::newRow("English") << false << "1,400"
                                 << "12.5";
    }
    // The trend's value axis writes its numbers as the interface's language
    // does, whatever the system's locale.
    void axesFollowLanguage()
    {
        QFETCH(bool, polish);
        QFETCH(QString, thousands);
        QFETCH(QString, fraction);
        QTranslator translator;
        QVERIFY(translator.load(QStringLiteral(":/file/qelWinModbusClient_pl.qm")));
        if (polish)
            QVERIFY(QCoreApplication::installTranslator(&translator));
        trendModel model;
        trendPlot plot(&model);
        const QwtScaleDraw *axis = plot.axisScaleDraw(QwtPlot::yLeft);
        const QString shownThousands = axis->label(1400).text();
        const QString shownFraction = axis->label(12.5).text();
        QCoreApplication::removeTranslator(&translator);
        QCOMPARE(shownThousands, thousands);
        QCOMPARE(shownFraction, fraction);
        QCOMPARE(axis->label(1e-18).text(), QStringLiteral("0"));
    }
};

QTEST_MAIN(tst_trendRecording)
#include "tst_trendrecording.moc"
