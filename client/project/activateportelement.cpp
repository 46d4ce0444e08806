#include "activateportelement.h"

#include "projectelement.h"

activatePortElement::activatePortElement(
    const QList<projectElement *> &ports, projectElement *chosen)
    : ports(ports)
    , chosen(chosen)
{
    for (const projectElement *port : ports)
        before << port->isActive();
    redo();
}

void activatePortElement::undo()
{
    for (int i = 0; i < ports.size(); ++i)
        ports.at(i)->setActive(before.at(i));
}

void activatePortElement::redo()
{
    for (projectElement *port : qAsConst(ports))
        port->setActive(port == chosen);
}
