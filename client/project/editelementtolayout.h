#pragma once

#include "command.h"

#include <QStringList>

class projectElement;

// An edit of a row's values: the values before and after, in the row's
// values() order.
class editElementToLayout : public command
{
public:
    editElementToLayout(projectElement *element, const QStringList &newValues);
    void undo() override;
    void redo() override;

private:
    projectElement *element; // not owned
    QStringList newValues;
    QStringList oldValues;
};

// The edit command under the names of each kind of row.
using editRtuElementToLayout = editElementToLayout;
using editTcpElementToLayout = editElementToLayout;
using editReadElementToLayout = editElementToLayout;
using editWriteElementToLayout = editElementToLayout;
using editMacroElementToLayout = editElementToLayout;
