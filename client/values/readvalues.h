#pragma once

#include "engineeringscale.h"
#include "valuefields.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

// A read request of a project: data type, register address, display format
// and description; the kind of register, the byte order of a 32- or 64-bit
// value and the registers of a text; the engineering value it shows (scale,
// offset, unit). The fields are texts as the project file keeps them; a
// value made without fields holds the texts of a new row. The value last
// read and the trend mark belong to the row.
struct readValues
{
    // "F32", "U32", "S32", "U16", "S16", "U64", "S64", "F64", "STR"; "BIT"
    // for coils and discrete inputs (registerTypes)
    QString type = QStringLiteral("F32");
    QString addr = QStringLiteral("32768"); // register address
    QString format; // display format ("F_X" ... "F_X_XXXX"), or empty
    QString desc = QStringLiteral("desc");
    QString kind = QStringLiteral("holding"); // "holding", "input", "coil", "discrete"
    QString order = QStringLiteral("CDAB"); // of 32- and 64-bit values
    QString length {}; // registers of a text
    engineeringScale scaling {}; // none unless set

    // The text the row shows for a raw value: the engineering value by the
    // display format, with the unit.
    QString shown(const QString &raw) const;
    // The same without the unit: the number the trend plots.
    QString shownNumber(const QString &raw) const;
    // The text the log shows: the raw value alone without a scaling, the
    // shown text with the raw value beside it with one ("12.34 A (1234)").
    QString logged(const QString &raw) const;

    // The request of a project file's object; a missing key gives the empty
    // text, a missing kind or order the default.
    static readValues fromJson(const QJsonObject &object);
    // The object of the project file, without the trend mark. "kind",
    // "order" and "length" are written only when they differ from the
    // defaults (holding, CDAB, none), "scale", "offset" and "unit" only when
    // set, so a request of a project written before they existed is written
    // as it was.
    QJsonObject toJson() const;
    // What an edit compares: the fingerprint of desc, type, addr, format,
    // and of the kind, order, length and scaling that are not the defaults.
    QString fingerprint() const;
    // The request part of the driver's arguments: "--read_" (input
    // registers "--readIn_") + the type in lower case, addr; a text with
    // "--range" and its registers; "--read_coil" or "--readIn_bit" and addr
    // for a bit; "--order" and the order when it is not the default.
    QStringList arguments() const;
    // Whether the driver knows the kind and its type.
    bool isKnown() const;
    // The text fields with their keys in the project file, those that go
    // to a driver marked so (valueFields checks them).
    QVector<valueField> fields() const;
};
