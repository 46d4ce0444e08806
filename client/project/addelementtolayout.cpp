#include "addelementtolayout.h"

#include "layoutorphans.h"

#include <QBoxLayout>
#include <QWidget>

addElementToLayout::addElementToLayout(QBoxLayout *layout, QWidget *widget, int index)
    : layout(layout)
    , widget(widget)
    , index(index)
{
    redo();
}

addElementToLayout::~addElementToLayout()
{
    delete orphan;
}

void addElementToLayout::undo()
{
    orphan = layoutOrphans::take(layout, widget);
}

void addElementToLayout::redo()
{
    layoutOrphans::put(layout, widget, index);
    orphan = nullptr;
}
