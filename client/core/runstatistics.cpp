#include "runstatistics.h"

#include <QLabel>

runStatistics::runStatistics(QLabel *total, QLabel *errors)
    : totalLabel(total)
    , errorsLabel(errors)
{ }

void runStatistics::count(bool ok)
{
    increment(totalLabel);
    if (!ok)
        increment(errorsLabel);
}

void runStatistics::increment(QLabel *label)
{
    // Text that is not a count (empty at start) counts as 0.
    const qulonglong value = label->text().toULongLong();
    label->setText(QString::number(value + 1));
}
