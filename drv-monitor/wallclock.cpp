#include "wallclock.h"

#include <chrono>
#include <limits>

namespace {

// Rounded down, also below zero.
qint64 floorDivide(qint64 value, qint64 divisor)
{
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

} // namespace

WallClock::WallClock()
    : WallClock(steadyNowUs(), QDateTime::currentMSecsSinceEpoch())
{ }

WallClock::WallClock(qint64 steadyUs, qint64 msecsSinceEpoch)
    : anchorUs(steadyUs)
    , anchorMs(msecsSinceEpoch)
    , offsetMinute(std::numeric_limits<qint64>::min())
{ }

QDateTime WallClock::at(qint64 steadyUs) const
{
    const qint64 ms = anchorMs + floorDivide(steadyUs - anchorUs, 1000);
    const qint64 minute = floorDivide(ms, 60000);
    if (minute != offsetMinute) {
        offsetSeconds = QDateTime::fromMSecsSinceEpoch(ms).offsetFromUtc();
        offsetMinute = minute;
    }
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::OffsetFromUTC, offsetSeconds);
}

qint64 WallClock::steadyNowUs()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
