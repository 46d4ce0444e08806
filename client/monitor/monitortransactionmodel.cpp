#include "monitortransactionmodel.h"

#include <QBrush>
#include <QColor>

#include <algorithm>

monitorTransactionModel::monitorTransactionModel(int limit, QObject *parent)
    : QAbstractTableModel(parent)
    , maximum(qMax(1, limit))
{ }

int monitorTransactionModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(kept.size());
}

int monitorTransactionModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : monitorTransaction::ColumnCount;
}

QVariant monitorTransactionModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return QVariant();
    const monitorTransaction &transaction = at(index.row());
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole: {
        if (cachedRow != index.row()) {
            cachedColumns = transaction.columns();
            cachedRow = index.row();
        }
        const QString &text = cachedColumns.at(column);
        // The time of day with milliseconds; the date and offset in the tip.
        if (column == monitorTransaction::Time && role == Qt::DisplayRole)
            return text.mid(11, 12);
        return text;
    }
    case Qt::ForegroundRole:
        return transaction.failed ? QVariant(QBrush(QColor(Qt::darkRed))) : QVariant();
    case Qt::TextAlignmentRole:
        switch (column) {
        case monitorTransaction::Address:
        case monitorTransaction::Start:
        case monitorTransaction::Count:
        case monitorTransaction::ResponseMs:
            return int(Qt::AlignRight | Qt::AlignVCenter);
        default:
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        }
    default:
        return QVariant();
    }
}

QVariant monitorTransactionModel::headerData(
    int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case monitorTransaction::Time:
        return tr("Time");
    case monitorTransaction::Address:
        return tr("Address");
    case monitorTransaction::Function:
        return tr("Function");
    case monitorTransaction::Start:
        return tr("Start");
    case monitorTransaction::Count:
        return tr("Count");
    case monitorTransaction::Request:
        return tr("Request");
    case monitorTransaction::Reply:
        return tr("Reply");
    case monitorTransaction::ResponseMs:
        return tr("ms");
    case monitorTransaction::Status:
        return tr("Status");
    case monitorTransaction::RequestFrame:
        return tr("Request frame");
    case monitorTransaction::ReplyFrame:
        return tr("Reply frame");
    default:
        return QVariant();
    }
}

void monitorTransactionModel::append(const QVector<monitorTransaction> &batch)
{
    if (batch.isEmpty())
        return;
    // Of a batch larger than the limit only its newest rows stay.
    const int skipped = qMax(0, batch.size() - maximum);
    const int adding = batch.size() - skipped;
    dropped += skipped;
    dropOldest(int(kept.size()) + adding - maximum);

    bool newFunction = false;
    const int first = int(kept.size());
    beginInsertRows(QModelIndex(), first, first + adding - 1);
    for (int i = skipped; i < batch.size(); ++i) {
        const monitorTransaction &transaction = batch.at(i);
        kept.push_back(transaction);
        if (transaction.failed)
            ++failed;
        const QString &function = transaction.function;
        if (function.isEmpty())
            continue;
        const auto place = std::lower_bound(functionNames.begin(), functionNames.end(), function);
        if (place == functionNames.end() || *place != function) {
            functionNames.insert(place, function);
            newFunction = true;
        }
    }
    endInsertRows();
    if (newFunction)
        emit functionsChanged();
}

void monitorTransactionModel::dropOldest(int count)
{
    count = qMin(count, int(kept.size()));
    if (count <= 0)
        return;
    beginRemoveRows(QModelIndex(), 0, count - 1);
    for (int i = 0; i < count; ++i) {
        if (kept.front().failed)
            --failed;
        kept.pop_front();
    }
    cachedRow = -1;
    dropped += count;
    endRemoveRows();
}

void monitorTransactionModel::clear()
{
    beginResetModel();
    kept.clear();
    failed = 0;
    dropped = 0;
    cachedRow = -1;
    endResetModel();
    if (!functionNames.isEmpty()) {
        functionNames.clear();
        emit functionsChanged();
    }
}
