#pragma once

#include "logfile.h"

#include <QString>

// Every frame received, one line each: the bytes as upper-case hexadecimal
// pairs separated by one blank ("01 03 00 00 00 01 84 0A"), TCP header included.
// Beside it, when asked for, the reply log: line N holds the bytes that went
// out for the frame on line N ("-" when none did), so a reader pairs them.
// Each line is flushed at once, so a reader sees it as soon as the frame arrived.
// A connection that a master opens is a line of both logs, at the same place:
// "connection N from HOST:PORT", N counted from 1 over the run.
class RequestLog
{
public:
    bool open(const QString &path, QString *error);
    bool openReplies(const QString &path, QString *error);
    void writeFrame(const QByteArray &frame);
    // The reply to the last frame written, as it goes on the line; empty: none.
    void writeReply(const QByteArray &reply);
    void writeConnection(int number, const QString &peer);

    static QString hexLine(const QByteArray &bytes);

private:
    LogFile requests;
    LogFile replies;
};
