#pragma once

#include "command.h"

#include <QList>

#include <memory>
#include <vector>

class QWidget;

// Several changes as one step of the history: undone last first, redone in
// the order they were made, with the lists they change out of sight
// meanwhile (see outOfSight), so that thousands of rows move at once. Each
// command has done its work when it is appended, as commands do.
class commandGroup : public command
{
public:
    explicit commandGroup(const QList<QWidget *> &lists)
        : lists(lists)
    { }

    void append(std::unique_ptr<command> change) { changes.push_back(std::move(change)); }
    bool isEmpty() const { return changes.empty(); }
    int size() const { return int(changes.size()); }
    void undo() override;
    void redo() override;

private:
    QList<QWidget *> lists;
    std::vector<std::unique_ptr<command>> changes;
};
