#include "xlsxcellreference.h"

namespace QXlsx {

CellReference::CellReference(int row, int column)
    : cellRow(row)
    , cellColumn(column)
{ }

CellReference::CellReference(const QString &cell)
{
    int i = 0;
    const int size = cell.size();
    if (i < size && cell.at(i) == QLatin1Char('$'))
        ++i;
    qint64 column = 0;
    const int lettersStart = i;
    for (; i < size && i - lettersStart < 4; ++i) {
        const ushort c = cell.at(i).toUpper().unicode();
        if (c < 'A' || c > 'Z')
            break;
        column = column * 26 + (c - 'A' + 1);
    }
    if (i == lettersStart)
        return;
    if (i < size && cell.at(i) == QLatin1Char('$'))
        ++i;
    qint64 row = 0;
    const int digitsStart = i;
    for (; i < size && i - digitsStart < 8; ++i) {
        const ushort c = cell.at(i).unicode();
        if (c < '0' || c > '9')
            break;
        row = row * 10 + (c - '0');
    }
    if (i == digitsStart || i != size || cell.at(digitsStart) == QLatin1Char('0'))
        return;
    if (row > MaxRows || column > MaxColumns)
        return;
    cellRow = int(row);
    cellColumn = int(column);
}

bool CellReference::isValid() const
{
    return cellRow >= 1 && cellRow <= MaxRows && cellColumn >= 1 && cellColumn <= MaxColumns;
}

QString CellReference::toString() const
{
    if (!isValid())
        return QString();
    return columnName(cellColumn) + QString::number(cellRow);
}

QString CellReference::columnName(int column)
{
    QString name;
    while (column > 0) {
        const int digit = (column - 1) % 26;
        name.prepend(QLatin1Char(char('A' + digit)));
        column = (column - 1) / 26;
    }
    return name;
}

} // namespace QXlsx
