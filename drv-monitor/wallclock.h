#pragma once

#include <QDateTime>

// The wall-clock time of instants of the steady clock, which the listening
// measures with: both are read once, at construction, and the steady
// clock's distance from then is added to the wall-clock time. Times come
// with the local offset from UTC, looked up again for every new minute (so
// a change to or from summer time shows), not for every time stamp.
class WallClock
{
public:
    WallClock();
    WallClock(qint64 steadyUs, qint64 msecsSinceEpoch);

    QDateTime at(qint64 steadyUs) const;

    // Now on the steady clock, µs.
    static qint64 steadyNowUs();

private:
    qint64 anchorUs;
    qint64 anchorMs;
    mutable qint64 offsetMinute; // the minute since the epoch offsetSeconds is of
    mutable int offsetSeconds = 0;
};
