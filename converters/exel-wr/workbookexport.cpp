#include "workbookexport.h"

#include "configdatabase.h"
#include "reportprinter.h"
#include "stopsignals.h"
#include "xlsxcellrange.h"
#include "xlsxpackagewriter.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

// The longest text a cell holds in spreadsheet programs; longer texts are
// written in full, and read back in full here, but would be cut there.
static const int MaxCellText = 32767;

// The findings of a failed integrity check named in the error, at most.
static const int ReportedDamage = 5;

static QString tr(const char *text)
{
    return QCoreApplication::translate("WorkbookExport", text);
}

static void warn(const QString &text)
{
    printError(text + QStringLiteral("<br>"));
}

WorkbookExport::WorkbookExport(const ConfigDatabase &database)
    : database(database)
{ }

bool WorkbookExport::run(const DatabaseKind &kind, QIODevice *device, const QString &name)
{
    fileName = name;
    QSqlQuery transaction(database.connection());
    if (!transaction.exec(QStringLiteral("BEGIN"))) {
        error = tr("The database cannot be read: %1").arg(transaction.lastError().text());
        return false;
    }
    // A damaged table may read as one with fewer rows, or none, without an
    // error: the export would look complete.
    if (!checkIntegrity()) {
        transaction.exec(QStringLiteral("ROLLBACK"));
        return false;
    }
    QStringList sheets;
    for (const TableSchema &table : kind.tables)
        sheets.append(table.sheet);
    QXlsx::PackageWriter writer(device, QXlsx::PackageWriter::Strings::Inline);
    bool ok = writer.begin(sheets) || failWriting(writer);
    for (const TableSchema &table : kind.tables)
        ok = ok && exportTable(table, writer);
    ok = ok && (writer.finish() || failWriting(writer));
    transaction.exec(QStringLiteral("ROLLBACK"));
    return ok;
}

// SQLite's integrity check of the whole database; false, with its first
// findings in the error, when the database is damaged or cannot be read.
bool WorkbookExport::checkIntegrity()
{
    QSqlQuery check(database.connection());
    check.setForwardOnly(true);
    if (!check.exec(QStringLiteral("PRAGMA integrity_check(%1)").arg(ReportedDamage))) {
        error = tr("The database cannot be read: %1").arg(check.lastError().text());
        return false;
    }
    QStringList findings;
    while (check.next())
        findings += check.value(0).toString().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (check.lastError().isValid()) {
        error = tr("The database cannot be read: %1").arg(check.lastError().text());
        return false;
    }
    if (findings == QStringList {QStringLiteral("ok")})
        return true;
    error = tr("The database is damaged: %1").arg(findings.join(QStringLiteral("; ")));
    return false;
}

bool WorkbookExport::failWriting(const QXlsx::PackageWriter &writer)
{
    error = tr("The workbook %1 cannot be saved: %2").arg(fileName, writer.errorString());
    return false;
}

bool WorkbookExport::exportTable(const TableSchema &table, QXlsx::PackageWriter &writer)
{
    const int columns = table.columns.size();
    bool ok = false;
    const bool present = database.hasTable(table.table, &ok);
    if (!ok) {
        error = tr("The database cannot be read: %1").arg(database.connection().lastError().text());
        return false;
    }
    qint64 rows = 0;
    QSqlQuery query(database.connection());
    query.setForwardOnly(true);
    if (present) {
        if (!query.exec(QStringLiteral("SELECT count(*) FROM %1;").arg(table.table))
            || !query.next()) {
            error = tr("Table %1 cannot be read: %2").arg(table.table, query.lastError().text());
            return false;
        }
        rows = query.value(0).toLongLong();
        if (rows > QXlsx::MaxRows - 1) {
            error = tr("Table %1 has %2 rows; a worksheet holds at most %3 below its header")
                        .arg(table.table)
                        .arg(rows)
                        .arg(QXlsx::MaxRows - 1);
            return false;
        }
    } else {
        warn(tr("Warning: the database has no table %1; worksheet %2 holds its header row only")
                 .arg(table.table, table.sheet));
    }

    if (!writer.beginSheet(QXlsx::CellRange(1, 1, int(rows) + 1, columns)))
        return failWriting(writer);
    writer.beginRow(1);
    for (int column = 0; column < columns; ++column)
        writer.writeText(column + 1, table.columns.at(column));
    if (!writer.endRow())
        return failWriting(writer);
    if (!present)
        return writer.endSheet() || failWriting(writer);

    if (!query.exec(QStringLiteral("SELECT * FROM %1;").arg(table.table))) {
        error = tr("Table %1 cannot be read: %2").arg(table.table, query.lastError().text());
        return false;
    }
    QVector<int> fields;
    const QSqlRecord record = query.record();
    for (const QString &column : table.columns) {
        fields.append(record.indexOf(column));
        if (fields.last() < 0) {
            warn(tr("Warning: table %1 has no column %2; its cells are left empty")
                     .arg(table.table, column));
        }
    }
    int row = 2;
    qint64 trailingEmpty = 0;
    while (query.next()) {
        if (StopSignals::requested()) {
            error = tr("Stopped by a signal");
            return false;
        }
        if (row > QXlsx::MaxRows) {
            error = tr("Table %1 grew past %2 rows while it was read")
                        .arg(table.table)
                        .arg(QXlsx::MaxRows - 1);
            return false;
        }
        writer.beginRow(row);
        bool any = false;
        for (int column = 0; column < columns; ++column) {
            if (fields.at(column) < 0)
                continue;
            const QVariant value = query.value(fields.at(column));
            if (value.isNull())
                continue;
            if (value.userType() == QMetaType::QByteArray) {
                warn(tr("Warning: table %1, row %2, column %3 holds a BLOB of %4 bytes, which a "
                        "workbook cannot hold; cell %5 of worksheet %6 is left empty")
                         .arg(table.table)
                         .arg(row - 1)
                         .arg(table.columns.at(column))
                         .arg(value.toByteArray().size())
                         .arg(QXlsx::CellReference(row, column + 1).toString(), table.sheet));
                continue;
            }
            QString text = value.toString();
            if (column == table.quotedColumn)
                text = QLatin1Char('"') + text + QLatin1Char('"');
            if (text.size() > MaxCellText) {
                warn(tr("Warning: worksheet %1, cell %2 holds %3 characters; spreadsheet "
                        "programs keep at most %4")
                         .arg(table.sheet, QXlsx::CellReference(row, column + 1).toString())
                         .arg(text.size())
                         .arg(MaxCellText));
            }
            writer.writeText(column + 1, text);
            any = true;
        }
        if (!writer.endRow())
            return failWriting(writer);
        trailingEmpty = any ? 0 : trailingEmpty + 1;
        ++row;
    }
    if (query.lastError().isValid()) {
        error = tr("Table %1 cannot be read: %2").arg(table.table, query.lastError().text());
        return false;
    }
    if (trailingEmpty > 0) {
        warn(tr("Warning: the last %1 rows of table %2 hold no value in any worksheet column; "
                "worksheet %3 cannot keep them")
                 .arg(trailingEmpty)
                 .arg(table.table, table.sheet));
    }
    return writer.endSheet() || failWriting(writer);
}
