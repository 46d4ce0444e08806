#pragma once

#include "valuefields.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

// A macro request of a project, or a macro sent at once: the macro's
// catalogue name, its parameter text (decimal numbers separated by single
// blanks, as its dialog builds it) and description. The fields are texts as
// the project file keeps them; a value made without fields holds the texts
// of a new row.
struct macroValues
{
    QString name = QStringLiteral("MACRO"); // e.g. "FD_MACRO_LOGIN"
    QString param = QStringLiteral("PARAM");
    QString desc = QStringLiteral("desc");

    // The request of a project file's object ("macro", "param", "desc"); a
    // missing key gives the empty text.
    static macroValues fromJson(const QJsonObject &object);
    QJsonObject toJson() const;
    // What an edit compares: the fingerprint of desc, name, param, as the
    // macro dialogs' own.
    QString fingerprint() const;
    // The request part of the driver's arguments: "--macro", name,
    // "--param", param.
    QStringList arguments() const;
    // The text fields with their keys in the project file, those that go
    // to a driver marked so (valueFields checks them).
    QVector<valueField> fields() const;
};
