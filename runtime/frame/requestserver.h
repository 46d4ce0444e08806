#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class DriverConnection;
class DriverProgram;
class OptionPairs;

// "--serve": the driver opens its line once and then carries out requests
// read from standard input, one per line, until the input ends or SIGTERM
// or SIGINT asks it to stop; then it closes the line and ends with status 0.
//
// The command line holds the line options only ("--verbose" may trace every
// request); they are checked as a one-shot run checks them, and a line that
// cannot be opened ends the server with the one-shot's message and status
// -1. A request line holds the options of a one-shot run's operation,
// written as ArgumentLine reads them; it is carried out as the one-shot run
// of the server's command line followed by those options would be, over the
// open line, and answered with that run's output and the end line of
// ServeProtocol (after the ready line, once). A request line that fails its
// checks gets the one-shot's "Invalid parameters" answer and sends nothing;
// so does one that names a line option or "--serve", is longer than
// MaxRequestLineBytes, holds a control character other than a tab
// (a carriage return before its line feed is dropped) or is cut off by the end of the
// input. The line is opened again at the request after it dropped (see
// DriverConnection::connect); a request is never sent twice.
//
// States: checking the command line → opening the line (fails: end, -1) →
// waiting for a request line ⇄ serving it → closing (end of input, stop, or
// a reader of standard output that has gone) → end, 0.
class RequestServer
{
public:
    static constexpr int MaxRequestLineBytes = 1 << 20;

    explicit RequestServer(const DriverProgram &program);

    static QString serveOption() { return QStringLiteral("--serve"); }

    // Serves for the command line (the program's name first), read into
    // options; returns the exit status.
    int serve(const QStringList &arguments, const OptionPairs &options);

private:
    // Whether the command line may serve; prints why not.
    bool acceptable(const OptionPairs &options) const;
    // The lines of the options of requestArguments that belong to the
    // server's command line.
    QString serverOptionsIn(const QStringList &requestArguments) const;
    // Carries out one request line over line; returns its status.
    int answer(const QByteArray &requestLine, DriverConnection &line) const;
    // Writes the end line of a request; false when standard output no
    // longer takes it (its reader has gone).
    bool endRequest(int status) const;

    const DriverProgram &program;
    QStringList lineArguments; // the command line without "--serve"
    QByteArray key;
};
