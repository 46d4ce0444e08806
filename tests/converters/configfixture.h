#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// Configuration databases and workbooks for the converter tests. The tables
// are declared here, apart from the programs, with the columns and types the
// devices' databases have: the worksheet columns first, then the further ones.
namespace ConfigFixture {

using Rows = QList<QVariantList>;

// All columns of a table, worksheet columns first.
QStringList tableColumns(const QString &table);
// The tables of a kind, in workbook order.
QStringList kindTables(const QString &type);
// The worksheet name of a table.
QString sheetOf(const QString &table);
// How many of a table's columns the worksheet carries.
int sheetColumnCount(const QString &table);

// Creates a database file holding these tables (all of tableColumns()).
bool createDatabase(const QString &fileName, const QStringList &tables);
// Inserts rows, each giving every column of tableColumns() in order.
bool insertRows(const QString &fileName, const QString &table, const Rows &rows);
// The rows of a table in storage order, every column of tableColumns(),
// NULL as an invalid QVariant.
Rows selectRows(const QString &fileName, const QString &table);
// Runs statements on the database, in order; false at the first failure.
bool execute(const QString &fileName, const QStringList &statements);

QByteArray fileBytes(const QString &fileName);
// The names in a folder, sorted (to see left-over journal files).
QStringList folderEntries(const QString &folder);

// The cells of one worksheet as text, row by row, through the workbook layer.
struct Sheet
{
    QString name;
    QList<QStringList> rows;
};
QList<Sheet> readWorkbook(const QString &fileName, bool *ok);
// Writes worksheets of text cells through the workbook layer; an empty text
// leaves its cell empty.
bool writeWorkbook(const QString &fileName, const QList<Sheet> &sheets);

// Texts every round trip must carry unchanged.
QStringList awkwardTexts();

} // namespace ConfigFixture
