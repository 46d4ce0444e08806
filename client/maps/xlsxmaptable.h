#pragma once

#include "maptable.h"

#include <QString>

// Register maps as xlsx workbooks: the first worksheet, one map line a row,
// read through the converters' workbook reader (row by row, so a large
// sheet takes little memory) and written through their workbook writer.
class xlsxMapTable
{
public:
    // The table of the first worksheet; false with *error on a file that is
    // no readable workbook or has no worksheet.
    static bool read(const QString &path, mapTable *table, QString *error);
    // Writes the table to a worksheet "Register map"; addresses and lengths
    // (whole numbers) as numbers, every other cell as text, so that a scale
    // keeps the digits it was written with.
    static bool write(const QString &path, const mapTable &table, const QList<int> &numberColumns,
        QString *error);
};
