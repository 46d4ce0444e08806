#pragma once

#include "rowvalues.h"

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

private:
    QBoxLayout *layouts[4];
};
