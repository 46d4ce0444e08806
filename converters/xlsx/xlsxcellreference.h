#pragma once

#include <QString>

namespace QXlsx {

// The largest sheet that spreadsheet programs accept.
constexpr int MaxRows = 1048576;
constexpr int MaxColumns = 16384; // column XFD

// The position of one cell, 1-based, written as "A1" ... "XFD1048576".
class CellReference
{
public:
    CellReference() = default;
    CellReference(int row, int column);
    // Reads "B7" (column letters in upper or lower case, "$" signs allowed);
    // anything else, or a position outside the sheet, gives an invalid reference.
    explicit CellReference(const QString &cell);

    bool isValid() const;
    int row() const { return cellRow; }
    int column() const { return cellColumn; }
    // "B7"; empty for an invalid reference.
    QString toString() const;

    // Column letters of a 1-based column number: 1 gives "A", 27 gives "AA".
    static QString columnName(int column);

    bool operator==(const CellReference &other) const
    {
        return cellRow == other.cellRow && cellColumn == other.cellColumn;
    }
    bool operator!=(const CellReference &other) const { return !(*this == other); }

private:
    int cellRow = -1;
    int cellColumn = -1;
};

} // namespace QXlsx
