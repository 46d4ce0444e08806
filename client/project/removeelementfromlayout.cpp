#include "removeelementfromlayout.h"

#include "layoutorphans.h"

#include <QBoxLayout>
#include <QWidget>

removeElementFromLayout::removeElementFromLayout(QBoxLayout *layout, QWidget *widget)
    : layout(layout)
    , widget(widget)
    , index(layout->indexOf(widget))
{
    redo();
}

removeElementFromLayout::~removeElementFromLayout()
{
    delete orphan;
}

void removeElementFromLayout::undo()
{
    layoutOrphans::put(layout, widget, index);
    orphan = nullptr;
}

void removeElementFromLayout::redo()
{
    orphan = layoutOrphans::take(layout, widget);
}
