#include "configfixture.h"

#include "xlsxdocument.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

#include <functional>

namespace ConfigFixture {

namespace {

struct TableDefinition
{
    QString type;
    QString table;
    QString sheet;
    QStringList sheetColumns;
    QStringList furtherColumns;
    QStringList columnTypes; // SQL declarations of all columns, in order
};

const QList<TableDefinition> &definitions()
{
    static const QList<TableDefinition> all {
        {"data_db", "BIBO", "BIBO", {"ref", "visible", "view", "txt", "desc", "type", "color"},
            {"value", "raw", "counter"},
            {"INTEGER", "INTEGER", "INTEGER", "TEXT", "TEXT", "TEXT", "TEXT", "TEXT", "INTEGER",
                "INTEGER"}},
        {"data_db", "MEAS", "MEAS", {"ref", "visible", "view", "txt", "unit", "desc", "color"},
            {"value", "raw", "counter"},
            {"INTEGER", "INTEGER", "INTEGER", "TEXT", "TEXT", "TEXT", "TEXT", "TEXT", "INTEGER",
                "INTEGER"}},
        {"data_db", "CTRL", "CTRL", {"ref", "visible", "view", "txt", "desc", "color"}, {"value"},
            {"INTEGER", "INTEGER", "INTEGER", "TEXT", "TEXT", "TEXT", "TEXT"}},
        {"data_map_db", "data_map", "MAPPING",
            {"id", "active", "type", "param_1", "param_2", "param_3", "param_4", "param_5",
                "param_6", "color"},
            {},
            {"INTEGER PRIMARY KEY", "INTEGER", "INTEGER", "TEXT", "TEXT", "TEXT", "TEXT", "TEXT",
                "TEXT", "TEXT"}},
        {"data_map_db", "ports", "PORTS", {"id", "comm", "desc"}, {"no"},
            {"INTEGER PRIMARY KEY", "TEXT", "TEXT", "INTEGER"}},
        {"dnp3_db", "AI", "AI", {"index", "class", "map", "desc", "color"}, {"convert", "value"},
            {"INTEGER", "INTEGER", "TEXT", "TEXT", "TEXT", "TEXT", "TEXT"}},
        {"dnp3_db", "AO", "AO", {"index", "class", "map", "convert", "desc", "color"}, {"value"},
            {"INTEGER", "INTEGER", "TEXT", "TEXT", "TEXT", "TEXT", "TEXT"}},
        {"dnp3_db", "BI", "BI", {"index", "class", "map", "convert", "desc", "color"}, {"value"},
            {"INTEGER", "INTEGER", "TEXT", "TEXT", "TEXT", "TEXT", "TEXT"}},
        {"dnp3_db", "BO", "BO", {"index", "class", "map", "convert", "desc", "color"}, {"value"},
            {"INTEGER", "INTEGER", "TEXT", "TEXT", "TEXT", "TEXT", "TEXT"}},
        {"modbus_server_db", "MAPPING", "MAPPING", {"addr", "map", "conversion", "desc", "color"},
            {"value"}, {"INTEGER", "TEXT", "TEXT", "TEXT", "TEXT", "TEXT"}},
        {"units", "UNITS", "UNITS", {"id", "unit"}, {}, {"INTEGER PRIMARY KEY", "TEXT"}},
    };
    return all;
}

const TableDefinition *definition(const QString &table)
{
    for (const TableDefinition &candidate : definitions()) {
        if (candidate.table == table)
            return &candidate;
    }
    qFatal("no test table %s", qPrintable(table));
    return nullptr;
}

// Runs work on a connection of its own, closed and removed afterwards so the
// programs under test find the file free.
bool withDatabase(const QString &fileName, const std::function<bool(QSqlDatabase &)> &work)
{
    const QString name = QUuid::createUuid().toString();
    bool ok = false;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase("QSQLITE", name);
        database.setDatabaseName(fileName);
        ok = database.open() && work(database);
        database.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

QString quoted(const QString &identifier)
{
    return QLatin1Char('"') + identifier + QLatin1Char('"');
}

} // namespace

QStringList tableColumns(const QString &table)
{
    const TableDefinition *found = definition(table);
    return found->sheetColumns + found->furtherColumns;
}

QStringList kindTables(const QString &type)
{
    QStringList tables;
    for (const TableDefinition &candidate : definitions()) {
        if (candidate.type == type)
            tables.append(candidate.table);
    }
    return tables;
}

QString sheetOf(const QString &table)
{
    return definition(table)->sheet;
}

int sheetColumnCount(const QString &table)
{
    return definition(table)->sheetColumns.size();
}

bool createDatabase(const QString &fileName, const QStringList &tables)
{
    return withDatabase(fileName, [&tables](QSqlDatabase &database) {
        QSqlQuery query(database);
        // A real database file even without tables.
        if (!query.exec("PRAGMA user_version = 7"))
            return false;
        for (const QString &table : tables) {
            const TableDefinition *found = definition(table);
            const QStringList columns = found->sheetColumns + found->furtherColumns;
            QStringList declarations;
            for (int i = 0; i < columns.size(); ++i)
                declarations.append(
                    quoted(columns.at(i)) + QLatin1Char(' ') + found->columnTypes.at(i));
            if (!query.exec(QStringLiteral("CREATE TABLE %1 (%2)")
                                .arg(quoted(table), declarations.join(", ")))) {
                qWarning() << query.lastError().text();
                return false;
            }
        }
        return true;
    });
}

bool insertRows(const QString &fileName, const QString &table, const Rows &rows)
{
    return withDatabase(fileName, [&](QSqlDatabase &database) {
        const QStringList columns = tableColumns(table);
        QStringList quotedColumns;
        for (const QString &column : columns)
            quotedColumns.append(quoted(column));
        QSqlQuery query(database);
        if (!database.transaction())
            return false;
        query.prepare(
            QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(quoted(table), quotedColumns.join(", "),
                    QStringList(QVector<QString>(columns.size(), "?").toList()).join(", ")));
        for (const QVariantList &row : rows) {
            for (int i = 0; i < columns.size(); ++i)
                query.bindValue(i, row.value(i));
            if (!query.exec()) {
                qWarning() << query.lastError().text();
                database.rollback();
                return false;
            }
        }
        return database.commit();
    });
}

Rows selectRows(const QString &fileName, const QString &table)
{
    Rows rows;
    const bool ok = withDatabase(fileName, [&](QSqlDatabase &database) {
        QStringList quotedColumns;
        for (const QString &column : tableColumns(table))
            quotedColumns.append(quoted(column));
        QSqlQuery query(database);
        if (!query.exec(QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                            .arg(quotedColumns.join(", "), quoted(table))))
            return false;
        while (query.next()) {
            QVariantList row;
            for (int i = 0; i < query.record().count(); ++i)
                row.append(query.isNull(i) ? QVariant() : query.value(i));
            rows.append(row);
        }
        return true;
    });
    if (!ok)
        qWarning() << "cannot read" << table << "of" << fileName;
    return rows;
}

bool execute(const QString &fileName, const QStringList &statements)
{
    return withDatabase(fileName, [&](QSqlDatabase &database) {
        QSqlQuery query(database);
        for (const QString &statement : statements) {
            if (!query.exec(statement)) {
                qWarning() << statement << query.lastError().text();
                return false;
            }
        }
        return true;
    });
}

QByteArray fileBytes(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList folderEntries(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

QList<Sheet> readWorkbook(const QString &fileName, bool *ok)
{
    QList<Sheet> sheets;
    QXlsx::Document document(fileName);
    *ok = document.isLoadPackage();
    for (const QString &name : document.sheetNames()) {
        document.selectSheet(name);
        Sheet sheet {name, {}};
        const QXlsx::CellRange used = document.dimension();
        for (int row = 1; row <= used.lastRow(); ++row) {
            QStringList cells;
            for (int column = 1; column <= used.lastColumn(); ++column)
                cells.append(document.read(row, column).toString());
            sheet.rows.append(cells);
        }
        sheets.append(sheet);
    }
    return sheets;
}

bool writeWorkbook(const QString &fileName, const QList<Sheet> &sheets)
{
    QXlsx::Document document;
    for (const Sheet &sheet : sheets) {
        if (!document.addSheet(sheet.name))
            return false;
        for (int row = 0; row < sheet.rows.size(); ++row) {
            for (int column = 0; column < sheet.rows.at(row).size(); ++column) {
                const QString &text = sheet.rows.at(row).at(column);
                if (!text.isEmpty() && !document.write(row + 1, column + 1, text))
                    return false;
            }
        }
    }
    return document.saveAs(fileName);
}

QStringList awkwardTexts()
{
    QString longText;
    while (longText.size() < 20000)
        longText += QString::fromUtf8("Wyłącznik główny — stan \"zamknięty\"; ");
    return {
        QStringLiteral("\"quoted\" and 'single'"),
        QString::fromUtf8("Zażółć gęślą jaźń ŻÓŁĆ"),
        QString::fromUtf8("Напряжение фазы L1 ⚡ 😀"),
        QStringLiteral("<b>bold</b> & ]]> &amp;"),
        QStringLiteral("line 1\r\nline 2\nline 3"),
        QStringLiteral("  blanks at the ends  "),
        QStringLiteral("=SUM(A1:A3)"),
        QStringLiteral("007"),
        QStringLiteral("_x0041_ stays"),
        QStringLiteral("a_x0041\x01"
                       "b, x_x000D\x1F"
                       "y"),
        QStringLiteral("77") + QChar(0) + QStringLiteral("999"),
        longText,
    };
}

} // namespace ConfigFixture
