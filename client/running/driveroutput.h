#pragma once

#include <QString>

// What the client takes from a driver's standard output: the value of a read
// and, when the driver ran with "--verbose 1", the frames of its byte trace.
class driverOutput
{
public:
    // The value a read printed: the output without line ends; with the trace
    // on, its last line, where the value follows the trace.
    static QString readValue(const QString &out, bool verbose);

    // The last frame sent before the last wait for a reply, as the trace
    // writes it: "[01][03][00][64][00][01][C5][D5]". Empty when the trace
    // shows none.
    static QString sentFrame(const QString &out);

    // The bytes received after the last wait for a reply, written like a sent
    // frame ("<01><03>" becomes "[01][03]"); a reply cut short shows the bytes
    // that came. Empty when none came.
    static QString receivedFrame(const QString &out);
};
