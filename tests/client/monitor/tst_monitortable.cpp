#include "monitorfeed.h"
#include "monitorfiltermodel.h"
#include "monitorrows.h"
#include "monitortransactionmodel.h"

#include <QBrush>
#include <QSignalSpy>
#include <QtTest>

using namespace MonitorRows;

// The monitor's table: the bound on kept rows, the batches and the pause of
// the feed, and the filter.
class tst_monitorTable : public QObject
{
    Q_OBJECT

private slots:
    void boundOnKeptRows_data();
    void boundOnKeptRows();
    void functionsSeen();
    void shownTexts();
    void filter_data();
    void filter();
    void filterFollowsNewRowsAndDroppedOnes();
    void batches();
    void pauseKeepsCollecting();
    void clearDropsWaitingRows();
};

namespace {

// Transaction number n of a stream: addresses 1 to 3 in turn, every fifth one
// failed.
monitorTransaction numbered(int n)
{
    monitorTransaction transaction;
    transaction.address = 1 + n % 3;
    transaction.function = n % 2 ? "Read Input Registers" : "Read Holding Registers";
    transaction.failed = n % 5 == 0;
    transaction.rows = QByteArray::number(n);
    return transaction;
}

QVector<monitorTransaction> numbers(int from, int count)
{
    QVector<monitorTransaction> batch;
    for (int n = from; n < from + count; ++n)
        batch << numbered(n);
    return batch;
}

QList<int> rowNumbers(const QAbstractItemModel &model, const monitorTransactionModel &source)
{
    QList<int> found;
    const auto *proxy = qobject_cast<const QSortFilterProxyModel *>(&model);
    for (int row = 0; row < model.rowCount(); ++row) {
        const int sourceRow = proxy ? proxy->mapToSource(model.index(row, 0)).row() : row;
        found << source.at(sourceRow).rows.toInt();
    }
    return found;
}

QList<int> range(int from, int count)
{
    QList<int> list;
    for (int n = from; n < from + count; ++n)
        list << n;
    return list;
}

monitorTransaction fromRows(
    const QByteArray &rows, int address, const QString &function, bool failed)
{
    monitorTransaction transaction;
    transaction.rows = rows;
    transaction.address = address;
    transaction.function = function;
    transaction.failed = failed;
    return transaction;
}

} // namespace

void tst_monitorTable::boundOnKeptRows_data()
{
    QTest::addColumn<QList<int>>("batchSizes");
    QTest::addColumn<QList<int>>("kept");
    QTest::addColumn<int>("dropped");

    QTest::newRow("within the bound") << QList<int> {2, 3} << range(0, 5) << 0;
    QTest::newRow("the oldest rows go first") << QList<int> {3, 4} << range(2, 5) << 2;
    QTest::newRow("a batch larger than the bound") << QList<int> {2, 8} << range(5, 5) << 5;
    QTest::newRow("one row at a time") << QList<int> {1, 1, 1, 1, 1, 1, 1} << range(2, 5) << 2;
}

void tst_monitorTable::boundOnKeptRows()
{
    QFETCH(QList<int>, batchSizes);
    QFETCH(QList<int>, kept);
    QFETCH(int, dropped);

    monitorTransactionModel model(5);
    int next = 0;
    for (const int size : batchSizes) {
        model.append(numbers(next, size));
        next += size;
    }
    QCOMPARE(rowNumbers(model, model), kept);
    QCOMPARE(model.droppedCount(), qint64(dropped));
    int failed = 0;
    for (const int n : kept)
        failed += numbered(n).failed ? 1 : 0;
    QCOMPARE(model.failedCount(), failed);
}

void tst_monitorTable::functionsSeen()
{
    monitorTransactionModel model;
    QSignalSpy changed(&model, &monitorTransactionModel::functionsChanged);
    model.append({fromRows(readRequest(), 1, "Read Holding Registers", false),
        fromRows(badFrame(), -1, "", true), fromRows(macroRequest(), 1, "Macro", false)});
    QCOMPARE(model.functions(), QStringList({"Macro", "Read Holding Registers"}));
    QCOMPARE(changed.count(), 1);
    model.append({fromRows(readRequest(), 2, "Read Holding Registers", false)});
    QCOMPARE(changed.count(), 1);
    model.clear();
    QCOMPARE(model.functions(), QStringList());
    QCOMPARE(changed.count(), 2);
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.failedCount(), 0);
}

void tst_monitorTable::shownTexts()
{
    monitorTransactionModel model;
    model.append({fromRows(readRequest() + readReply(), 1, "Read Holding Registers", false),
        fromRows(exceptionRequest() + exceptionReply(), 2, "Read Input Registers", true)});
    const auto text = [&](int row, int column, int role = Qt::DisplayRole) {
        return model.data(model.index(row, column), role);
    };
    QCOMPARE(text(0, monitorTransaction::Time).toString(), QString("10:15:02.481"));
    QCOMPARE(text(0, monitorTransaction::Time, Qt::ToolTipRole).toString(),
        QString("2024-05-07T10:15:02.481+02:00"));
    QCOMPARE(text(0, monitorTransaction::Reply).toString(), QString("1234 64302 4660"));
    QCOMPARE(text(1, monitorTransaction::Status).toString(), QString("Illegal data address"));
    QCOMPARE(text(0, monitorTransaction::Status).toString(), QString("OK"));
    QVERIFY(!text(0, monitorTransaction::Status, Qt::ForegroundRole).isValid());
    QVERIFY(text(1, monitorTransaction::Status, Qt::ForegroundRole).value<QBrush>().color()
        != QColor(Qt::black));
    QCOMPARE(model.headerData(monitorTransaction::Function, Qt::Horizontal).toString(),
        QString("Function"));
    QVERIFY(!model.data(model.index(2, 0)).isValid());
}

void tst_monitorTable::filter_data()
{
    QTest::addColumn<int>("address");
    QTest::addColumn<QString>("function");
    QTest::addColumn<bool>("failedOnly");
    QTest::addColumn<QList<int>>("shown");

    QTest::newRow("everything") << -1 << "" << false << range(0, 12);
    QTest::newRow("one address") << 2 << "" << false << QList<int> {1, 4, 7, 10};
    QTest::newRow("one function") << -1 << "Read Input Registers" << false
                                  << QList<int> {1, 3, 5, 7, 9, 11};
    QTest::newRow("failed only") << -1 << "" << true << QList<int> {0, 5, 10};
    QTest::newRow("address and function")
        << 2 << "Read Holding Registers" << false << QList<int> {4, 10};
    QTest::newRow("all three") << 3 << "Read Input Registers" << true << QList<int> {5};
    QTest::newRow("an address nobody has") << 9 << "" << false << QList<int> {};
}

void tst_monitorTable::filter()
{
    QFETCH(int, address);
    QFETCH(QString, function);
    QFETCH(bool, failedOnly);
    QFETCH(QList<int>, shown);

    monitorTransactionModel model;
    monitorFilterModel filtered(&model);
    model.append(numbers(0, 12));
    filtered.setFilter({address, function, failedOnly});
    QCOMPARE(rowNumbers(filtered, model), shown);

    // The same when the filter is set first and the rows come after it.
    monitorTransactionModel later;
    monitorFilterModel filteredLater(&later);
    filteredLater.setFilter({address, function, failedOnly});
    later.append(numbers(0, 5));
    later.append(numbers(5, 7));
    QCOMPARE(rowNumbers(filteredLater, later), shown);
}

void tst_monitorTable::filterFollowsNewRowsAndDroppedOnes()
{
    monitorTransactionModel model(6);
    monitorFilterModel filtered(&model);
    filtered.setFilter({-1, QString(), true});
    model.append(numbers(0, 6));
    QCOMPARE(rowNumbers(filtered, model), QList<int>({0, 5}));
    model.append(numbers(6, 5)); // keeps 5 to 10
    QCOMPARE(rowNumbers(filtered, model), QList<int>({5, 10}));
    filtered.setFilter({});
    QCOMPARE(rowNumbers(filtered, model), range(5, 6));
}

// Transactions reach the table in a batch once the batch time is up, or at
// once on flush(); thousands of them make one update of the view.
void tst_monitorTable::batches()
{
    monitorTransactionModel model;
    monitorFeed feed(&model);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    for (int n = 0; n < 3000; n += 100)
        feed.take(numbers(n, 100));
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(int(feed.waitingTransactions().size()), 3000);
    QTRY_COMPARE_WITH_TIMEOUT(model.rowCount(), 3000, 30000);
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(rowNumbers(model, model), range(0, 3000));

    feed.take(numbers(3000, 1));
    feed.flush();
    QCOMPARE(model.rowCount(), 3001);
    QVERIFY(feed.waitingTransactions().empty());
}

// While paused the table stays as it is; what comes waits, at most as many
// as the table keeps, and goes to the table when the pause ends.
void tst_monitorTable::pauseKeepsCollecting()
{
    monitorTransactionModel model(10);
    monitorFeed feed(&model);
    feed.take(numbers(0, 4));
    feed.flush();
    feed.setPaused(true);
    QVERIFY(feed.isPaused());
    QSignalSpy changed(&feed, &monitorFeed::changed);
    feed.take(numbers(4, 5));
    feed.flush();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(rowNumbers(model, model), range(0, 4));
    QCOMPARE(int(feed.waitingTransactions().size()), 5);

    feed.take(numbers(9, 8)); // 13 waiting: the oldest 3 of them go
    QCOMPARE(int(feed.waitingTransactions().size()), 10);
    QCOMPARE(feed.droppedCount(), qint64(3));
    QCOMPARE(rowNumbers(model, model), range(0, 4));

    feed.setPaused(false);
    QCOMPARE(rowNumbers(model, model), range(7, 10));
    QVERIFY(feed.waitingTransactions().empty());
    QCOMPARE(model.droppedCount(), qint64(4));
}

void tst_monitorTable::clearDropsWaitingRows()
{
    monitorTransactionModel model;
    monitorFeed feed(&model);
    feed.take(numbers(0, 3));
    feed.flush();
    feed.setPaused(true);
    feed.take(numbers(3, 3));
    feed.clear();
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(feed.waitingTransactions().empty());
    feed.setPaused(false);
    QCOMPARE(model.rowCount(), 0);
    feed.take(numbers(6, 2));
    feed.flush();
    QCOMPARE(rowNumbers(model, model), QList<int>({6, 7}));
}

QTEST_MAIN(tst_monitorTable)
#include "tst_monitortable.moc"
