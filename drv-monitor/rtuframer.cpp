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

RtuFramer::RtuFramer(qint64 characterUs, qint64 silenceUs, qint64 giveUpUs)
    : BusFramer(characterUs)
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
        int good[8];
        int goodCount = 0;
        for (int i = 0; i < shape.count; ++i) {
            const int length = shape.list[i].length + CrcLength;
            if (length > held())
                openLonger = true;
            else if (Modbus::hasValidCrc(at(0), length))
                good[goodCount++] = length;
        }

        if (goodCount > 0) {
            // Two right CRCs at once: the one that the next frame, a gap or
            // the end of what came follows is the frame; else the longest.
            int chosen = good[0];
            int chosenRank = -1;
            for (int i = 0; goodCount > 1 && i < goodCount; ++i) {
                const int end = good[i];
                const int rank = goodFrameAt(end) > 0 ? 2 : (isGapAt(end) || end == held()) ? 1 : 0;
                if (rank > chosenRank || (rank == chosenRank && end > chosen)) {
                    chosen = end;
                    chosenRank = rank;
                }
            }
            if (openLonger && silent < silenceUs && goodFrameAt(chosen) == 0) {
                waitUntil(times.lastArrivalUs() + silenceUs);
                return;
            }
            quint8 roles = 0;
            for (int i = 0; i < shape.count; ++i) {
                if (shape.list[i].length + CrcLength == chosen)
                    roles |= shape.list[i].roles;
            }
            take(chosen, BusFrame::Kind::Good, roles);
            continue;
        }

        // A frame still arriving waits, unless the line has been silent too
        // long or a good frame already follows it after a gap.
        if (openLonger && silent < giveUpUs) {
            bool goodAfterGap = false;
            for (const qint64 gap : gaps) {
                const qint64 offset = gap - base - qint64(head);
                if (offset > 0 && offset < held() && goodFrameAt(int(offset)) > 0) {
                    goodAfterGap = true;
                    break;
                }
            }
            if (!goodAfterGap) {
                waitUntil(times.lastArrivalUs() + giveUpUs);
                return;
            }
        }
        if (!cutBadUnit(silent, final)) {
            waitUntil(times.lastArrivalUs() + giveUpUs);
            return;
        }
    }
}

bool RtuFramer::cutBadUnit(qint64 silentUs, bool final)
{
    int nextGood = held();
    for (int offset = 1; offset < held(); ++offset) {
        if (goodFrameAt(offset) > 0) {
            nextGood = offset;
            break;
        }
    }
    const int boundary = std::min(nextGood, firstGap());
    const FrameShape::Candidates shape = FrameShape::of(at(0), held());

    if (shape.count > 0) {
        // A known shape: its length where the next frame, a gap or the end
        // of what came meets it is a frame with a wrong CRC.
        int fit = 0;
        int fitRank = -1;
        int shortest = std::numeric_limits<int>::max();
        int longestWithin = 0;
        for (int i = 0; i < shape.count; ++i) {
            const int length = shape.list[i].length + CrcLength;
            shortest = std::min(shortest, length);
            if (length <= boundary)
                longestWithin = std::max(longestWithin, length);
            const int rank = length == nextGood ? 2
                : isGapAt(length)               ? 1
                : length == held()              ? 0
                                                : -1;
            if (rank > fitRank) {
                fit = length;
                fitRank = rank;
            }
        }
        if (fitRank >= 0)
            take(fit, BusFrame::Kind::ChecksumError);
        else if (boundary < shortest)
            takeTruncated(boundary);
        else
            take(longestWithin, BusFrame::Kind::ChecksumError);
        return true;
    }
    if (shape.needed > 0 && held() >= 2 && FrameShape::isKnownStart(*at(0), *at(1))) {
        // Known start, but cut before its length could be told.
        takeTruncated(boundary);
        return true;
    }

    // No known shape: the unit may still be arriving.
    if (boundary == held() && !final && silentUs < giveUpUs) {
        if (held() < MaxHeld)
            return false;
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
    found(std::move(frame));
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
