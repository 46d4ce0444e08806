#pragma once

#include "command.h"

class QBoxLayout;
class QWidget;

// Adds an element widget to one of the project's lists. While the addition is
// undone the command holds the widget as an orphan without a parent and owns
// it; a command dropped in that state deletes the widget.
class addElementToLayout : public command
{
public:
    addElementToLayout(QBoxLayout *layout, QWidget *widget, int index);
    ~addElementToLayout() override;
    void undo() override;
    void redo() override;

private:
    QBoxLayout *layout;
    QWidget *widget;
    QWidget *orphan = nullptr;
    int index;
};

// The add command of one element kind.
template<class Element> class addElementOfKindToLayout : public addElementToLayout
{
public:
    addElementOfKindToLayout(QBoxLayout *layout, Element *element, int index)
        : addElementToLayout(layout, element, index)
    { }
};

class rtuElement;
class tcpElement;
class readElement;
class writeElement;
class macroElement;
using addRtuElementToLayout = addElementOfKindToLayout<rtuElement>;
using addTcpElementToLayout = addElementOfKindToLayout<tcpElement>;
using addReadElementToLayout = addElementOfKindToLayout<readElement>;
using addWriteElementToLayout = addElementOfKindToLayout<writeElement>;
using addMacroElementToLayout = addElementOfKindToLayout<macroElement>;
