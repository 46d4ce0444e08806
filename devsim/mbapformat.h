#pragma once

#include "frameformat.h"

// MBAP frames (transaction, protocol, length, unit, PDU) on a TCP stream or
// inside TLS: cut by their length field. The unit identifier selects the
// device (DeviceSimulator::handleTcp). A length field out of range leaves the
// stream uncuttable: the frame so far is taken and the connection closed.
class MbapFormat : public FrameFormat
{
public:
    using FrameFormat::FrameFormat;

    QByteArray takeFrame() override;
    bool endsAtSilence() const override { return false; }
    // The header, then the rest of its frame; all there is once the length
    // field is out of range, so that the frame logged holds it.
    int nextPiece() const override;
    bool lost() const override { return stream == Stream::Broken; }
    Answer answer(const QByteArray &frame) override;

private:
    // The whole reply frame: the MBAP header (with its faults) and the PDU.
    static QByteArray replyFrame(
        const QByteArray &request, const QByteArray &pdu, int address, const ActiveFaults &faults);

    // A length field out of range is seen first, then the frame is taken
    // with what followed it.
    enum class Stream { Sound, BadLength, Broken } stream = Stream::Sound;
};
