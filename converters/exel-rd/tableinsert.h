#pragma once

#include "tableschema.h"

#include <QByteArray>
#include <QSqlDatabase>
#include <QString>

#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// The insert statement of one table, run once for every worksheet row.
//
// It goes through SQLite's C API on the converter's own connection (inside
// its transaction): the cells are bound by position, as the UTF-8 bytes the
// workbook holds, the parameters' positions looked up once. Qt's QSqlQuery
// would turn every cell into a QString and a QVariant and back into UTF-8,
// which costs more than reading the whole workbook.
//
// Failures are worded as Qt's SQLite driver words them, as the converters
// have always reported them.
class TableInsert
{
public:
    TableInsert(const QSqlDatabase &database, const TableSchema &table);
    ~TableInsert();
    TableInsert(const TableInsert &) = delete;
    TableInsert &operator=(const TableInsert &) = delete;

    // Compiles the statement; false with errorString() when the table cannot
    // take it (it is missing, a column is missing).
    bool prepare();
    // Starts a row: every worksheet column NULL.
    void clear();
    // The text of a worksheet column (0-based) of the row; it must stay as it
    // is until insert().
    void setText(int column, const QByteArray &text);
    // Inserts the row, the further columns filled in for worksheet row
    // `row`; false with errorString() when the database refuses it.
    bool insert(int row);
    QString errorString() const { return error; }

private:
    QString reason(const char *driverText) const;

    sqlite3 *connection = nullptr;
    const TableSchema &table;
    sqlite3_stmt *statement = nullptr;
    std::vector<int> columnParameters; // by worksheet column
    std::vector<int> furtherParameters; // by further column
    std::vector<QByteArray> furtherValues;
    QString error;
};
