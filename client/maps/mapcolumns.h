#pragma once

#include <QString>
#include <QStringList>

// The columns of a register map, known by their names in English and
// Polish (any case, with or without Polish letters, with a note in
// brackets: "Scale", "skala", "Mnożnik (x)"), in any order.
namespace mapColumns {

enum Column {
    Name, // the request's description
    Kind, // holding, input, coil, discrete
    Address,
    Type, // U16 ... STR, BIT
    Order, // ABCD, BADC, CDAB, DCBA
    Length, // registers of a text
    Scale,
    Offset,
    Unit,
    Format, // F_X ... F_X_XXXX
    Access, // R, W, RW
    Value, // what a write sends
    Function, // 6 for a single-register write
    Count
};

// A name as it is compared: lower case, without the marks of Polish
// letters, without a note in brackets or a closing colon, single blanks.
QString folded(const QString &name);

// The column a header names; -1 for a header it does not know.
int columnOf(const QString &header);
// The names an exported map's header gives the columns, in column order.
QStringList exportHeader();
// The name of a column in problems that name no header of the file.
QString nameOf(Column column);

} // namespace mapColumns
