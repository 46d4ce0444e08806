#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

// A write request of a project, or a write carried out at once: data type,
// register address, the value as it goes to the driver, and description
// (empty for a write without a row). The fields are texts as the project
// file keeps them; a value made without fields holds the texts of a new row.
struct writeValues
{
    QString type = QStringLiteral("F32"); // "F32", "U32", "S32", "U16" or "S16"
    QString addr = QStringLiteral("32768"); // register address
    QString value = QStringLiteral("0");
    QString desc = QStringLiteral("desc");

    // The request of a project file's object; a missing key gives the empty
    // text.
    static writeValues fromJson(const QJsonObject &object);
    QJsonObject toJson() const;
    // What an edit compares: the fingerprint of desc, type, addr, value.
    QString fingerprint() const;
    // The request part of the driver's arguments: "--write_" + the type in
    // lower case, addr, "--data", value.
    QStringList arguments() const;
};
