#pragma once

#include "xlsxcellrange.h"

#include <QMap>
#include <QString>
#include <QVariant>

namespace QXlsx {

// One worksheet: its name and the cells that hold a value. A cell holds text
// (QString, possibly empty), a number (double) or a boolean; a cell without a
// value is simply absent.
class Worksheet
{
public:
    // Cells of one row by column, and the rows by row number, both ascending.
    using Row = QMap<int, QVariant>;
    using Rows = QMap<int, Row>;

    explicit Worksheet(const QString &name);

    QString sheetName() const { return name; }

    // Stores a value at a 1-based position inside the sheet. Strings (also
    // empty ones) stay text, whole and real numbers become doubles, booleans
    // stay booleans, other values that convert to text become text; a null
    // QVariant clears the cell. Returns false for a position outside the sheet,
    // a number that is not finite or a value that has no text form.
    bool write(int row, int column, const QVariant &value);
    // The cell's value; a null QVariant when the cell is empty.
    QVariant read(int row, int column) const;
    // The smallest range that holds every cell with a value; invalid when the
    // sheet has none.
    CellRange dimension() const;

    const Rows &rows() const { return cells; }

private:
    QString name;
    Rows cells;
};

} // namespace QXlsx
