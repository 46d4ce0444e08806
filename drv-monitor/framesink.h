#pragma once

#include "busframe.h"

// Takes the frames a framer finds, in line order, and tells it what the
// conversation so far expects: where two lengths of one frame both have a
// right checksum, the one that fits the expected reply wins.
class FrameSink
{
public:
    virtual ~FrameSink() = default;
    virtual void add(const BusFrame &frame) = 0;
    // Whether a request of this address and function waits for its reply.
    virtual bool awaitsReply(quint8 address, quint8 function) const = 0;
};
