#include "layoutorphans.h"

#include <QBoxLayout>
#include <QWidget>

namespace layoutOrphans {

QWidget *take(QBoxLayout *layout, QWidget *widget)
{
    layout->removeWidget(widget);
    widget->hide();
    widget->setParent(nullptr);
    layout->update();
    return widget;
}

void put(QBoxLayout *layout, QWidget *widget, int index)
{
    if (index > layout->count())
        index = -1;
    layout->insertWidget(index, widget);
    widget->show();
}

} // namespace layoutOrphans
