#pragma once

#include "xlsxcellreference.h"

#include <QString>

namespace QXlsx {

// A rectangle of cells from its top-left to its bottom-right cell, 1-based.
// The default range is invalid and counts no rows and no columns.
class CellRange
{
public:
    CellRange() = default;
    CellRange(int firstRow, int firstColumn, int lastRow, int lastColumn);
    CellRange(const CellReference &topLeft, const CellReference &bottomRight);
    // Reads "A1:G5" or a single cell "B2"; anything else gives an invalid range.
    explicit CellRange(const QString &range);

    bool isValid() const;
    // "A1:G5", "B2" for a single cell, empty for an invalid range.
    QString toString() const;

    int firstRow() const { return top; }
    int lastRow() const { return bottom; }
    int firstColumn() const { return left; }
    int lastColumn() const { return right; }
    int rowCount() const { return bottom - top + 1; }
    int columnCount() const { return right - left + 1; }
    CellReference topLeft() const { return CellReference(top, left); }
    CellReference bottomRight() const { return CellReference(bottom, right); }

    bool operator==(const CellRange &other) const
    {
        return top == other.top && left == other.left && bottom == other.bottom
            && right == other.right;
    }
    bool operator!=(const CellRange &other) const { return !(*this == other); }

private:
    int top = -1;
    int left = -1;
    int bottom = -2;
    int right = -2;
};

} // namespace QXlsx
