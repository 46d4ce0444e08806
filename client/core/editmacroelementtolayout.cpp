#include "editmacroelementtolayout.h"

#include "fd_macro.h"
#include "macroelement.h"

editMacroElementToLayout::editMacroElementToLayout(macroElement *element, const FD_MACRO &dialog)
    : element(element)
    , newValues {dialog.macroName(), dialog.macroParams(), dialog.macroDesc()}
    , oldValues {element->macro(), element->param(), element->desc()}
{
    redo();
}

void editMacroElementToLayout::undo()
{
    apply(oldValues);
}

void editMacroElementToLayout::redo()
{
    apply(newValues);
}

void editMacroElementToLayout::apply(const Values &values)
{
    element->setMacro(values.macro);
    element->setParam(values.param);
    element->setDesc(values.desc);
}
