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
    // A new row put into a list out of sight is shown with the list, and
    // polished only when it is shown; one that was taken out was hidden.
    const QWidget *list = layout->parentWidget();
    if (list && !list->isVisible() && !widget->testAttribute(Qt::WA_WState_ExplicitShowHide))
        return;
    widget->show();
}

} // namespace layoutOrphans
