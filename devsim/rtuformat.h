#pragma once

#include "frameformat.h"
#include "rtuframer.h"

// RTU frames (address, PDU, CRC) on a serial line or a TCP stream: cut by
// the request lengths of their function codes (RtuFramer). Only the devices'
// own addresses are answered; a frame with a bad CRC is ignored like a
// device does.
class RtuFormat : public FrameFormat
{
public:
    using FrameFormat::FrameFormat;

    QByteArray takeFrame() override;
    Answer answer(const QByteArray &frame) override;
};
