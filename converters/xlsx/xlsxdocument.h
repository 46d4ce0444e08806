#pragma once

#include "xlsxcellrange.h"
#include "xlsxformat.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

namespace QXlsx {

class Worksheet;

// An xlsx workbook: named worksheets of cells, one of them current.
//
// A new document has no worksheet; the first write adds "Sheet1" when none
// was added. A document opened from a file holds every worksheet of it, the
// first one current; isLoadPackage() tells whether the file could be read.
class Document
{
public:
    Document();
    // Reads the workbook file; on failure the document is empty and
    // isLoadPackage() is false.
    explicit Document(const QString &xlsxName);
    ~Document();
    Document(const Document &) = delete;
    Document &operator=(const Document &) = delete;

    bool isLoadPackage() const { return loaded; }
    // Why the file could not be read, or the last save failed.
    QString errorString() const { return error; }

    // Appends an ordinary worksheet and makes it current. An empty name gives
    // "SheetN". Fails for a name that spreadsheet programs refuse (longer than
    // 31 characters, one of : \ / ? * [ ], a leading or trailing apostrophe,
    // a control character) or that the workbook already has (in any case).
    bool addSheet(const QString &name = QString());
    // Makes the worksheet of exactly this name current; false when there is none.
    bool selectSheet(const QString &name);
    QStringList sheetNames() const;
    Worksheet *currentWorksheet() const { return current; }

    // Writes a value into the current worksheet (see Worksheet::write). Only
    // the default format is supported.
    bool write(int row, int column, const QVariant &value, const Format &format = Format());
    bool write(const QString &cell, const QVariant &value, const Format &format = Format());
    // The value of a cell of the current worksheet; null when it is empty.
    QVariant read(int row, int column) const;
    QVariant read(const QString &cell) const;
    // The used range of the current worksheet; invalid when it holds no cell.
    CellRange dimension() const;

    // Writes the workbook. The file is replaced only once the whole workbook
    // has been written, so a failed save leaves an existing file as it was.
    bool saveAs(const QString &xlsName);

private:
    std::vector<std::unique_ptr<Worksheet>> sheets;
    Worksheet *current = nullptr;
    bool loaded = false;
    QString error;
};

} // namespace QXlsx
