#include "monitorfiltermodel.h"

#include "monitortransactionmodel.h"

monitorFilterModel::monitorFilterModel(monitorTransactionModel *transactions, QObject *parent)
    : QSortFilterProxyModel(parent)
    , transactions(transactions)
{
    setSourceModel(transactions);
}

void monitorFilterModel::setFilter(const monitorFilter &filter)
{
    if (filter == current)
        return;
    current = filter;
    // One change of layout rather than a removal for every run of rows the
    // filter now leaves out: far quicker on a table of many rows.
    invalidate();
}

bool monitorFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    return !sourceParent.isValid() && current.accepts(transactions->at(sourceRow));
}
