#pragma once

#include "command.h"

#include <QString>

class FD_MACRO;
class macroElement;

// An edit of a macro request's values, taken from its accepted parameter
// dialog.
class editMacroElementToLayout : public command
{
public:
    editMacroElementToLayout(macroElement *element, const FD_MACRO &dialog);
    void undo() override;
    void redo() override;

private:
    struct Values
    {
        QString macro;
        QString param;
        QString desc;
    };
    void apply(const Values &values);

    macroElement *element; // not owned
    Values newValues;
    Values oldValues;
};
