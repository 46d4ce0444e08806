#include "xlsxcellrange.h"

#include <QStringList>

namespace QXlsx {

CellRange::CellRange(int firstRow, int firstColumn, int lastRow, int lastColumn)
    : top(firstRow)
    , left(firstColumn)
    , bottom(lastRow)
    , right(lastColumn)
{ }

CellRange::CellRange(const CellReference &topLeft, const CellReference &bottomRight)
    : CellRange(topLeft.row(), topLeft.column(), bottomRight.row(), bottomRight.column())
{ }

CellRange::CellRange(const QString &range)
{
    const QStringList corners = range.split(QLatin1Char(':'));
    if (corners.size() > 2)
        return;
    const CellReference first(corners.first());
    const CellReference last(corners.last());
    if (!first.isValid() || !last.isValid())
        return;
    *this = CellRange(first, last);
    if (!isValid())
        *this = CellRange();
}

bool CellRange::isValid() const
{
    return topLeft().isValid() && bottomRight().isValid() && top <= bottom && left <= right;
}

QString CellRange::toString() const
{
    if (!isValid())
        return QString();
    if (top == bottom && left == right)
        return topLeft().toString();
    return topLeft().toString() + QLatin1Char(':') + bottomRight().toString();
}

} // namespace QXlsx
