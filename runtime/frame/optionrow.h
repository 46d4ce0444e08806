#pragma once

#include "linekind.h"

class QString;

// Checks the value of an option given on the command line, for the line the
// command line connects over; appends one markup line to *lines for each
// problem.
using ValueCheck = void (*)(const QString &value, LineKind line, QString *lines);

// One option of a console program, as its option table lists it.
struct OptionRow
{
    // Whether the option takes the next argument as its value.
    enum Value { TakesValue, Flag };
    // The lines on which its value is checked.
    enum Lines { AnyLine, SerialLineOnly, TcpOnly };

    const char *name;
    Value value;
    const char *help; // in the table's translation context (QT_TRANSLATE_NOOP)
    ValueCheck check = nullptr; // none: the value is not checked
    // Checks run in ascending order, rows of one order in table order.
    int checkOrder = 0;
    Lines checkedOn = AnyLine;
};
