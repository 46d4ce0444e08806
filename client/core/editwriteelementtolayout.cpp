#include "editwriteelementtolayout.h"

#include "addwritedata.h"
#include "writeelement.h"

editWriteElementToLayout::editWriteElementToLayout(
    writeElement *element, const addWriteData &dialog)
    : element(element)
    , newValues {dialog.address(), dialog.value(), dialog.type(), dialog.desc()}
    , oldValues {element->addr(), element->value(), element->type(), element->desc()}
{
    redo();
}

void editWriteElementToLayout::undo()
{
    apply(oldValues);
}

void editWriteElementToLayout::redo()
{
    apply(newValues);
}

void editWriteElementToLayout::apply(const Values &values)
{
    element->setAddr(values.addr);
    element->setValue(values.value);
    element->setType(values.type);
    element->setDesc(values.desc);
}
