#include "commandgroup.h"

#include "outofsight.h"

void commandGroup::undo()
{
    const listsOutOfSight hidden(lists);
    for (auto change = changes.rbegin(); change != changes.rend(); ++change)
        (*change)->undo();
}

void commandGroup::redo()
{
    const listsOutOfSight hidden(lists);
    for (const std::unique_ptr<command> &change : changes)
        change->redo();
}
