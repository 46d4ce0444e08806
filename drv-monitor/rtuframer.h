#pragma once

#include "busframer.h"
#include "frameshape.h"

#include <deque>
#include <vector>

// RTU frames out of the bytes of a line.
//
// A frame ends where the length its function code implies ends with a right
// CRC; silence alone is not trusted, because adapters hand bytes over in
// batches: two frames may come in one read (no gap), and one frame in two
// reads some milliseconds apart (a false gap). Silence of 3.5 characters
// decides only between lengths still open (a short frame whose CRC is right
// while a longer one is possible), and a longer silence (giveUpUs) ends a
// frame that never completes. Bytes that make no good frame are cut at the
// next good frame, at a gap or at the end of what came, and reported as a
// CRC error (a known shape of the right length), a truncated frame (a known
// shape cut short), an unknown frame (a right CRC, an unknown shape) or
// skipped as noise.
class RtuFramer : public BusFramer
{
public:
    RtuFramer(qint64 characterUs, qint64 silenceUs, qint64 giveUpUs, FrameSink &sink);

    void feed(const quint8 *bytes, int count, qint64 nowUs) override;
    void advance(qint64 nowUs) override;
    void finish() override;
    qint64 firstHeldUs() const override;

private:
    // Decides what the held bytes allow; final: nothing more will come.
    void decide(qint64 nowUs, bool final);
    // Of lengths whose CRCs are all right, the one that is the frame.
    FrameShape::Candidate choose(
        const FrameShape::Candidate *good, int count, qint64 silentUs) const;
    // Whether a good frame is complete after a gap within the held bytes.
    bool goodFrameAfterGap() const;
    // Cuts the bytes at the head that make no good frame; false when their
    // end has not come yet.
    bool cutBadUnit(qint64 silentUs, bool final);

    int held() const { return int(buffer.size() - head); }
    const quint8 *at(int offset) const { return buffer.data() + head + offset; }
    // Wire length of the good frame complete at offset, 0 when there is none.
    int goodFrameAt(int offset) const;
    bool isGapAt(int offset) const;
    // Offset of the first gap after the head, held() when none.
    int firstGap() const;
    // Hands over the first length bytes as a frame, or as noise.
    void take(int length, BusFrame::Kind kind, quint8 roles = 0);
    void takeTruncated(int length);
    void skip(int length);
    void consume(int length);
    void waitUntil(qint64 us);

    const qint64 silenceUs;
    const qint64 giveUpUs;
    std::vector<quint8> buffer;
    size_t head = 0;
    qint64 base = 0; // index of buffer[0] among all bytes read
    std::deque<qint64> gaps; // indexes of bytes after a silence
};
