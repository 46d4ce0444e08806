#include "markreadelementfortrend.h"

#include "readelement.h"

markReadElementForTrend::markReadElementForTrend(readElement *element, bool marked)
    : element(element)
    , marked(marked)
{
    redo();
}

void markReadElementForTrend::undo()
{
    element->setTrendMarked(!marked);
}

void markReadElementForTrend::redo()
{
    element->setTrendMarked(marked);
}
