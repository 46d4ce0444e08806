#include "editrtuelementtolayout.h"

#include "addrtuport.h"
#include "rtuelement.h"

editRtuElementToLayout::editRtuElementToLayout(rtuElement *element, const addRTUPort &dialog)
    : element(element)
    , newValues {dialog.slave(), dialog.baudrate(), dialog.com(), dialog.desc()}
    , oldValues {element->addr(), element->baudrate(), element->com(), element->desc()}
{
    redo();
}

void editRtuElementToLayout::undo()
{
    apply(oldValues);
}

void editRtuElementToLayout::redo()
{
    apply(newValues);
}

void editRtuElementToLayout::apply(const Values &values)
{
    element->setAddr(values.addr);
    element->setBaudrate(values.baudrate);
    element->setCom(values.com);
    element->setDesc(values.desc);
}
