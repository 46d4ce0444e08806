#include "undostack.h"

#include "command.h"

#include <QAction>

UndoStack::UndoStack(QAction *undoAction, QAction *redoAction)
    : undoAction(undoAction)
    , redoAction(redoAction)
{
    updateActions();
}

UndoStack::~UndoStack()
{
    deleteAll(redoList);
    deleteAll(undoList);
}

void UndoStack::push(command *cmd)
{
    if (!cmd)
        return;
    undoList.append(cmd);
    deleteAll(redoList);
    updateActions();
}

void UndoStack::undo()
{
    if (undoList.isEmpty())
        return;
    command *cmd = undoList.takeLast();
    cmd->undo();
    redoList.append(cmd);
    updateActions();
}

void UndoStack::redo()
{
    if (redoList.isEmpty())
        return;
    command *cmd = redoList.takeLast();
    cmd->redo();
    undoList.append(cmd);
    updateActions();
}

void UndoStack::clear()
{
    deleteAll(redoList);
    deleteAll(undoList);
    updateActions();
}

// Deletes the commands last first: a later command may refer to a widget that
// an earlier one owns.
void UndoStack::deleteAll(QList<command *> &list)
{
    while (!list.isEmpty())
        delete list.takeLast();
}

void UndoStack::updateActions()
{
    if (undoAction)
        undoAction->setEnabled(!undoList.isEmpty());
    if (redoAction)
        redoAction->setEnabled(!redoList.isEmpty());
}
