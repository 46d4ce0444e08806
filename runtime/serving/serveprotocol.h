#pragma once

#include <QByteArray>

// The lines a serving driver ("--serve") writes around its requests, and
// what a reader looks for in them.
//
// Once its line is open the server writes its ready line on standard output:
//
//     serving KEY
//
// KEY is 16 lower-case hexadecimal digits drawn at random for the session.
// Every request then gets exactly the standard output and standard error of
// the same one-shot run, followed on each of the two streams by its end line:
//
//     <line feed>end KEY STATUS<line feed>
//
// STATUS is the exit status the one-shot run would end with, as its parent
// sees it (0, or 255 for -1). The line feed before "end" belongs to the end
// line, so output that does not end its last line (a range read, a progress
// bar) stays as it was. No device sees the key, so nothing a device answers
// (a text register, say) can pass for an end line. The end line goes to
// standard error first, then to standard output, each stream flushed: a
// reader of both finds the request's standard error ended by the time its
// standard output is.
namespace ServeProtocol {

constexpr int KeyLength = 16;

// A new random key.
QByteArray newKey();
QByteArray readyLine(const QByteArray &key);
QByteArray endLine(const QByteArray &key, int exitStatus);

// The key of a ready line (without its line feed); empty when the line is
// not one.
QByteArray keyOfReadyLine(const QByteArray &line);

// What a reader looks for: the start of an end line of the session, up to
// the status.
QByteArray endMark(const QByteArray &key);

// The first end line of the session in buffer at or after from: where its
// end mark starts (the request's output ends there) and where the end line
// stops, with the status. Nothing is found until the whole end line is in
// buffer.
struct EndLine
{
    bool found = false;
    int markAt = 0;
    int next = 0; // just after the end line's line feed
    int status = 0;
    bool wellFormed = true; // the status is a number of 0 to 255
};
EndLine findEndLine(const QByteArray &buffer, const QByteArray &key, int from = 0);

} // namespace ServeProtocol
