#pragma once

#include <QList>

class QAction;
class command;

// The client's undo history: the commands that can be undone and those that
// can be redone, owned, and the Undo and Redo actions, enabled exactly when
// their list is not empty. Any command in the history marks the project as
// modified.
class UndoStack
{
public:
    UndoStack(QAction *undoAction, QAction *redoAction);
    UndoStack(const UndoStack &) = delete;
    UndoStack &operator=(const UndoStack &) = delete;
    ~UndoStack();

    // Takes a command that has done its work; drops every redoable command.
    void push(command *cmd);
    void undo();
    void redo();
    // Deletes every command.
    void clear();

    bool canUndo() const { return !undoList.isEmpty(); }
    bool canRedo() const { return !redoList.isEmpty(); }
    bool isEmpty() const { return undoList.isEmpty() && redoList.isEmpty(); }

private:
    void updateActions();
    static void deleteAll(QList<command *> &list);

    QList<command *> undoList; // oldest first
    QList<command *> redoList; // most recently undone last
    QAction *undoAction;
    QAction *redoAction;
};
