#pragma once

#include "monitorfilter.h"

#include <QSortFilterProxyModel>

class monitorTransactionModel;

// The rows of a transaction table that a filter accepts, in their order.
class monitorFilterModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit monitorFilterModel(monitorTransactionModel *transactions, QObject *parent = nullptr);

    const monitorFilter &filter() const { return current; }
    void setFilter(const monitorFilter &filter);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    const monitorTransactionModel *transactions;
    monitorFilter current;
};
