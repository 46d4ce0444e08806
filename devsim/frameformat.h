#pragma once

#include "faultplan.h"

#include <QByteArray>

class DeviceSimulator;

// How a line frames requests and replies (RTU, ASCII, MBAP): cuts the bytes
// a master sends into frames and answers each one through the simulator.
class FrameFormat
{
public:
    // What goes back for one frame.
    struct Answer
    {
        QByteArray reply; // the whole reply frame; empty: none
        ActiveFaults faults;
        bool drop = false; // close the connection (TCP) instead of a reply
    };

    explicit FrameFormat(DeviceSimulator &simulator)
        : simulator(simulator)
    { }
    virtual ~FrameFormat() = default;

    void append(const QByteArray &bytes) { buffer.append(bytes); }
    bool hasPending() const { return !buffer.isEmpty(); }
    // The next complete frame, or an empty array when none is complete yet.
    virtual QByteArray takeFrame() = 0;
    // Everything buffered, as one frame a silence ended.
    QByteArray takePending();
    // Whether a silence ends a frame whose end the format cannot tell.
    virtual bool endsAtSilence() const { return true; }
    // How many bytes of the stream to take next so that at most one frame
    // completes with them; 0: all there are.
    virtual int nextPiece() const { return 4; }
    // Whether the stream can no longer be cut into frames: the connection
    // is closed.
    virtual bool lost() const { return false; }
    virtual Answer answer(const QByteArray &frame) = 0;

protected:
    // A note on standard error about a frame that is not answered.
    static void note(const QString &text, const QByteArray &frame);

    DeviceSimulator &simulator;
    QByteArray buffer;
};
