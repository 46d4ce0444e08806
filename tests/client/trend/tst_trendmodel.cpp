#include "gappedcurve.h"
#include "trendcurvedata.h"
#include "trendmodel.h"
#include "trendplot.h"

#include <QDateTime>
#include <QSignalSpy>
#include <QtTest>
#include <cmath>
#include <memory>

// The trend series of marked rows: values as shown, gaps, retention, pause,
// and the samples and bounds the plot draws from.
class tst_trendModel : public QObject
{
    Q_OBJECT

private:
    static QDateTime at(qint64 seconds)
    {
        return QDateTime::fromMSecsSinceEpoch(1796000000000 + seconds * 1000, Qt::UTC);
    }
    static QList<qint64> keptSeconds(const trendSeries *series, bool visibleOnly)
    {
        QList<qint64> list;
        const int n = visibleOnly ? series->visibleCount() : series->size();
        for (int i = 0; i < n; ++i)
            list.append((series->at(i).msecs - at(0).toMSecsSinceEpoch()) / 1000);
        return list;
    }

private slots:
    void valuesAsShown_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("gap");
        QTest::addColumn<double>("value");
        QTest::newRow("display format") << true << "45.67" << false << 45.67;
        QTest::newRow("signed") << true << "-2.05" << false << -2.05;
        QTest::newRow("blanks around") << true << " 12 " << false << 12.0;
        QTest::newRow("float exponent") << true << "1.5e3" << false << 1500.0;
        QTest::newRow("failed read") << false << "7" << true << 0.0;
        QTest::newRow("failed read shows ?") << false << "?" << true << 0.0;
        QTest::newRow("not a number") << true << "?" << true << 0.0;
        QTest::newRow("empty") << true << "" << true << 0.0;
        QTest::newRow("float nan") << true << "nan" << true << 0.0;
        QTest::newRow("float infinity") << true << "inf" << true << 0.0;
        QTest::newRow("decimal comma") << true << "1,5" << true << 0.0;
    }
    void valuesAsShown()
    {
        QFETCH(bool, ok);
        QFETCH(QString, shown);
        QFETCH(bool, gap);
        QFETCH(double, value);
        trendModel model;
        QObject row, unmarked;
        model.addSeries(&row, QStringLiteral("U1"));
        QSignalSpy changed(&model, &trendModel::changed);
        QVERIFY(model.append(&row, at(0), true, QStringLiteral("1")));
        QVERIFY(model.append(&row, at(1), ok, shown));
        QVERIFY(!model.append(&unmarked, at(1), true, QStringLiteral("1")));
        QCOMPARE(changed.count(), 2);
        const trendSeries *series = model.series(&row);
        QCOMPARE(series->size(), 2);
        QCOMPARE(series->at(1).msecs, at(1).toMSecsSinceEpoch());
        QCOMPARE(series->at(1).isGap(), gap);
        if (!gap)
            QCOMPARE(series->at(1).value, value);

        // What the plot draws: the gap as NaN, bounds from the values only.
        trendCurveData data(series);
        QCOMPARE(data.size(), size_t(2));
        QCOMPARE(std::isnan(data.sample(1).y()), gap);
        const QRectF bounds = data.boundingRect();
        QCOMPARE(bounds.left(), double(at(0).toMSecsSinceEpoch()));
        QCOMPARE(bounds.right(), double((gap ? at(0) : at(1)).toMSecsSinceEpoch()));
        QCOMPARE(bounds.top(), gap ? 1.0 : std::min(1.0, value));
        QCOMPARE(bounds.bottom(), gap ? 1.0 : std::max(1.0, value));
    }

    void onlyGapsHaveNoBounds()
    {
        trendModel model;
        QObject row;
        model.addSeries(&row, QStringLiteral("U1"));
        trendCurveData data(model.series(&row));
        QVERIFY(data.boundingRect().width() < 0);
        model.append(&row, at(0), false, QString());
        QVERIFY(data.boundingRect().width() < 0);
        model.append(&row, at(1), true, QStringLiteral("3"));
        QCOMPARE(data.boundingRect(), QRectF(at(1).toMSecsSinceEpoch(), 3, 0, 0));
    }

    // Values older than the retention time before the newest are dropped, in
    // every series, also in one that no longer receives any.
    void retention_data()
    {
        QTest::addColumn<qint64>("retentionMs");
        QTest::addColumn<QList<qint64>>("expectA");
        QTest::addColumn<QList<qint64>>("expectB");
        // A gets a value every minute for 12 minutes; B only in the first 3.
        QTest::newRow("default 10 minutes")
            << qint64(0) << QList<qint64> {120, 180, 240, 300, 360, 420, 480, 540, 600, 660, 720}
            << QList<qint64> {120, 180};
        QTest::newRow("2 minutes")
            << qint64(120000) << QList<qint64> {600, 660, 720} << QList<qint64> {};
        QTest::newRow("a day") << qint64(86400000)
                               << QList<qint64> {0, 60, 120, 180, 240, 300, 360, 420, 480, 540, 600,
                                      660, 720}
                               << QList<qint64> {0, 60, 120, 180};
    }
    void retention()
    {
        QFETCH(qint64, retentionMs);
        QFETCH(QList<qint64>, expectA);
        QFETCH(QList<qint64>, expectB);
        trendModel model;
        QCOMPARE(model.retention(), trendModel::DefaultRetentionMs);
        if (retentionMs > 0)
            model.setRetention(retentionMs);
        QObject a, b;
        model.addSeries(&a, QStringLiteral("A"));
        model.addSeries(&b, QStringLiteral("B"));
        for (qint64 minute = 0; minute <= 12; ++minute) {
            model.append(&a, at(minute * 60), true, QString::number(minute));
            if (minute <= 3)
                model.append(&b, at(minute * 60), minute != 2, QString::number(minute));
        }
        QCOMPARE(keptSeconds(model.series(&a), false), expectA);
        QCOMPARE(keptSeconds(model.series(&b), false), expectB);
        // A shorter retention set later drops what it no longer keeps.
        model.setRetention(60000);
        QCOMPARE(keptSeconds(model.series(&a), false), (QList<qint64> {660, 720}));
    }

    // Pausing freezes what is visible; values keep arriving and the frozen
    // ones outlive the retention time until the resume.
    void pause()
    {
        trendModel model;
        model.setRetention(120000);
        QObject row;
        model.addSeries(&row, QStringLiteral("R"));
        model.append(&row, at(0), true, QStringLiteral("1"));
        model.append(&row, at(60), true, QStringLiteral("2"));
        model.setPaused(true);
        QVERIFY(model.isPaused());
        QObject late;
        model.addSeries(&late, QStringLiteral("L"));
        for (qint64 s = 120; s <= 600; s += 60) {
            model.append(&row, at(s), true, QStringLiteral("3"));
            model.append(&late, at(s), true, QStringLiteral("4"));
        }
        trendCurveData data(model.series(&row));
        QCOMPARE(keptSeconds(model.series(&row), true), (QList<qint64> {0, 60}));
        QCOMPARE(data.size(), size_t(2));
        QCOMPARE(data.boundingRect().height(), 1.0);
        QCOMPARE(model.series(&row)->size(), 11);
        QCOMPARE(model.series(&late)->visibleCount(), 0);
        model.setPaused(false);
        QCOMPARE(keptSeconds(model.series(&row), true), (QList<qint64> {480, 540, 600}));
        QCOMPARE(keptSeconds(model.series(&late), true), (QList<qint64> {480, 540, 600}));
        QCOMPARE(data.size(), size_t(3));
        QCOMPARE(data.boundingRect().height(), 0.0);
    }

    // Rows come and go: a removed or destroyed row takes its series and its
    // curve with it; the curve carries the row's description.
    void seriesFollowRows()
    {
        trendModel model;
        auto first = std::make_unique<QObject>();
        QObject second;
        model.addSeries(first.get(), QStringLiteral("Counter"));
        trendPlot plot(&model);
        model.addSeries(&second, QStringLiteral("Voltage"));
        model.addSeries(&second, QStringLiteral("again"));
        QCOMPARE(model.rows(), (QList<const QObject *> {first.get(), &second}));
        QVERIFY(plot.curve(first.get()));
        QCOMPARE(plot.curve(&second)->title().text(), QStringLiteral("Voltage"));
        model.setLabel(&second, QStringLiteral("Voltage L1"));
        QCOMPARE(plot.curve(&second)->title().text(), QStringLiteral("Voltage L1"));
        model.append(&second, at(0), true, QStringLiteral("230.1"));
        QCOMPARE(plot.curve(&second)->dataSize(), size_t(1));

        const QObject *gone = first.get();
        first.reset();
        QVERIFY(!model.hasSeries(gone));
        QVERIFY(!plot.curve(gone));
        QCOMPARE(model.rows(), (QList<const QObject *> {&second}));
        model.removeSeries(&second);
        QVERIFY(!model.hasSeries(&second));
        QVERIFY(!plot.curve(&second));
        QVERIFY(model.rows().isEmpty());
        QVERIFY(plot.isAutoscale());
    }
};

QTEST_MAIN(tst_trendModel)
#include "tst_trendmodel.moc"
