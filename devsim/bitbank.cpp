#include "bitbank.h"

#include <algorithm>

BitBank::BitBank()
    : coils(Count, false)
    , discreteInputs(Count, false)
{ }

bool BitBank::store(QVector<bool> &target, int start, const QVector<bool> &bits)
{
    if (start < 0 || start + bits.size() > Count)
        return false;
    std::copy(bits.cbegin(), bits.cend(), target.begin() + start);
    return true;
}

bool BitBank::setCoils(int start, const QVector<bool> &bits)
{
    return store(coils, start, bits);
}

bool BitBank::setDiscreteInputs(int start, const QVector<bool> &bits)
{
    return store(discreteInputs, start, bits);
}
