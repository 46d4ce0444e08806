#include "rtuformat.h"

#include "crc16.h"
#include "devicesimulator.h"

QByteArray RtuFormat::takeFrame()
{
    const int length = RtuFramer::frameLength(buffer);
    if (length <= 0 || buffer.size() < length)
        return QByteArray();
    const QByteArray frame = buffer.left(length);
    buffer.remove(0, length);
    return frame;
}

FrameFormat::Answer RtuFormat::answer(const QByteArray &frame)
{
    Answer answer;
    if (frame.size() < 4) {
        note(QStringLiteral("frame too short"), frame);
        return answer;
    }
    if (!Crc16::isValid(frame)) {
        note(QStringLiteral("bad CRC"), frame);
        return answer;
    }
    const int address = static_cast<quint8>(frame.at(0));
    const DeviceSimulator::Outcome outcome
        = simulator.handleRtu(address, frame.mid(1, frame.size() - 3));
    answer.faults = outcome.faults;
    if (!outcome.answer)
        return answer;
    answer.reply
        = Crc16::appended(QByteArray(1, static_cast<char>(outcome.address)) + outcome.reply);
    if (outcome.faults.badCrc) {
        answer.reply[answer.reply.size() - 2]
            = static_cast<char>(~answer.reply.at(answer.reply.size() - 2));
        answer.reply[answer.reply.size() - 1]
            = static_cast<char>(~answer.reply.at(answer.reply.size() - 1));
    }
    return answer;
}
