#include "rtuframer.h"

#include "engine/crc16.h"
#include "frameshape.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int CrcLength = 2;
constexpr int MaxWireLength = FrameShape::MaxAduLength + CrcLength;
// Bytes without a frame boundary in sight that are held at most; beyond
// them the oldest are noise (a line flooded without pause).
constexpr int MaxHeld = 2 * MaxWireLength;
// Bytes read are appended here; the consumed front goes once it is this long.
constexpr size_t CompactAfter = 16384;

} // namespace

RtuFramer::RtuFramer(qint64 characterUs, qint64 silenceUs, qint64 giveUpUs, FrameSink &sink)
    : BusFramer(characterUs, sink)
    , silenceUs(silenceUs)
    , giveUpUs(giveUpUs)
{ }

void RtuFramer::feed(const quint8 *bytes, int count, qint64 nowUs)
{
    if (count <= 0)
        return;
    const qint64 first = base + qint64(buffer.size());
    const qint64 silence = times.record(count, nowUs);
    if (silence >= silenceUs)
        gaps.push_back(first);
    buffer.insert(buffer.end(), bytes, bytes + count);
    decide(nowUs, false);
}

void RtuFramer::advance(qint64 nowUs)
{
    if (decisionUs >= 0 && nowUs >= decisionUs)
        decide(nowUs, false);
}

void RtuFramer::finish()
{
    decide(std::numeric_limits<qint64>::max(), true);
}

qint64 RtuFramer::firstHeldUs() const
{
    return held() > 0 ? times.timeOf(base + qint64(head)) : -1;
}

void RtuFramer::waitUntil(qint64 us)
{
    decisionUs = us;
}

void RtuFramer::decide(qint64 nowUs, bool final)
{
    decisionUs = -1;
    while (held() > 0) {
        const qint64 silent
            = final ? std::numeric_limits<qint64>::max() : nowUs - times.lastArrivalUs();
        const FrameShape::Candidates shape = FrameShape::of(at(0), held());
        // Lengths not complete yet, or not even known yet.
        bool openLonger = shape.needed > held();
        FrameShape::Candidate good[8];
        int goodCount = 0;
        for (int i = 0; i < shape.count; ++i) {
            const int length = shape.list[i].length + CrcLength;
            if (length > held())
                openLonger = true;
            else if (Modbus::hasValidCrc(at(0), length))
                good[goodCount++] = {length, shape.list[i].roles};
        }

        if (goodCount > 0) {
            const FrameShape::Candidate chosen = choose(good, goodCount, silent);
            // A longer frame may still be coming, unless the line fell
            // silent or a good frame follows.
            if (openLonger && silent < silenceUs && goodFrameAt(chosen.length) == 0) {
                waitUntil(times.lastArrivalUs() + silenceUs);
                return;
            }
            take(chosen.length, BusFrame::Kind::Good, chosen.roles);
            continue;
        }

        // A frame still arriving waits, unless the line has been silent too
        // long or a good frame already follows it after a gap.
        if (openLonger && silent < giveUpUs && !goodFrameAfterGap()) {
            waitUntil(times.lastArrivalUs() + giveUpUs);
            return;
        }
        if (!cutBadUnit(silent, final)) {
            waitUntil(times.lastArrivalUs() + giveUpUs);
            return;
        }
    }
}

FrameShape::Candidate RtuFramer::choose(
    const FrameShape::Candidate *good, int count, qint64 silentUs) const
{
    if (count == 1)
        return good[0];
    // First what follows: the next good frame, then a silence; then the
    // side the conversation expects: a reply when a request of this address
    // and function waits, a request otherwise.
    const quint8 expected = sink.awaitsReply(*at(0), *at(1)) ? BusFrame::Reply : BusFrame::Request;
    // A zero byte between frames counts as a glitch of the line.
    const auto frameFollows = [&](int end) {
        return goodFrameAt(end) > 0 || (end < held() && *at(end) == 0 && goodFrameAt(end + 1) > 0);
    };
    const auto rank = [&](const FrameShape::Candidate &candidate) {
        const int end = candidate.length;
        const int follower = frameFollows(end)                           ? 2
            : (isGapAt(end) || (end == held() && silentUs >= silenceUs)) ? 1
                                                                         : 0;
        return 2 * follower + ((candidate.roles & expected) ? 1 : 0);
    };
    int best = -1;
    int bestRank = -1;
    for (int i = 0; i < count; ++i) {
        const int candidateRank = rank(good[i]);
        if (candidateRank > bestRank
            || (candidateRank == bestRank && good[i].length > good[best].length)) {
            best = i;
            bestRank = candidateRank;
        }
    }
    // Of a frame and the same frame with one zero byte more, the CRC of one
    // holds exactly when that of the other does; a zero byte after a frame
    // is a common glitch of a line turning round, so the shorter wins.
    for (int i = 0; i < count; ++i) {
        if (rank(good[i]) == bestRank && good[i].length + 1 == good[best].length
            && *at(good[i].length) == 0)
            return good[i];
    }
    return good[best];
}

bool RtuFramer::goodFrameAfterGap() const
{
    const qint64 first = base + qint64(head);
    for (const qint64 gap : gaps) {
        const qint64 offset = gap - first;
        if (offset > 0 && offset < held() && goodFrameAt(int(offset)) > 0)
            return true;
    }
    return false;
}

bool RtuFramer::cutBadUnit(qint64 silentUs, bool final)
{
    int nextGood = -1;
    for (int offset = 1; offset < held() && nextGood < 0; ++offset) {
        if (goodFrameAt(offset) > 0)
            nextGood = offset;
    }
    // A frame of a known shape ends at the next good frame or where the
    // bytes end; pauses within it may be an adapter's or a slow device's.
    // Other bytes end at a pause too.
    const int end = nextGood >= 0 ? nextGood : held();
    const int boundary = std::min(end, firstGap());
    // Without a good frame after them, only a long silence or the line's
    // end tells where bad bytes end.
    const bool settled = final || silentUs >= giveUpUs || held() >= MaxHeld;
    if (nextGood < 0 && !settled) {
        if (boundary == held() || FrameShape::of(at(0), held()).count > 0)
            return false;
    }
    const FrameShape::Candidates shape = FrameShape::of(at(0), held());

    if (shape.count > 0) {
        // A known shape: its length where the next good frame, a gap or the
        // end of what came meets it is a frame with a wrong CRC.
        int fit = 0;
        int fitRank = -1;
        int shortest = std::numeric_limits<int>::max();
        int longestWithin = 0;
        for (int i = 0; i < shape.count; ++i) {
            const int length = shape.list[i].length + CrcLength;
            shortest = std::min(shortest, length);
            if (length <= end)
                longestWithin = std::max(longestWithin, length);
            const int rank = length == nextGood      ? 2
                : (length <= end && isGapAt(length)) ? 1
                : (nextGood < 0 && length == held()) ? 0
                                                     : -1;
            if (rank > fitRank) {
                fit = length;
                fitRank = rank;
            }
        }
        if (fitRank >= 0)
            take(fit, BusFrame::Kind::ChecksumError);
        else if (end < shortest)
            takeTruncated(end);
        else
            take(longestWithin, BusFrame::Kind::ChecksumError);
        return true;
    }
    if (shape.needed > 0 && held() >= 2 && FrameShape::isKnownStart(*at(0), *at(1))) {
        // Known start, but cut before its length could be told.
        takeTruncated(end);
        return true;
    }
    // No known shape: noise, or a whole frame of an unknown function. A
    // flood without pause is cut to what a frame could still need.
    if (boundary == held() && !final && silentUs < giveUpUs) {
        skip(held() - MaxWireLength);
        return true;
    }
    if (boundary >= 4 && Modbus::hasValidCrc(at(0), boundary))
        take(boundary, BusFrame::Kind::Unknown);
    else
        skip(boundary);
    return true;
}

int RtuFramer::goodFrameAt(int offset) const
{
    const int available = held() - offset;
    if (available < 4)
        return 0;
    const quint8 *start = at(offset);
    const FrameShape::Candidates shape = FrameShape::of(start, available);
    for (int i = 0; i < shape.count; ++i) {
        const int length = shape.list[i].length + CrcLength;
        if (length <= available && Modbus::hasValidCrc(start, length))
            return length;
    }
    return 0;
}

bool RtuFramer::isGapAt(int offset) const
{
    const qint64 index = base + qint64(head) + offset;
    return std::binary_search(gaps.begin(), gaps.end(), index);
}

int RtuFramer::firstGap() const
{
    const qint64 first = base + qint64(head);
    const auto gap = std::upper_bound(gaps.begin(), gaps.end(), first);
    return gap == gaps.end() ? held() : int(std::min<qint64>(*gap - first, held()));
}

void RtuFramer::takeTruncated(int length)
{
    // A lone byte says nothing of a frame.
    if (length >= 2)
        take(length, BusFrame::Kind::Truncated);
    else
        skip(length);
}

void RtuFramer::take(int length, BusFrame::Kind kind, quint8 roles)
{
    BusFrame frame;
    frame.kind = kind;
    frame.framing = BusFrame::Framing::Rtu;
    frame.wire = QByteArray(reinterpret_cast<const char *>(at(0)), length);
    // A truncated frame has no CRC to leave out.
    const int aduLength = kind == BusFrame::Kind::Truncated ? length : length - CrcLength;
    frame.adu = frame.wire.left(aduLength);
    const qint64 first = base + qint64(head);
    frame.startUs = times.timeOf(first);
    frame.endUs = times.timeOf(first + length - 1);
    frame.roles = roles;
    found(frame);
    consume(length);
}

void RtuFramer::skip(int length)
{
    skipNoise(length);
    consume(length);
}

void RtuFramer::consume(int length)
{
    head += size_t(length);
    const qint64 first = base + qint64(head);
    while (!gaps.empty() && gaps.front() <= first)
        gaps.pop_front();
    times.forgetBefore(first);
    if (head == buffer.size()) {
        base += qint64(head);
        buffer.clear();
        head = 0;
    } else if (head >= CompactAfter) {
        buffer.erase(buffer.begin(), buffer.begin() + std::ptrdiff_t(head));
        base += qint64(head);
        head = 0;
    }
}
