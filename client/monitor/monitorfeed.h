#pragma once

#include "monitortransaction.h"

#include <QObject>
#include <QTimer>
#include <QVector>

#include <deque>

class monitorTransactionModel;

// Hands the transactions that come to the table in batches, at most one
// every BatchMs, so that thousands a second cost the view a few updates. While
// paused the table stays as it is and the transactions wait here, at most as
// many as the table keeps (the oldest dropped first); the end of the pause
// hands them over.
class monitorFeed : public QObject
{
    Q_OBJECT

public:
    static constexpr int BatchMs = 100;

    explicit monitorFeed(monitorTransactionModel *table, QObject *parent = nullptr);

    // Takes transactions for the next batch.
    void take(const QVector<monitorTransaction> &transactions);
    // Hands over what waits now, unless paused.
    void flush();

    bool isPaused() const { return paused; }
    void setPaused(bool on);

    // The transactions waiting for the next batch or for the end of the pause.
    const std::deque<monitorTransaction> &waitingTransactions() const { return waiting; }
    // Transactions dropped while waiting, since the last clear().
    qint64 droppedCount() const { return dropped; }
    // Drops what waits, and empties the table.
    void clear();

signals:
    // A batch went to the table, or what waits has changed while paused.
    void changed();

private:
    monitorTransactionModel *table;
    QTimer batchTimer;
    std::deque<monitorTransaction> waiting;
    bool paused = false;
    qint64 dropped = 0;
};
