#include "xlsxworksheet.h"

#include <cmath>

namespace QXlsx {

Worksheet::Worksheet(const QString &name)
    : name(name)
{ }

// The value as the sheet keeps it, or a null QVariant when it cannot be kept.
static QVariant cellValue(const QVariant &value, bool *ok)
{
    *ok = true;
    switch (value.userType()) {
    case QMetaType::QString: {
        const QString text = value.toString();
        // A null string would read back as an empty cell: keep it as empty text.
        return text.isNull() ? QVariant(QString(QLatin1String(""))) : value;
    }
    case QMetaType::Bool:
        return value;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Float:
    case QMetaType::Double: {
        const double number = value.toDouble();
        *ok = std::isfinite(number);
        return *ok ? QVariant(number) : QVariant();
    }
    default:
        if (value.canConvert<QString>())
            return cellValue(QVariant(value.toString()), ok);
        *ok = false;
        return QVariant();
    }
}

bool Worksheet::write(int row, int column, const QVariant &value)
{
    if (!CellReference(row, column).isValid())
        return false;
    if (value.isNull() && value.userType() != QMetaType::QString) {
        auto found = cells.find(row);
        if (found != cells.end()) {
            found->remove(column);
            if (found->isEmpty())
                cells.erase(found);
        }
        return true;
    }
    bool ok = false;
    const QVariant kept = cellValue(value, &ok);
    if (!ok)
        return false;
    cells[row].insert(column, kept);
    return true;
}

QVariant Worksheet::read(int row, int column) const
{
    const auto found = cells.constFind(row);
    if (found == cells.constEnd())
        return QVariant();
    return found->value(column);
}

CellRange Worksheet::dimension() const
{
    if (cells.isEmpty())
        return CellRange();
    int firstColumn = MaxColumns;
    int lastColumn = 1;
    for (const Row &row : cells) {
        firstColumn = qMin(firstColumn, row.firstKey());
        lastColumn = qMax(lastColumn, row.lastKey());
    }
    return CellRange(cells.firstKey(), firstColumn, cells.lastKey(), lastColumn);
}

} // namespace QXlsx
