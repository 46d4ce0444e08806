#pragma once

#include "command.h"

#include <QList>

class projectElement;

// Makes one port of the list the active one and every other inactive; undo
// gives every port its state from before.
class activatePortElement : public command
{
public:
    activatePortElement(const QList<projectElement *> &ports, projectElement *chosen);
    void undo() override;
    void redo() override;

private:
    QList<projectElement *> ports; // not owned
    QList<bool> before;
    projectElement *chosen;
};
