#include "busframer.h"

BusFramer::BusFramer(qint64 characterUs, FrameSink &sink)
    : sink(sink)
    , times(characterUs)
{ }
