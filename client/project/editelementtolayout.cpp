#include "editelementtolayout.h"

#include "projectelement.h"

editElementToLayout::editElementToLayout(projectElement *element, const rowValues &newValues)
    : element(element)
    , newValues(newValues)
    , oldValues(element->values())
{
    redo();
}

void editElementToLayout::undo()
{
    element->setValues(oldValues);
}

void editElementToLayout::redo()
{
    element->setValues(newValues);
}
