#include "mbapformat.h"

#include "devicesimulator.h"

#include <QTextStream>

namespace {

constexpr int HeaderBytes = 7; // with the unit identifier

// The length field's value, 0 when it is not complete yet.
int lengthField(const QByteArray &buffer)
{
    if (buffer.size() < HeaderBytes)
        return 0;
    return (static_cast<quint8>(buffer.at(4)) << 8) | static_cast<quint8>(buffer.at(5));
}

bool soundLength(int length)
{
    return length >= 2 && length <= 254;
}

} // namespace

int MbapFormat::nextPiece() const
{
    if (buffer.size() < HeaderBytes)
        return HeaderBytes - buffer.size();
    const int length = lengthField(buffer);
    return soundLength(length) ? qMax(1, 6 + length - buffer.size()) : 0;
}

QByteArray MbapFormat::takeFrame()
{
    if (stream == Stream::Broken || buffer.size() < HeaderBytes)
        return QByteArray();
    const int length = lengthField(buffer);
    if (!soundLength(length)) {
        // Once more, with all the stream had (nextPiece()), for the log.
        if (stream == Stream::Sound) {
            stream = Stream::BadLength;
            return QByteArray();
        }
        QTextStream(stderr) << "qelDevSim: bad MBAP length " << length << ", connection closed"
                            << Qt::endl;
        stream = Stream::Broken;
        return takePending();
    }
    if (buffer.size() < 6 + length)
        return QByteArray();
    const QByteArray frame = buffer.left(6 + length);
    buffer.remove(0, 6 + length);
    return frame;
}

FrameFormat::Answer MbapFormat::answer(const QByteArray &frame)
{
    Answer answer;
    if (stream == Stream::Broken)
        return answer;
    const int unit = static_cast<quint8>(frame.at(6));
    const DeviceSimulator::Outcome outcome = simulator.handleTcp(unit, frame.mid(7));
    answer.faults = outcome.faults;
    answer.drop = outcome.drop;
    if (outcome.answer && !outcome.drop)
        answer.reply = replyFrame(frame, outcome.reply, outcome.address, outcome.faults);
    return answer;
}

QByteArray MbapFormat::replyFrame(
    const QByteArray &request, const QByteArray &pdu, int address, const ActiveFaults &faults)
{
    int transaction
        = (static_cast<quint8>(request.at(0)) << 8) | static_cast<quint8>(request.at(1));
    if (faults.transaction == -1)
        transaction = (transaction - 1) & 0xFFFF;
    else if (faults.transaction >= 0)
        transaction = faults.transaction;
    const int protocol = faults.protocol >= 0 ? faults.protocol : 0;
    const int length = pdu.size() + 1;
    QByteArray reply;
    reply.append(static_cast<char>(transaction >> 8));
    reply.append(static_cast<char>(transaction & 0xFF));
    reply.append(static_cast<char>(protocol >> 8));
    reply.append(static_cast<char>(protocol & 0xFF));
    reply.append(static_cast<char>(length >> 8));
    reply.append(static_cast<char>(length & 0xFF));
    reply.append(static_cast<char>(address));
    reply.append(pdu);
    return reply;
}
