#pragma once

#include "xlsxxmlscanner.h"

#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

namespace QXlsx {

class SharedStrings;
class ZipReader;

// One cell that holds a value: text (QString, possibly empty), a number
// (double) or a boolean.
struct SheetCell
{
    int column;
    QVariant value;
};

// One <row> of a worksheet: its number and the cells in it that hold a
// value, in the order the part lists them. A row may have none.
struct SheetRow
{
    int number = 0;
    std::vector<SheetCell> cells;
};

// Reads the rows of one worksheet part as a stream, so that memory does not
// grow with the size of the sheet. Rows must come in ascending order and
// cells must lie in their row. A formula cell gives its stored result; one
// without a stored result gives no value and a warning naming the sheet and
// the cell. Any damage ends the reading with an error.
class SheetReader
{
public:
    using Warn = std::function<void(const QString &)>;

    // The zip reader and the shared strings must outlive the sheet reader;
    // strings is null for a workbook without a shared string table.
    SheetReader(ZipReader &zip, const QString &part, const QString &sheetName,
        const SharedStrings *strings, Warn warn);

    // Opens the part and reads up to its first row.
    bool open();
    // The next row; false at the end of the sheet or on an error.
    bool nextRow(SheetRow *row);
    bool hasError() const { return !error.isEmpty(); }
    QString errorString() const { return error; }

private:
    bool readCell(int row, int *column, SheetRow *into);
    bool finish();
    bool fail(const QString &message);
    bool failXml();

    ZipReader &zip;
    QString part;
    QString sheetName;
    const SharedStrings *strings;
    Warn warn;
    std::unique_ptr<XmlScanner> xml;
    bool done = false;
    int lastRow = 0;
    QByteArray attributeValue;
    QByteArray stored;
    QByteArray inlineText;
    QString error;
};

} // namespace QXlsx
