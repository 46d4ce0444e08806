#include "bytetimes.h"

#include <algorithm>

ByteTimes::ByteTimes(qint64 characterUs)
    : character(characterUs)
{ }

qint64 ByteTimes::record(int count, qint64 nowUs)
{
    const qint64 silence
        = lastUs < 0 ? -1 : std::max<qint64>(0, nowUs - count * character - lastUs);
    total += count;
    reads.push_back({total, nowUs});
    lastUs = nowUs;
    return silence;
}

qint64 ByteTimes::timeOf(qint64 index) const
{
    const auto read = std::upper_bound(reads.begin(), reads.end(), index,
        [](qint64 wanted, const Read &candidate) { return wanted < candidate.end; });
    if (read == reads.end())
        return lastUs;
    qint64 time = read->arrivalUs - (read->end - 1 - index) * character;
    if (read != reads.begin())
        time = std::max(time, std::prev(read)->arrivalUs);
    return time;
}

void ByteTimes::forgetBefore(qint64 index)
{
    // The read before the first kept one bounds its estimates.
    while (reads.size() > 2 && reads[1].end <= index)
        reads.pop_front();
}
