#include "edittcpelementtolayout.h"

#include "addtcpport.h"
#include "tcpelement.h"

editTcpElementToLayout::editTcpElementToLayout(tcpElement *element, const addTCPPort &dialog)
    : element(element)
    , newValues {dialog.slave(), dialog.port(), dialog.ip(), dialog.desc()}
    , oldValues {element->addr(), element->port(), element->ip(), element->desc()}
{
    redo();
}

void editTcpElementToLayout::undo()
{
    apply(oldValues);
}

void editTcpElementToLayout::redo()
{
    apply(newValues);
}

void editTcpElementToLayout::apply(const Values &values)
{
    element->setAddr(values.addr);
    element->setPort(values.port);
    element->setIp(values.ip);
    element->setDesc(values.desc);
}
