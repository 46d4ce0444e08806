#pragma once

#include "command.h"

class readElement;

// Marks a read row for the trend, or unmarks it.
class markReadElementForTrend : public command
{
public:
    markReadElementForTrend(readElement *element, bool marked);
    void undo() override;
    void redo() override;

private:
    readElement *element;
    bool marked;
};
