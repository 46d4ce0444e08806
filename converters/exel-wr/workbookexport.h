#pragma once

#include "tableschema.h"

#include <QString>

class ConfigDatabase;
class QIODevice;
namespace QXlsx {
class PackageWriter;
}

// Writes the tables of one database kind as a workbook, one worksheet per
// table with the column names in row 1 and one row per table row below,
// streamed row by row as the database is read, so memory does not grow with
// the tables. The tables are read in one read transaction: the workbook is one
// consistent picture of the database. A database that fails SQLite's
// integrity check is not exported, and neither is one whose reading a stop
// signal ends.
//
// NULL is written as an absent cell and every other value as a text cell (an
// empty text as an empty text cell), so that the import gives back the same
// values. Warnings on standard error: a table the database lacks (its
// worksheet gets the header row only), a column a table lacks (its cells stay
// absent), a BLOB (a workbook cannot hold one; its cell stays absent), rows at
// the end of a table without any value (a worksheet cannot keep them) and
// texts longer than spreadsheet programs keep.
class WorkbookExport
{
public:
    explicit WorkbookExport(const ConfigDatabase &database);

    // Writes the workbook onto a device open for writing; fileName names it
    // in messages. False when the database is damaged, a table cannot be
    // read, the workbook cannot be written or a stop signal came.
    bool run(const DatabaseKind &kind, QIODevice *device, const QString &fileName);
    QString errorString() const { return error; }

private:
    bool checkIntegrity();
    bool exportTable(const TableSchema &table, QXlsx::PackageWriter &writer);
    bool failWriting(const QXlsx::PackageWriter &writer);

    const ConfigDatabase &database;
    QString fileName;
    QString error;
};
