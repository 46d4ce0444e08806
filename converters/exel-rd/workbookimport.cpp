#include "workbookimport.h"

#include "reportprinter.h"
#include "tableinsert.h"
#include "xlsxpackagereader.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>

#include <memory>

static QString tr(const char *text)
{
    return QCoreApplication::translate("WorkbookImport", text);
}

WorkbookImport::WorkbookImport(const QSqlDatabase &database, QXlsx::PackageReader &workbook)
    : database(database)
    , workbook(workbook)
{ }

bool WorkbookImport::run(const DatabaseKind &kind)
{
    const QStringList sheets = workbook.sheetNames();
    for (const TableSchema &table : kind.tables) {
        if (!sheets.contains(table.sheet)) {
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
    const std::unique_ptr<QXlsx::SheetReader> sheet = workbook.openSheet(
        table.sheet, [](const QString &warning) { printError(warning + QStringLiteral("<br>")); });
    if (!sheet) {
        error = workbook.errorString();
        return false;
    }
    TableInsert insert(database, table);
    if (!insert.prepare()) {
        error = tr("Table %1 cannot take rows: %2").arg(table.table, insert.errorString());
        return false;
    }
    const auto store = [&](int row) {
        if (insert.insert(row))
            return true;
        error = tr("Worksheet %1, row %2 cannot be stored in table %3: %4")
                    .arg(table.sheet)
                    .arg(row)
                    .arg(table.table, insert.errorString());
        return false;
    };

    // Rows from 2 onwards; a row without any value counts only when a row
    // with values follows it, so blank rows at the end are not taken.
    int lastStored = 1;
    QXlsx::SheetRow row;
    QByteArray unquoted;
    while (sheet->nextRow(&row)) {
        if (row.number < 2 || row.cells.empty())
            continue;
        insert.clear();
        for (int blank = lastStored + 1; blank < row.number; ++blank) {
            if (!store(blank))
                return false;
        }
        for (const QXlsx::SheetCell &cell : row.cells) {
            const int column = cell.column - 1;
            if (column >= table.columns.size())
                continue;
            if (column != table.quotedColumn) {
                insert.setText(column, cell.text);
                continue;
            }
            unquoted = cell.text;
            unquoted.replace('"', QByteArray());
            insert.setText(column, unquoted);
        }
        if (!store(row.number))
            return false;
        lastStored = row.number;
    }
    if (sheet->hasError()) {
        error = tr("The workbook cannot be read: %1").arg(sheet->errorString());
        return false;
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
