#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

// A read request of a project: data type, register address, display format
// and description. The fields are texts as the project file keeps them; a
// value made without fields holds the texts of a new row. The value last
// read and the trend mark belong to the row.
struct readValues
{
    QString type = QStringLiteral("F32"); // "F32", "U32", "S32", "U16" or "S16"
    QString addr = QStringLiteral("32768"); // register address
    QString format; // display format ("F_X" ... "F_X_XXXX"), or empty
    QString desc = QStringLiteral("desc");

    // The request of a project file's object; a missing key gives the empty
    // text.
    static readValues fromJson(const QJsonObject &object);
    // The object of the project file, without the trend mark.
    QJsonObject toJson() const;
    // What an edit compares: the fingerprint of desc, type, addr, format.
    QString fingerprint() const;
    // The request part of the driver's arguments: "--read_" + the type in
    // lower case, addr.
    QStringList arguments() const;
};
