#include "workbookimport.h"

#include "xlsxdocument.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>

static QString tr(const char *text)
{
    return QCoreApplication::translate("WorkbookImport", text);
}

WorkbookImport::WorkbookImport(const QSqlDatabase &database, QXlsx::Document &workbook)
    : database(database)
    , workbook(workbook)
{ }

bool WorkbookImport::run(const DatabaseKind &kind)
{
    for (const TableSchema &table : kind.tables) {
        if (!workbook.selectSheet(table.sheet)) {
            error = tr("The workbook has no worksheet %1").arg(table.sheet);
            return false;
        }
    }
    if (!execute(QStringLiteral("BEGIN TRANSACTION;")))
        return false;
    for (const QString &statement : kind.emptyingStatements) {
        if (!execute(statement)) {
            rollBack();
            return false;
        }
    }
    for (const TableSchema &table : kind.tables) {
        if (!importTable(table)) {
            rollBack();
            return false;
        }
    }
    if (!execute(QStringLiteral("COMMIT;"))) {
        rollBack();
        return false;
    }
    return true;
}

bool WorkbookImport::execute(const QString &statement)
{
    QSqlQuery query(database);
    if (!query.exec(statement)) {
        error = tr("%1 fails: %2").arg(statement, query.lastError().text());
        return false;
    }
    return true;
}

bool WorkbookImport::importTable(const TableSchema &table)
{
    workbook.selectSheet(table.sheet);
    QSqlQuery insert(database);
    if (!insert.prepare(table.insertStatement)) {
        error = tr("Table %1 cannot take rows: %2").arg(table.table, insert.lastError().text());
        return false;
    }
    // Every row below the header down to the last used one; a sheet whose used
    // range starts below row 1 loses none of its rows.
    const int lastRow = workbook.dimension().lastRow();
    for (int row = 2; row <= lastRow; ++row) {
        for (int column = 0; column < table.columns.size(); ++column) {
            QString text = workbook.read(row, column + 1).toString();
            if (column == table.quotedColumn)
                text.remove(QLatin1Char('"'));
            // An empty cell, whether absent or holding empty text, is stored as
            // NULL: the value a cell that spreadsheet programs leave out reads as.
            if (text.isEmpty())
                text = QString();
            insert.bindValue(QLatin1Char(':') + table.columns.at(column), text);
        }
        for (const FurtherColumn &further : table.further) {
            insert.bindValue(QLatin1Char(':') + further.name,
                further.rowNumber ? QVariant(row) : QVariant(further.value));
        }
        if (!insert.exec()) {
            error = tr("Worksheet %1, row %2 cannot be stored in table %3: %4")
                        .arg(table.sheet)
                        .arg(row)
                        .arg(table.table, insert.lastError().text());
            return false;
        }
    }
    return true;
}

void WorkbookImport::rollBack()
{
    // SQLite may have rolled back on its own already (after a full disk, for
    // instance); a failing ROLLBACK then changes nothing.
    QSqlQuery query(database);
    query.exec(QStringLiteral("ROLLBACK;"));
}
