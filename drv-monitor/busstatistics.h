#pragma once

#include "bustransaction.h"

#include <QPair>
#include <QString>
#include <QVector>

#include <map>
#include <vector>

// Counts of a listening: frames, transactions, failures by kind, and the
// response times of every address.
class BusStatistics
{
public:
    void add(const BusTransaction &transaction);

    qint64 frames() const { return frameCount; }
    qint64 transactions() const { return transactionCount; }
    // Each kind of failure once, in the order first seen, with its count.
    const QVector<QPair<QString, qint64>> &errors() const { return errorCounts; }

    // The summary (report markup): "Frames: 12", "Transactions: 6", "Noise
    // bytes: 0", "Errors: 3" with one line per kind (" no reply: 1"), then
    // "Response times in ms:" with " address 1: min 3, median 4, max 9 (5
    // replies)" for every address that answered.
    QString summary(qint64 noiseBytes) const;

private:
    void countError(const QString &kind);

    qint64 frameCount = 0;
    qint64 transactionCount = 0;
    QVector<QPair<QString, qint64>> errorCounts;
    std::map<int, std::vector<qint64>> responseUs; // by address
};
