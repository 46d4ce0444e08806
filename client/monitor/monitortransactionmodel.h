#pragma once

#include "monitortransaction.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QVector>

#include <deque>

// The transactions of a listening as a table, one row each in the order
// they came, with a bound on the rows kept: once a batch would take the
// table past it, the oldest rows go first. Rows are appended in batches, so
// that a view follows thousands a second with a few updates.
class monitorTransactionModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int DefaultLimit = 100000;

    explicit monitorTransactionModel(int limit = DefaultLimit, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    const monitorTransaction &at(int row) const { return kept[size_t(row)]; }
    int limit() const { return maximum; }
    // Kept rows that tell a failure.
    int failedCount() const { return failed; }
    // Rows that went to keep within the limit since the last clear().
    qint64 droppedCount() const { return dropped; }
    // The functions of the rows since the last clear(), sorted.
    QStringList functions() const { return functionNames; }

    // Appends the batch, dropping the oldest rows beyond the limit.
    void append(const QVector<monitorTransaction> &batch);
    // Drops every row and forgets the functions and the count of dropped rows.
    void clear();

signals:
    // A function not seen before came, or clear() forgot them.
    void functionsChanged();

private:
    void dropOldest(int count);

    const int maximum;
    std::deque<monitorTransaction> kept;
    int failed = 0;
    qint64 dropped = 0;
    QStringList functionNames;
    // The columns of the row shown last: a view asks for a row's cells one
    // after another.
    mutable int cachedRow = -1;
    mutable QStringList cachedColumns;
};
