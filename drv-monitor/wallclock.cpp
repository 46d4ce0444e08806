#include "wallclock.h"

#include <chrono>

WallClock::WallClock()
    : WallClock(steadyNowUs(), QDateTime::currentDateTime())
{ }

WallClock::WallClock(qint64 steadyUs, const QDateTime &wall)
    : anchorUs(steadyUs)
    , anchor(wall)
{ }

QDateTime WallClock::at(qint64 steadyUs) const
{
    const qint64 us = steadyUs - anchorUs;
    // Rounded down to the millisecond, also before the anchor.
    return anchor.addMSecs(us >= 0 ? us / 1000 : -((-us + 999) / 1000));
}

qint64 WallClock::steadyNowUs()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
