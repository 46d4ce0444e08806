#pragma once

#include "command.h"

class QBoxLayout;
class QWidget;

// Removes an element widget from one of the project's lists. While removed,
// the widget is an orphan without a parent owned by the command, so it lives
// until the command leaves the history.
class removeElementFromLayout : public command
{
public:
    removeElementFromLayout(QBoxLayout *layout, QWidget *widget);
    ~removeElementFromLayout() override;
    void undo() override;
    void redo() override;

private:
    QBoxLayout *layout;
    QWidget *widget;
    QWidget *orphan = nullptr;
    int index;
};
