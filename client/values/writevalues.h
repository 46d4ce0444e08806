#pragma once

#include "engineeringscale.h"
#include "valuefields.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

// A write request of a project, or a write carried out at once: data type,
// register address, the value as it goes to the driver, and description
// (empty for a write without a row); the kind of register (holding or
// coil), the byte order of a 32- or 64-bit value, the registers of a text
// and whether a 16-bit value goes with function 6. The fields are texts as
// the project file keeps them; a value made without fields holds the texts
// of a new row. With a scaling the value is the engineering value, and the
// driver gets the raw value it stands for.
struct writeValues
{
    // "F32", "U32", "S32", "U16", "S16", "U64", "S64", "F64", "STR"; "BIT"
    // for a coil (registerTypes)
    QString type = QStringLiteral("F32");
    QString addr = QStringLiteral("32768"); // register address
    QString value = QStringLiteral("0");
    QString desc = QStringLiteral("desc");
    QString kind = QStringLiteral("holding"); // "holding" or "coil"
    QString order = QStringLiteral("CDAB"); // of 32- and 64-bit values
    QString length {}; // registers of a text
    bool single = false; // a U16 or S16 value written with function 6 ("function" "6")
    engineeringScale scaling {}; // none unless set

    // The request of a project file's object; a missing key gives the empty
    // text, a missing kind or order the default.
    static writeValues fromJson(const QJsonObject &object);
    // "kind", "order", "length" and "function" ("6" for a single-register
    // write) are written only when they differ from the defaults (holding,
    // CDAB, none, function 16), "scale", "offset" and "unit" only when set,
    // so a request of a project written before they existed is written as
    // it was.
    QJsonObject toJson() const;
    // What an edit compares: the fingerprint of desc, type, addr, value,
    // and of the kind, order, length, function 6 and scaling that are not
    // the defaults.
    QString fingerprint() const;
    // The request part of the driver's arguments: "--write_" + the type in
    // lower case, addr, "--data", the raw value (empty when the value has
    // none, see rawValue()); "--write_single" for function 6, "--write_coil"
    // for a coil, "--write_str" with "--range" and the registers for a text;
    // "--order" and the order when it is not the default.
    QStringList arguments() const;
    // Whether the driver knows the kind and its type.
    bool isKnown() const;
    // Whether the value is a text, which may hold blanks.
    bool isText() const;
    // The value as the driver takes it: value itself, or the raw value of
    // the engineering value; empty with *error saying why when it has none.
    QString rawValue(QString *error) const;
    // The value as the row and the log show it: with the unit, and the raw
    // value beside a converted one ("12.5 A (1250)").
    QString shown() const;
    // The text fields with their keys in the project file, those that go
    // to a driver marked so (valueFields checks them).
    QVector<valueField> fields() const;
};
