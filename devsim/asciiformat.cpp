#include "asciiformat.h"

#include "asciicodec.h"
#include "devicesimulator.h"

namespace {
// ':', the address, the longest PDU and the LRC in digits, CR LF.
constexpr int MaxFrame = 1 + 2 * 255 + 2;
} // namespace

QByteArray AsciiFormat::takeFrame()
{
    const int start = buffer.indexOf(':');
    if (start < 0) {
        buffer.clear();
        return QByteArray();
    }
    buffer.remove(0, start);
    const int end = buffer.indexOf('\n');
    if (end < 0) {
        // A frame that cannot end any more is cut here and refused.
        if (buffer.size() <= MaxFrame)
            return QByteArray();
        return takePending();
    }
    const QByteArray frame = buffer.left(end + 1);
    buffer.remove(0, end + 1);
    return frame;
}

FrameFormat::Answer AsciiFormat::answer(const QByteArray &frame)
{
    Answer answer;
    QByteArray bytes;
    switch (AsciiCodec::decode(frame, &bytes)) {
    case AsciiCodec::Decoded::BadFrame:
        note(QStringLiteral("bad ASCII frame"), frame);
        return answer;
    case AsciiCodec::Decoded::BadLrc:
        note(QStringLiteral("bad LRC"), frame);
        return answer;
    case AsciiCodec::Decoded::Ok:
        break;
    }
    const int address = static_cast<quint8>(bytes.at(0));
    const DeviceSimulator::Outcome outcome = simulator.handleRtu(address, bytes.mid(1));
    answer.faults = outcome.faults;
    if (outcome.answer)
        answer.reply
            = AsciiCodec::encode(QByteArray(1, static_cast<char>(outcome.address)) + outcome.reply,
                outcome.faults.badCrc);
    return answer;
}
