#include "asciiframer.h"

#include "engine/asciiframe.h"
#include "frameshape.h"

namespace {

// ':', the hexadecimal digits of the longest RTU address and PDU and an LRC,
// CR LF.
constexpr int MaxFrameLength = Modbus::Ascii::frameLength(FrameShape::MaxAduLength);

// The bytes of the whole hexadecimal pairs after the ':' of text, up to the
// first character that is no digit.
QByteArray leadingBytes(const QByteArray &text)
{
    QByteArray bytes;
    for (int i = 1; i + 1 < text.size(); i += 2) {
        const int high = Modbus::Ascii::hexValue(text.at(i));
        const int low = Modbus::Ascii::hexValue(text.at(i + 1));
        if (high < 0 || low < 0)
            break;
        bytes.append(char(high << 4 | low));
    }
    return bytes;
}

} // namespace

AsciiFramer::AsciiFramer(qint64 characterUs, qint64 giveUpUs, FrameSink &sink)
    : BusFramer(characterUs, sink)
    , giveUpUs(giveUpUs)
{ }

void AsciiFramer::feed(const quint8 *bytes, int count, qint64 nowUs)
{
    if (count <= 0)
        return;
    times.record(count, nowUs);
    for (int i = 0; i < count; ++i, ++nextIndex) {
        const char c = char(bytes[i]);
        if (c == Modbus::Ascii::FrameStart) {
            if (!frame.isEmpty())
                takeTruncated();
            frame.append(c);
            frameStart = nextIndex;
            continue;
        }
        if (frame.isEmpty()) {
            skipNoise(1);
            continue;
        }
        frame.append(c);
        if (c == '\n')
            complete();
        else if (frame.size() >= MaxFrameLength)
            take(BusFrame::Kind::Unknown, leadingBytes(frame));
    }
    times.forgetBefore(frame.isEmpty() ? nextIndex : frameStart);
    decisionUs = frame.isEmpty() ? -1 : nowUs + giveUpUs;
}

void AsciiFramer::advance(qint64 nowUs)
{
    if (!frame.isEmpty() && nowUs - times.lastArrivalUs() >= giveUpUs)
        takeTruncated();
    decisionUs = frame.isEmpty() ? -1 : times.lastArrivalUs() + giveUpUs;
}

void AsciiFramer::finish()
{
    if (!frame.isEmpty())
        takeTruncated();
    decisionUs = -1;
}

qint64 AsciiFramer::firstHeldUs() const
{
    return frame.isEmpty() ? -1 : times.timeOf(frameStart);
}

void AsciiFramer::complete()
{
    QByteArray adu(frame.size(), '\0');
    int aduLength = 0;
    const auto status = Modbus::Ascii::decode(
        frame.constData(), frame.size(), reinterpret_cast<uint8_t *>(adu.data()), &aduLength);
    switch (status) {
    case Modbus::Ascii::DecodeStatus::Ok: {
        adu.truncate(aduLength);
        const quint8 roles
            = FrameShape::rolesOf(reinterpret_cast<const quint8 *>(adu.constData()), aduLength);
        take(roles ? BusFrame::Kind::Good : BusFrame::Kind::Unknown, adu, roles);
        break;
    }
    case Modbus::Ascii::DecodeStatus::InvalidLrc:
        adu.truncate((frame.size() - 3) / 2 - 1);
        take(BusFrame::Kind::ChecksumError, adu);
        break;
    case Modbus::Ascii::DecodeStatus::InvalidFrame:
        take(BusFrame::Kind::Unknown, leadingBytes(frame));
        break;
    }
}

void AsciiFramer::takeTruncated()
{
    take(BusFrame::Kind::Truncated, leadingBytes(frame));
}

void AsciiFramer::take(BusFrame::Kind kind, QByteArray adu, quint8 roles)
{
    BusFrame result;
    result.kind = kind;
    result.framing = BusFrame::Framing::Ascii;
    result.wire = frame;
    result.adu = std::move(adu);
    result.startUs = times.timeOf(frameStart);
    result.endUs = times.timeOf(frameStart + frame.size() - 1);
    result.roles = roles;
    found(result);
    frame.clear();
}
