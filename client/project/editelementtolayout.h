#pragma once

#include "command.h"
#include "rowvalues.h"

class projectElement;

// An edit of a row's values: the values before and after.
class editElementToLayout : public command
{
public:
    editElementToLayout(projectElement *element, const rowValues &newValues);
    void undo() override;
    void redo() override;

private:
    projectElement *element; // not owned
    rowValues newValues;
    rowValues oldValues;
};

// The edit command under the names of each kind of row.
using editRtuElementToLayout = editElementToLayout;
using editTcpElementToLayout = editElementToLayout;
using editReadElementToLayout = editElementToLayout;
using editWriteElementToLayout = editElementToLayout;
using editMacroElementToLayout = editElementToLayout;
