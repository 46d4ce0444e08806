#pragma once

#include "frameformat.h"

// Modbus ASCII frames (':', hexadecimal digits, LRC, CR LF) on a serial line
// or a TCP stream: a frame ends at its line feed; characters before its ':'
// are line noise and dropped. Only the devices' own addresses are answered;
// a frame with a bad LRC or that is not well formed is ignored like a
// device does. The bad-crc fault damages the reply's LRC.
class AsciiFormat : public FrameFormat
{
public:
    using FrameFormat::FrameFormat;

    QByteArray takeFrame() override;
    Answer answer(const QByteArray &frame) override;
};
