#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include "xlsxzipwriter.h"

class QIODevice;

namespace QXlsx {

class CellRange;

// Writes the zip package of a workbook as a stream: content types,
// relationships, the workbook and a default style sheet first, then each
// worksheet row by row, so that memory does not grow with the rows.
//
// Text cells are either indexes into a shared string table written at the
// end, or inline strings, which need no table held in memory. Inline strings
// are left to texts that need no "_xHHHH_" escape: some readers (openpyxl)
// undo those escapes in shared strings only, so the rare text that needs one
// goes to the shared table all the same.
//
//   begin(names); for each sheet: beginSheet(), rows of beginRow(), cells,
//   endRow(); endSheet(); then finish().
//
// Rows must come in ascending order, cells of a row in ascending columns.
// Functions returning bool are false once writing failed (errorString()).
class PackageWriter
{
public:
    enum class Strings { Shared, Inline };

    // Writes onto a device open for writing, which the caller closes.
    PackageWriter(QIODevice *device, Strings strings);
    ~PackageWriter();
    PackageWriter(const PackageWriter &) = delete;
    PackageWriter &operator=(const PackageWriter &) = delete;

    // The worksheets in workbook order; there must be at least one.
    bool begin(const QStringList &sheetNames);
    // Starts the next worksheet; dimension is its used range (invalid: none).
    bool beginSheet(const CellRange &dimension);
    void beginRow(int row);
    void writeText(int column, const QString &text);
    void writeNumber(int column, double number);
    void writeBoolean(int column, bool value);
    bool endRow();
    bool endSheet();
    // Writes what remains and the zip directory.
    bool finish();
    QString errorString() const { return zip.errorString(); }

private:
    static constexpr int FlushSize = 256 * 1024;
    static constexpr int SheetCompression = 1; // deflate's fastest level

    void startCell(int column, const char *type);
    bool flush();
    QByteArray contentTypes() const;
    QByteArray rootRelationships() const;
    QByteArray workbook() const;
    QByteArray workbookRelationships() const;
    QByteArray styles() const;
    QByteArray sharedStrings() const;
    int sharedStringIndex(const QString &text);

    ZipWriter zip;
    Strings strings;
    QStringList sheetNames;
    int sheetsBegun = 0;
    bool rowsWritten = false;
    QByteArray rowNumber;
    QByteArray out;
    QHash<QString, int> stringIndexes;
    QStringList stringList;
    int stringCells = 0;
};

} // namespace QXlsx
