#include "monitorfilter.h"

bool monitorFilter::accepts(const monitorTransaction &transaction) const
{
    return (address < 0 || transaction.address == address)
        && (function.isEmpty() || transaction.function == function)
        && (!failedOnly || transaction.failed);
}

bool monitorFilter::operator==(const monitorFilter &other) const
{
    return address == other.address && function == other.function && failedOnly == other.failedOnly;
}
