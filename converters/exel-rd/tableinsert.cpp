#include "tableinsert.h"

#include <QSqlDriver>
#include <QVariant>

#include <sqlite3.h>

// The connection Qt's "QSQLITE" driver holds; null for another driver.
static sqlite3 *sqliteConnection(const QSqlDatabase &database)
{
    const QVariant handle = database.driver() ? database.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

TableInsert::TableInsert(const QSqlDatabase &database, const TableSchema &table)
    : connection(sqliteConnection(database))
    , table(table)
{ }

TableInsert::~TableInsert()
{
    sqlite3_finalize(statement);
}

QString TableInsert::reason(const char *driverText) const
{
    return QString::fromUtf8(sqlite3_errmsg(connection)) + QLatin1Char(' ')
        + QLatin1String(driverText);
}

bool TableInsert::prepare()
{
    if (!connection) {
        error = QStringLiteral("the database is not an SQLite connection");
        return false;
    }
    const QByteArray text = table.insertStatement.toUtf8();
    if (sqlite3_prepare_v2(connection, text.constData(), text.size(), &statement, nullptr)
        != SQLITE_OK) {
        error = reason("Unable to execute statement");
        return false;
    }
    const auto parameter = [this](const QString &name) {
        return sqlite3_bind_parameter_index(statement, (QLatin1Char(':') + name).toUtf8());
    };
    for (const QString &column : table.columns)
        columnParameters.push_back(parameter(column));
    for (const FurtherColumn &further : table.further) {
        furtherParameters.push_back(parameter(further.name));
        furtherValues.push_back(further.value.toUtf8());
    }
    return true;
}

void TableInsert::clear()
{
    sqlite3_clear_bindings(statement);
}

void TableInsert::setText(int column, const QByteArray &text)
{
    // A null pointer would bind NULL: an empty text stays an empty text.
    sqlite3_bind_text(statement, columnParameters.at(size_t(column)),
        text.isEmpty() ? "" : text.constData(), text.size(), SQLITE_STATIC);
}

bool TableInsert::insert(int row)
{
    for (size_t i = 0; i < furtherParameters.size(); ++i) {
        const QByteArray &value = furtherValues[i];
        if (table.further.at(int(i)).rowNumber)
            sqlite3_bind_int(statement, furtherParameters[i], row);
        else
            sqlite3_bind_text(
                statement, furtherParameters[i], value.constData(), value.size(), SQLITE_STATIC);
    }
    const int result = sqlite3_step(statement);
    if (result != SQLITE_DONE)
        error = reason("Unable to fetch row");
    sqlite3_reset(statement);
    return result == SQLITE_DONE;
}
