#pragma once

#include "tableschema.h"

#include <QSqlDatabase>
#include <QString>

namespace QXlsx {
class PackageReader;
}

// Replaces the tables of one database kind with the rows of their worksheets.
//
// Everything happens in one transaction: the tables are emptied, every row
// from worksheet row 2 to the last row holding a value is inserted with the
// further columns filled in (rows without any value between them as rows of
// NULL), and the transaction is committed only when every statement
// succeeded. Any failure rolls all of it back, so the database keeps its
// earlier content. Worksheets are read as streams, one row at a time.
//
// An absent cell is stored as NULL, a text cell as its text (an empty one as
// ''), a number by its shortest decimal text, a boolean as "true" or "false".
class WorkbookImport
{
public:
    WorkbookImport(const QSqlDatabase &database, QXlsx::PackageReader &workbook);

    // False, with errorString(), when a worksheet of the kind is missing, the
    // workbook is damaged or a statement fails; the database is then unchanged.
    bool run(const DatabaseKind &kind);
    QString errorString() const { return error; }

private:
    bool execute(const QString &statement);
    bool importTable(const TableSchema &table);
    void rollBack();

    QSqlDatabase database;
    QXlsx::PackageReader &workbook;
    QString error;
};
