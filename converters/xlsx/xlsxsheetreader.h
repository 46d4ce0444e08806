#pragma once

#include "xlsxxmlscanner.h"

#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace QXlsx {

class SharedStrings;
class ZipReader;

// One cell that holds a value: a text (possibly empty), a number or a
// boolean, with the text it is stored as in a database.
struct SheetCell
{
    enum class Kind { Text, Number, Boolean };

    int column = 0;
    Kind kind = Kind::Text;
    // As UTF-8: a text with its "_xHHHH_" escapes undone (an error value or a
    // date as stored); a number in its shortest decimal form; a boolean as
    // "true" or "false".
    QByteArray text;
    double number = 0; // a number's value; a boolean's 1 or 0

    // The value as a QString, a double or a bool.
    QVariant value() const;
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
    // A cell's "t" attribute: how its content is to be read.
    enum class CellType { Number, SharedString, InlineString, FormulaString, Boolean, ErrorOrDate };

    // What a <c> element held.
    struct CellContent
    {
        CellType type = CellType::Number;
        bool stored = false; // a <v>, its text in `stored`
        bool inlined = false; // an <is>, its text in `inlineText`
        bool formula = false; // an <f>
        int sharedIndex = -1; // for a shared string cell
    };

    bool readRowNumber(int *number);
    bool readCells(SheetRow *row);
    bool readCell(int row, int *column, SheetRow *into);
    bool readCellPosition(int row, int *column);
    bool readCellContent(CellContent *content);
    static CellType typeOf(const QByteArray &t);
    bool findSharedString(int row, int column, CellContent *content);
    std::optional<SheetCell> valueOf(int column, const CellContent &content) const;
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
