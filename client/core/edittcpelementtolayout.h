#pragma once

#include "command.h"

#include <QString>

class addTCPPort;
class tcpElement;

// An edit of a TCP connection's values, taken from its accepted dialog.
class editTcpElementToLayout : public command
{
public:
    editTcpElementToLayout(tcpElement *element, const addTCPPort &dialog);
    void undo() override;
    void redo() override;

private:
    struct Values
    {
        QString addr;
        QString port;
        QString ip;
        QString desc;
    };
    void apply(const Values &values);

    tcpElement *element; // not owned
    Values newValues;
    Values oldValues;
};
