#include "workbookexport.h"

#include "configdatabase.h"
#include "reportprinter.h"
#include "xlsxdocument.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

// The longest text a cell holds in spreadsheet programs; longer texts are
// written in full, and read back in full here, but would be cut there.
static const int MaxCellText = 32767;

static QString tr(const char *text)
{
    return QCoreApplication::translate("WorkbookExport", text);
}

WorkbookExport::WorkbookExport(const ConfigDatabase &database)
    : database(database)
{ }

bool WorkbookExport::run(const DatabaseKind &kind, const QString &fileName)
{
    QXlsx::Document workbook;
    for (const TableSchema &table : kind.tables) {
        if (!exportTable(table, workbook))
            return false;
    }
    if (!workbook.saveAs(fileName)) {
        error = tr("The workbook %1 cannot be saved: %2").arg(fileName, workbook.errorString());
        return false;
    }
    return true;
}

bool WorkbookExport::exportTable(const TableSchema &table, QXlsx::Document &workbook)
{
    workbook.addSheet(table.sheet);
    for (int column = 0; column < table.columns.size(); ++column)
        workbook.write(1, column + 1, table.columns.at(column));

    bool ok = false;
    const bool present = database.hasTable(table.table, &ok);
    if (!ok) {
        error = tr("The database cannot be read: %1").arg(database.connection().lastError().text());
        return false;
    }
    if (!present) {
        printError(
            tr("Warning: the database has no table %1; worksheet %2 holds its header row only")
                .arg(table.table, table.sheet)
            + QStringLiteral("<br>"));
        return true;
    }

    QSqlQuery query(database.connection());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT * FROM %1;").arg(table.table))) {
        error = tr("Table %1 cannot be read: %2").arg(table.table, query.lastError().text());
        return false;
    }
    QVector<int> fields;
    const QSqlRecord record = query.record();
    for (const QString &column : table.columns) {
        fields.append(record.indexOf(column));
        if (fields.last() < 0) {
            printError(tr("Warning: table %1 has no column %2; its cells are left empty")
                           .arg(table.table, column)
                + QStringLiteral("<br>"));
        }
    }
    int row = 2;
    while (query.next()) {
        for (int column = 0; column < fields.size(); ++column) {
            QString text
                = fields.at(column) < 0 ? QString() : query.value(fields.at(column)).toString();
            if (column == table.quotedColumn)
                text = QLatin1Char('"') + text + QLatin1Char('"');
            if (text.size() > MaxCellText) {
                printError(tr("Warning: worksheet %1, cell %2 holds %3 characters; spreadsheet "
                              "programs keep at most %4")
                               .arg(table.sheet, QXlsx::CellReference(row, column + 1).toString())
                               .arg(text.size())
                               .arg(MaxCellText)
                    + QStringLiteral("<br>"));
            }
            workbook.write(row, column + 1, text);
        }
        ++row;
    }
    if (query.lastError().isValid()) {
        error = tr("Table %1 cannot be read: %2").arg(table.table, query.lastError().text());
        return false;
    }
    return true;
}
