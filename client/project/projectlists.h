#pragma once

#include "rowvalues.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QList>

#include <functional>
#include <optional>

class QBoxLayout;
class QWidget;
class projectElement;

// The project's four lists of rows in the window's layouts (each ends with a
// spacer, the rows stand above it) and their sections in the project file:
// "communications", "read", "write", "macro".
class projectLists
{
    Q_DECLARE_TR_FUNCTIONS(projectLists)

public:
    // In the order of the kinds of rowValues.
    enum List { Ports, Reads, Writes, Macros };

    projectLists(QBoxLayout *ports, QBoxLayout *reads, QBoxLayout *writes, QBoxLayout *macros);

    QBoxLayout *layout(List list) const { return layouts[list]; }
    // The list that holds widget; null when none does.
    QBoxLayout *layoutOf(QWidget *widget) const;
    // The rows of a list, top to bottom.
    QList<projectElement *> elements(List list) const;
    // The first active port; null when none is.
    projectElement *activePort() const;

    // The project file's root object: the four sections and the name.
    QJsonObject toJson(const QString &name) const;
    // Why a project file's root object cannot be opened, naming the key and
    // what it must hold, and for a row its section and number; empty when
    // it can. The project has a "name" that is a text and not empty; each
    // section is a list of objects; every text field (the values' fields())
    // is a text that keeps the values' rules, and what a row keeps of its
    // own ("active", "trend") is true or false. A missing field is an empty
    // text, a port of another type than "RTU" or "TCP" is skipped, and keys
    // the client does not know are left alone.
    static QString problemOf(const QJsonObject &root);
    // Creates the rows of a project file's root object, hands each to adopt
    // and puts it at the end of its list. A port of another type than "RTU"
    // or "TCP" is skipped.
    void fromJson(
        const QJsonObject &root, const std::function<void(projectElement *)> &adopt) const;
    // Deletes every row.
    void clear() const;

    // The list that rows of these values go into.
    static List listOf(const rowValues &values) { return List(values.index()); }
    // The values of a list's file object; nothing for a port of an unknown
    // type.
    static std::optional<rowValues> valuesOf(List list, const QJsonObject &object);
    // A new row showing values.
    static projectElement *create(const rowValues &values);
    // The name of a list as its tab shows it.
    static QString title(List list);

private:
    QBoxLayout *layouts[4];
};
