#include "monitorfeed.h"

#include "monitortransactionmodel.h"

monitorFeed::monitorFeed(monitorTransactionModel *table, QObject *parent)
    : QObject(parent)
    , table(table)
{
    batchTimer.setSingleShot(true);
    batchTimer.setInterval(BatchMs);
    connect(&batchTimer, &QTimer::timeout, this, &monitorFeed::flush);
}

void monitorFeed::take(const QVector<monitorTransaction> &transactions)
{
    if (transactions.isEmpty())
        return;
    waiting.insert(waiting.end(), transactions.begin(), transactions.end());
    const qint64 beyond = qint64(waiting.size()) - table->limit();
    if (beyond > 0) {
        waiting.erase(waiting.begin(), waiting.begin() + beyond);
        dropped += beyond;
    }
    if (paused)
        emit changed();
    else if (!batchTimer.isActive())
        batchTimer.start();
}

void monitorFeed::flush()
{
    batchTimer.stop();
    if (paused || waiting.empty())
        return;
    const QVector<monitorTransaction> batch(waiting.begin(), waiting.end());
    waiting.clear();
    table->append(batch);
    emit changed();
}

void monitorFeed::setPaused(bool on)
{
    if (on == paused)
        return;
    paused = on;
    if (paused) {
        batchTimer.stop();
        emit changed();
    } else {
        flush();
    }
}

void monitorFeed::clear()
{
    batchTimer.stop();
    waiting.clear();
    dropped = 0;
    table->clear();
    emit changed();
}
