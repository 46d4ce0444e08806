// The monitor window under a busy bus: 100,000 transactions of
// qelDrvMonitor's CSV rows read, then handed to the shown table in the
// window's batches (what 100 ms of a 115200-baud line at its fastest
// brings) up to the bound of kept rows and past it, against handing them
// over one by one; the processor time of each hand-over, its median and
// slowest, and the share of a core a line at its fastest would take. Then a
// round of filter changes over the full table, the window's way (one change
// of layout) against the proxy's own re-filtering; the memory of the kept
// rows, Save as CSV and Clear. Run with QT_QPA_PLATFORM=offscreen or on a
// display.
#include "monitorfeed.h"
#include "monitorfilter.h"
#include "monitorfiltermodel.h"
#include "monitoroutputreader.h"
#include "monitortransactionmodel.h"
#include "monitorwindow.h"
#include "processortime.h"
#include "userprompts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <malloc.h>
#include <numeric>
#include <vector>

namespace {

// The most transactions a second on a 115200-baud line: a write of one
// register and its echo, 8 bytes each, with 3.5 characters of silence after
// each frame, 10 bits a character.
constexpr double LineTransactionsPerSecond = 115200.0 / 10 / (8 + 3.5 + 8 + 3.5);

QByteArray row(const QString &time, const QString &direction, int address, const QString &function,
    const QString &start, const QString &count, const QString &values, const QString &ms,
    const QString &status, const QString &hex)
{
    return (QStringList {time, direction, QString::number(address), function, start, count, values,
                ms, status, hex}
                .join(QLatin1Char(','))
        + QStringLiteral("\r\n"))
        .toUtf8();
}

// Transaction n of a poll of three devices: reads of ten registers, a write,
// every 50th an exception, every 100th without a reply.
QByteArray transactionRows(int n)
{
    const QString time = QStringLiteral("2024-05-07T10:%1:%2.%3+02:00")
                             .arg(n / 60000 % 60, 2, 10, QLatin1Char('0'))
                             .arg(n / 1000 % 60, 2, 10, QLatin1Char('0'))
                             .arg(n % 1000, 3, 10, QLatin1Char('0'));
    const int address = 1 + n % 3;
    if (n % 100 == 99)
        return row(time, "request", address, "Read Holding Registers", "100", "10", "", "",
            "no reply", "01 03 00 64 00 0A 84 12");
    if (n % 50 == 49)
        return row(time, "request", address, "Read Input Registers", "0", "10", "", "", "OK",
                   "01 04 00 00 00 0A 70 0D")
            + row(time, "reply", address, "Read Input Registers", "", "", "", "4",
                "Illegal data address", "01 84 02 C2 C1");
    if (n % 4 == 3)
        return row(time, "request", address, "Write Single Register", "200", "1", "5", "", "OK",
                   "01 06 00 C8 00 05 48 37")
            + row(time, "reply", address, "Write Single Register", "200", "1", "5", "3", "OK",
                "01 06 00 C8 00 05 48 37");
    return row(time, "request", address, "Read Holding Registers", "100", "10", "", "", "OK",
               "01 03 00 64 00 0A 84 12")
        + row(time, "reply", address, "Read Holding Registers", "", "",
            QStringLiteral("1234 64302 4660 %1 2 3 4 5 6 7").arg(n % 65536),
            QString::number(n % 7 + 2), "OK",
            "01 03 14 04 D2 FB 2E 12 34 00 01 00 02 00 03 00 04 00 05 00 06 00 07 9A 3C");
}

// Bytes the program's allocations hold now.
double heldBytes()
{
    return double(mallinfo2().uordblks);
}

// The CSV rows of transactions first to first + count - 1, header first when
// first is 0.
QByteArray monitorOutput(int first, int count)
{
    QByteArray output = first == 0 ? monitorOutputReader::expectedHeader() : QByteArray();
    for (int n = first; n < first + count; ++n)
        output += transactionRows(n);
    return output;
}

// The transactions of the CSV rows of transactions first to first + count - 1.
QVector<monitorTransaction> transactions(monitorOutputReader &reader, int first, int count)
{
    return reader.feed(monitorOutput(first, count));
}

// How the hand-overs of one run went: the processor time of each.
struct handOvers
{
    std::vector<double> ms;
    int transactions = 0;

    double total() const { return std::accumulate(ms.begin(), ms.end(), 0.0); }
    double median() const
    {
        std::vector<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        return sorted.empty() ? 0 : sorted[sorted.size() / 2];
    }
    double slowest() const { return ms.empty() ? 0 : *std::max_element(ms.begin(), ms.end()); }
    double microsecondsEach() const { return 1000.0 * total() / transactions; }
};

// Hands transactions to the window in pieces of size, each followed by the
// event loop's work (the view's update and paint), as the window's batches
// go to the table.
handOvers handOver(monitorWindow &window, const QVector<monitorTransaction> &all, int size)
{
    handOvers run;
    for (int at = 0; at < all.size(); at += size) {
        const double start = processorMs();
        window.feed()->take(all.mid(at, size));
        window.feed()->flush();
        QCoreApplication::processEvents();
        run.ms.push_back(processorMs() - start);
    }
    run.transactions = all.size();
    return run;
}

void printHandOvers(const char *what, const handOvers &run)
{
    std::printf("%-44s %7.0f ms  %6.1f us a transaction, a hand-over %5.2f ms median, "
                "%6.2f ms slowest\n",
        what, run.total(), run.microsecondsEach(), run.median(), run.slowest());
}

// The share of one processor core that a line at its fastest would take at
// this cost a transaction.
double coreShare(double microsecondsEach)
{
    return LineTransactionsPerSecond * microsecondsEach / 1e4;
}

// The same filter as the window's, applied the other way: the proxy's own
// re-filtering, which removes and inserts the rows run by run.
class filterByRuns : public QSortFilterProxyModel
{
public:
    explicit filterByRuns(monitorTransactionModel *transactions)
        : table(transactions)
    {
        setSourceModel(transactions);
    }

    void setFilter(const monitorFilter &filter)
    {
        current = filter;
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &) const override
    {
        return current.accepts(table->at(sourceRow));
    }

private:
    monitorTransactionModel *table;
    monitorFilter current;
};

// The processor time of the changes of filter, each with the view's update.
template<class Apply> double filterChanges(const QVector<monitorFilter> &filters, Apply apply)
{
    const double start = processorMs();
    for (const monitorFilter &filter : filters) {
        apply(filter);
        QCoreApplication::processEvents();
    }
    return processorMs() - start;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    const int count = monitorTransactionModel::DefaultLimit;
    // The transactions of one of the window's batches with the line at its fastest.
    const int batch = int(LineTransactionsPerSecond * monitorFeed::BatchMs / 1000);

    std::printf("%d transactions of a poll of three devices; a 115200-baud line carries at most "
                "%.0f a second, %d in one of the window's batches (%d ms)\n",
        count, LineTransactionsPerSecond, batch, monitorFeed::BatchMs);

    // Reading the monitor's rows as they come through its pipe.
    {
        QByteArray output = monitorOutput(0, count);
        monitorOutputReader reader;
        int read = 0;
        const double start = processorMs();
        for (int at = 0; at < output.size(); at += 16384)
            read += reader.feed(output.mid(at, 16384)).size();
        const double ms = processorMs() - start;
        std::printf("%-44s %7.0f ms  %6.1f us a transaction, %.1f MB; %.0fx the line's rate\n",
            "reading the CSV rows", ms, 1000.0 * ms / read, output.size() / 1e6,
            read / (ms / 1000.0) / LineTransactionsPerSecond);
    }

    userPrompts prompts;
    monitorWindow window(
        QStringLiteral("qelDrvMonitor"), &prompts, [] { return QString(); },
        [] { return QStringList(); });
    window.resize(1200, 700);
    window.show();
    QCoreApplication::processEvents();

    // The rows share their bytes with the transactions handed over: what
    // stays once those are gone is what the table keeps.
    const double before = heldBytes();
    monitorOutputReader reader;
    QVector<monitorTransaction> all = transactions(reader, 0, count);
    const handOvers filling = handOver(window, all, batch);
    all.clear();
    all.squeeze();
    const double kept = heldBytes() - before;
    std::printf("\nInto the shown table, following its newest row:\n");
    printHandOvers("up to the bound, in batches", filling);
    std::printf("%-44s %7.1f MB  %6.0f bytes a transaction\n", "memory of the kept rows",
        kept / 1e6, kept / count);

    // Past the bound every hand-over drops as many of the oldest rows.
    all = transactions(reader, count, count / 5);
    const handOvers batched = handOver(window, all, batch);
    printHandOvers("past the bound, in batches", batched);
    all = transactions(reader, count + count / 5, 1000);
    const handOvers single = handOver(window, all, 1);
    printHandOvers("past the bound, one by one", single);
    std::printf("%-44s %7.1fx; at the line's fastest %.1f%% of a core in batches, %.1f%% one "
                "by one\n",
        "one by one / in batches", single.microsecondsEach() / batched.microsecondsEach(),
        coreShare(batched.microsecondsEach()), coreShare(single.microsecondsEach()));
    std::printf("%-44s %7.1f MB\n", "memory at the bound", (heldBytes() - before) / 1e6);

    // A round of filter changes over the full table, with the window's
    // filter (one change of layout) and with the proxy's own re-filtering.
    QVector<monitorFilter> filters(4);
    filters[0].failedOnly = true;
    filters[1].address = 2;
    filters[2].function = QStringLiteral("Write Single Register");
    const double layout = filterChanges(
        filters, [&](const monitorFilter &filter) { window.shown()->setFilter(filter); });
    window.shown()->setFilter(filters[0]);
    const int failedShown = window.shown()->rowCount();
    window.shown()->setFilter(monitorFilter());
    QCoreApplication::processEvents();

    QTableView *view = window.findChild<QTableView *>(QStringLiteral("table"));
    filterByRuns byRuns(window.transactions());
    view->setModel(&byRuns);
    QCoreApplication::processEvents();
    const double runs
        = filterChanges(filters, [&](const monitorFilter &filter) { byRuns.setFilter(filter); });
    byRuns.setFilter(filters[0]);
    const bool same = byRuns.rowCount() == failedShown;
    view->setModel(window.shown());
    QCoreApplication::processEvents();
    std::printf("\nFilter changes over %d rows (errors only, an address, a function, all):\n",
        window.transactions()->rowCount());
    std::printf("%-44s %7.1f ms  %.1f ms a change\n", "one change of layout (the window's)", layout,
        layout / filters.size());
    std::printf("%-44s %7.1f ms  %.1f ms a change%s\n", "re-filtered run by run", runs,
        runs / filters.size(), same ? "" : " (DIFFERENT ROWS)");
    std::printf("%-44s %7.1fx\n", "run by run / change of layout", runs / layout);

    QTemporaryDir folder;
    QElapsedTimer timer;
    timer.start();
    const QString path = folder.filePath(QStringLiteral("monitor.csv"));
    const bool saved = window.saveTo(path);
    std::printf("\n%-44s %7lld ms  %.1f MB%s\n", "Save as CSV", timer.elapsed(),
        QFileInfo(path).size() / 1e6, saved ? "" : " (failed)");

    timer.restart();
    window.feed()->clear();
    QCoreApplication::processEvents();
    std::printf("%-44s %7lld ms\n", "Clear", timer.elapsed());
    return same && saved ? 0 : 1;
}
