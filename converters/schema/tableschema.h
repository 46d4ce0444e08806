#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// A table column that the workbook does not carry; the import fills it.
struct FurtherColumn
{
    QString name;
    QString value; // bound as text
    bool rowNumber = false; // bound instead as the worksheet row number (integer)
};

// One table of a configuration database and the worksheet that mirrors it.
struct TableSchema
{
    QString table;
    QString sheet;
    QStringList columns; // worksheet columns 1 onwards, also the table's names
    QVector<FurtherColumn> further;
    QString insertStatement; // binds ":" + every column and further column name
    int quotedColumn = -1; // 0-based column kept between double quotes, or -1
};

// One kind of configuration database, as chosen by "--type".
struct DatabaseKind
{
    QString type;
    QVector<TableSchema> tables; // in workbook order
    QStringList emptyingStatements; // run before the rows are inserted
};
