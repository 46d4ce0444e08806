#pragma once

#include <QDateTime>

// The wall-clock time of instants of the steady clock, which the listening
// measures with: both are read once, at construction, and the steady
// clock's distance from then is added to the wall-clock time.
class WallClock
{
public:
    WallClock();
    WallClock(qint64 steadyUs, const QDateTime &wall);

    QDateTime at(qint64 steadyUs) const;

    // Now on the steady clock, µs.
    static qint64 steadyNowUs();

private:
    qint64 anchorUs;
    QDateTime anchor;
};
