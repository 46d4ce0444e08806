#pragma once

#include "busframer.h"

#include <QByteArray>

// ASCII frames out of the characters of a line: from ':' through LF. A frame
// whose LRC is wrong is a checksum error; one that a new ':' or a silence of
// giveUpUs cuts short is truncated; one that is not hexadecimal digits
// ending in CR LF, or has no known shape, is unknown. Characters outside
// frames are noise.
class AsciiFramer : public BusFramer
{
public:
    AsciiFramer(qint64 characterUs, qint64 giveUpUs, FrameSink &sink);

    void feed(const quint8 *bytes, int count, qint64 nowUs) override;
    void advance(qint64 nowUs) override;
    void finish() override;
    qint64 firstHeldUs() const override;

private:
    void complete();
    void takeTruncated();
    void take(BusFrame::Kind kind, QByteArray adu, quint8 roles = 0);

    const qint64 giveUpUs;
    QByteArray frame; // from ':' on; empty between frames
    qint64 frameStart = 0; // index of its ':'
    qint64 nextIndex = 0; // index of the next byte read
};
