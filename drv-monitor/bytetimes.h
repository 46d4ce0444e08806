#pragma once

#include <QtGlobal>

#include <deque>

// When each byte read from a line arrived, as well as the reads tell it: a
// read hands over the bytes that came since the one before, the last of them
// just now and each earlier one a character's time before the next, but not
// before the previous read. Bytes are counted from the first read on.
class ByteTimes
{
public:
    explicit ByteTimes(qint64 characterUs);

    // Records count bytes read at nowUs; returns the silence before the
    // first of them in µs (-1 for the first read ever).
    qint64 record(int count, qint64 nowUs);
    // Estimated arrival of byte index; index must have been read.
    qint64 timeOf(qint64 index) const;
    // Forgets the reads that end before byte index.
    void forgetBefore(qint64 index);
    // Arrival of the last read; -1 before the first.
    qint64 lastArrivalUs() const { return reads.empty() ? -1 : reads.back().arrivalUs; }
    qint64 characterUs() const { return character; }

private:
    struct Read
    {
        qint64 end; // index after its last byte
        qint64 arrivalUs;
    };
    const qint64 character;
    std::deque<Read> reads;
    qint64 total = 0;
    qint64 lastUs = -1; // kept when the reads before are forgotten
};
