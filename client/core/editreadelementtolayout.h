#pragma once

#include "command.h"

#include <QString>

class addReadData;
class readElement;

// An edit of a read request's values, taken from its accepted dialog.
class editReadElementToLayout : public command
{
public:
    editReadElementToLayout(readElement *element, const addReadData &dialog);
    void undo() override;
    void redo() override;

private:
    struct Values
    {
        QString addr;
        QString format;
        QString type;
        QString desc;
    };
    void apply(const Values &values);

    readElement *element; // not owned
    Values newValues;
    Values oldValues;
};
