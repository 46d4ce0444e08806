#pragma once

#include "command.h"

#include <QString>

class addRTUPort;
class rtuElement;

// An edit of a serial line's values, taken from its accepted dialog.
class editRtuElementToLayout : public command
{
public:
    editRtuElementToLayout(rtuElement *element, const addRTUPort &dialog);
    void undo() override;
    void redo() override;

private:
    struct Values
    {
        QString addr;
        QString baudrate;
        QString com;
        QString desc;
    };
    void apply(const Values &values);

    rtuElement *element; // not owned
    Values newValues;
    Values oldValues;
};
