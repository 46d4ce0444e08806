#pragma once

#include <QByteArray>

// Reads lines from a descriptor (a server's standard input), each at most a
// bounded number of bytes, while watching a stop descriptor: a line longer
// than the bound is skipped to its line feed without being kept, and a stop
// request ends the wait for the next line at once. The wait for a line has
// no limit of its own: a server waits for its next request until its input
// ends or it is asked to stop.
class LineReader
{
public:
    enum Kind {
        Line, // bytes: the line without its line feed
        TooLong, // a line longer than the bound, skipped
        Unterminated, // the input ended in the middle of a line (its bytes are dropped)
        End, // the input ended (or could no longer be read) between lines
        Stopped, // the stop descriptor became readable
    };
    struct Result
    {
        Kind kind = End;
        QByteArray bytes;
    };

    // stopDescriptor -1: none.
    LineReader(int descriptor, int stopDescriptor, int maxLineBytes);

    // The next line, or why there is none.
    Result next();

private:
    // Waits for input; false once a stop is requested.
    bool waitForInput();
    // Reads what the descriptor holds; false at its end.
    bool fill();

    int descriptor;
    int stopDescriptor;
    int maxLineBytes;
    QByteArray buffer; // read, not yet handed out
    bool skipping = false; // inside a line that is too long
    bool ended = false;
};
