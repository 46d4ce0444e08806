#pragma once

#include "tableschema.h"

#include <QSqlDatabase>
#include <QString>

namespace QXlsx {
class Document;
}

// Replaces the tables of one database kind with the rows of their worksheets.
//
// Everything happens in one transaction: the tables are emptied, every row
// from worksheet row 2 to the last used row is inserted with the further
// columns filled in, and the transaction is committed only when every
// statement succeeded. Any failure rolls all of it back, so the database
// keeps its earlier content.
class WorkbookImport
{
public:
    WorkbookImport(const QSqlDatabase &database, QXlsx::Document &workbook);

    // False, with errorString(), when a worksheet of the kind is missing or a
    // statement fails; the database is then unchanged.
    bool run(const DatabaseKind &kind);
    QString errorString() const { return error; }

private:
    bool execute(const QString &statement);
    bool importTable(const TableSchema &table);
    void rollBack();

    QSqlDatabase database;
    QXlsx::Document &workbook;
    QString error;
};
