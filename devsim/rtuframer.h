#pragma once

#include <QByteArray>

// Cuts the byte stream of a serial line into RTU frames.
//
// The length of a request follows from its function code: 4 bytes for
// 0x07, 0x0B, 0x0C and 0x11; 8 for 1 to 6; 9 + byte count for 15 and 16;
// 8 + 2 x quantity for 0x41 (the macro payload follows the quantity);
// 13 + byte count for 23. For any other function, or a length beyond 256
// bytes, the frame ends at a silence on the line, which the owner reports
// with takePending().
class RtuFramer
{
public:
    static constexpr int MaxFrame = 256;

    void append(const QByteArray &bytes) { buffer.append(bytes); }
    // The next complete frame, or an empty array when none is complete yet.
    QByteArray takeFrame();
    bool hasPending() const { return !buffer.isEmpty(); }
    // Everything buffered, as one frame ended by silence.
    QByteArray takePending();

    // The length of the frame that starts with these bytes: > 0 when known,
    // 0 when more bytes are needed to tell, -1 when only silence can tell.
    static int frameLength(const QByteArray &head);

private:
    QByteArray buffer;
};
