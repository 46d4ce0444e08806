#include "editreadelementtolayout.h"

#include "addreaddata.h"
#include "readelement.h"

editReadElementToLayout::editReadElementToLayout(readElement *element, const addReadData &dialog)
    : element(element)
    , newValues {dialog.address(), dialog.format(), dialog.type(), dialog.desc()}
    , oldValues {element->addr(), element->format(), element->type(), element->desc()}
{
    redo();
}

void editReadElementToLayout::undo()
{
    apply(oldValues);
}

void editReadElementToLayout::redo()
{
    apply(newValues);
}

void editReadElementToLayout::apply(const Values &values)
{
    element->setAddr(values.addr);
    element->setFormat(values.format);
    element->setType(values.type);
    element->setDesc(values.desc);
}
