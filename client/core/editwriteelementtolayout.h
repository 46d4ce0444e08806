#pragma once

#include "command.h"

#include <QString>

class addWriteData;
class writeElement;

// An edit of a write request's values, taken from its accepted dialog.
class editWriteElementToLayout : public command
{
public:
    editWriteElementToLayout(writeElement *element, const addWriteData &dialog);
    void undo() override;
    void redo() override;

private:
    struct Values
    {
        QString addr;
        QString value;
        QString type;
        QString desc;
    };
    void apply(const Values &values);

    writeElement *element; // not owned
    Values newValues;
    Values oldValues;
};
