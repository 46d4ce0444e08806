#pragma once

#include "tableschema.h"

#include <QString>

class ConfigDatabase;
namespace QXlsx {
class Document;
}

// Writes the tables of one database kind to a new workbook, one worksheet per
// table with the column names in row 1 and one row per table row below. A
// table the database lacks still gets its worksheet with the header row, and
// a column a table lacks gives empty cells; both are warned about on standard
// error.
class WorkbookExport
{
public:
    explicit WorkbookExport(const ConfigDatabase &database);

    // Reads every table of the kind and saves the workbook as fileName. False
    // when a table cannot be read or the workbook cannot be saved; the file
    // is then left as it was.
    bool run(const DatabaseKind &kind, const QString &fileName);
    QString errorString() const { return error; }

private:
    bool exportTable(const TableSchema &table, QXlsx::Document &workbook);

    const ConfigDatabase &database;
    QString error;
};
