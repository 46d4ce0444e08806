#pragma once

class QBoxLayout;
class QWidget;

// Moving an element widget out of a list and back, for the add and remove
// commands. A widget taken out is hidden and has no parent, so that whoever
// holds it then is its only owner.
namespace layoutOrphans {

// Takes widget out of layout; returns it.
QWidget *take(QBoxLayout *layout, QWidget *widget);
// Inserts widget into layout at index (a negative index or one past the end
// appends) and shows it.
void put(QBoxLayout *layout, QWidget *widget, int index);

} // namespace layoutOrphans
