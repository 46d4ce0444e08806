#pragma once

#include "busframe.h"
#include "bytetimes.h"
#include "framesink.h"

// How long an incomplete frame waits for its rest. Adapters hand bytes over
// in batches (commonly every 16 ms), and a slow device may pause within a
// frame where the master waits for it (the engine waits up to 2 s for each
// further byte); the frame's length and check decide where it ends, and a
// second of silence ends the wait, as Modbus ASCII allows a second between
// characters.
constexpr qint64 IncompleteFrameTimeoutUs = 1000000;

// Cuts the bytes read from a line into frames and hands them to a sink as
// soon as they are decided. Bytes come in reads, each with the time it was
// made (steady clock, µs); what cannot be decided yet waits for more bytes
// or for the line's silence, which advance() reports. Bytes that belong to
// no frame are skipped and counted as noise.
class BusFramer
{
public:
    BusFramer(qint64 characterUs, FrameSink &sink);
    virtual ~BusFramer() = default;
    BusFramer(const BusFramer &) = delete;
    BusFramer &operator=(const BusFramer &) = delete;

    // Bytes read from the line at nowUs.
    virtual void feed(const quint8 *bytes, int count, qint64 nowUs) = 0;
    // The line has been silent since the last read until nowUs.
    virtual void advance(qint64 nowUs) = 0;
    // The line has ended: every byte still held becomes a frame or noise.
    virtual void finish() = 0;
    // When advance() next has something to decide; -1 when nothing waits.
    qint64 nextDecisionUs() const { return decisionUs; }
    // Arrival of the first byte held for a later decision; -1 when none is.
    virtual qint64 firstHeldUs() const = 0;

    qint64 noiseBytes() const { return noise; }

protected:
    void found(const BusFrame &frame) { sink.add(frame); }
    void skipNoise(qint64 count) { noise += count; }

    FrameSink &sink;
    ByteTimes times;
    qint64 decisionUs = -1;

private:
    qint64 noise = 0;
};
