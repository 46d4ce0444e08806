#include "busframer.h"

BusFramer::BusFramer(qint64 characterUs)
    : times(characterUs)
{ }

QVector<BusFrame> BusFramer::takeFrames()
{
    QVector<BusFrame> taken;
    taken.swap(frames);
    return taken;
}
