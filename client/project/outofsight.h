#pragma once

#include <QList>
#include <QWidget>

#include <memory>
#include <vector>

// Hides a shown list for as long as it lives. Rows put into or taken from a
// shown list are each shown, moved, repainted and laid out through events
// of their own, and Qt looks through every pending event for each new one:
// thousands of rows took seconds. Out of sight they go without events, and
// the list is shown once.
class outOfSight
{
public:
    explicit outOfSight(QWidget *list)
        : list(list && list->isVisible() ? list : nullptr)
    {
        if (this->list)
            this->list->hide();
    }
    ~outOfSight()
    {
        if (list)
            list->show();
    }
    outOfSight(const outOfSight &) = delete;
    outOfSight &operator=(const outOfSight &) = delete;

private:
    QWidget *list;
};

// Several lists out of sight for as long as it lives.
class listsOutOfSight
{
public:
    explicit listsOutOfSight(const QList<QWidget *> &lists)
    {
        for (QWidget *list : lists)
            hidden.push_back(std::make_unique<outOfSight>(list));
    }

private:
    std::vector<std::unique_ptr<outOfSight>> hidden;
};
