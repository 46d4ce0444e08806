#include "requestserver.h"

#include "argumentline.h"
#include "checks.h"
#include "connectionchecks.h"
#include "driverconnection.h"
#include "driverprogram.h"
#include "filenames.h"
#include "linereader.h"
#include "optionpairs.h"
#include "optiontable.h"
#include "reportprinter.h"
#include "serveprotocol.h"
#include "stoprequest.h"
#include "translationcontext.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

constexpr TranslationContext tr("RequestServer");

// Written after everything printed before it on the same stream.
bool put(FILE *stream, const QByteArray &bytes)
{
    const bool written
        = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream) == size_t(bytes.size());
    return std::fflush(stream) == 0 && written;
}

int refused(const QString &lines)
{
    printError(Checks::invalidParametersMessage(lines));
    return -1;
}

QString line(const QString &text)
{
    return "&nbsp;" + text + "<br>";
}

} // namespace

RequestServer::RequestServer(const DriverProgram &program)
    : program(program)
{ }

bool RequestServer::acceptable(const OptionPairs &options) const
{
    QString missing;
    ConnectionChecks::missingOptions(options, &missing);
    if (!missing.isEmpty()) {
        printError(Checks::requiredParametersMessage(missing));
        return false;
    }

    const QStringList lineOptions = DriverConnection::lineOptionNames();
    QStringList named;
    QString invalid;
    for (const OptionPair &pair : options.all()) {
        if (lineOptions.contains(pair.name) || pair.name == serveOption()
            || pair.name == QLatin1String("--verbose") || named.contains(pair.name))
            continue;
        named << pair.name;
        invalid += line(
            tr("%1 belongs to a request: with --serve it comes on standard input").arg(pair.name));
    }
    invalid += program.optionTable().invalidValues(options, DriverConnection::lineKind(options));
    if (!invalid.isEmpty()) {
        refused(invalid);
        return false;
    }
    return true;
}

QString RequestServer::serverOptionsIn(const QStringList &requestArguments) const
{
    const QStringList serverOptions = DriverConnection::lineOptionNames() << serveOption();
    const OptionPairs given(requestArguments, program.optionTable().names());
    QStringList named;
    QString lines;
    for (const OptionPair &pair : given.all()) {
        if (!serverOptions.contains(pair.name) || named.contains(pair.name))
            continue;
        named << pair.name;
        lines
            += line(tr("%1 belongs to the server's command line, not to a request").arg(pair.name));
    }
    return lines;
}

int RequestServer::serve(const QStringList &arguments, const OptionPairs &options)
{
    if (!acceptable(options))
        return -1;
    if (!StopRequest::install()) {
        printError("<font color=\"red\">" + tr("Cannot handle stop signals:") + " "
            + QString::fromLocal8Bit(std::strerror(errno)) + "</font><br>");
        return -1;
    }
    DriverConnection connection(options);
    connection.setCancelDescriptor(StopRequest::descriptor());
    if (!connection.connect(options))
        return -1;

    for (const QString &argument : arguments) {
        if (argument != serveOption())
            lineArguments << argument;
    }
    key = ServeProtocol::newKey();
    if (!put(stdout, ServeProtocol::readyLine(key)))
        return 0;

    LineReader input(STDIN_FILENO, StopRequest::descriptor(), MaxRequestLineBytes);
    for (;;) {
        const LineReader::Result next = input.next();
        int status = -1;
        switch (next.kind) {
        case LineReader::End:
        case LineReader::Stopped:
            return 0;
        case LineReader::TooLong:
            status = refused(line(tr("the request line is longer than %1 bytes and was not run")
                                      .arg(MaxRequestLineBytes)));
            break;
        case LineReader::Unterminated:
            status = refused(line(tr("the request line ends without a line feed and was not run")));
            break;
        case LineReader::Line:
            // A request read after a stop was asked for is not begun.
            if (StopRequest::isSignalled(StopRequest::descriptor()))
                return 0;
            status = answer(next.bytes, connection);
            break;
        }
        if (!endRequest(status) || StopRequest::isSignalled(StopRequest::descriptor()))
            return 0;
    }
}

int RequestServer::answer(const QByteArray &requestLine, DriverConnection &connection) const
{
    QByteArray bytes = requestLine;
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    // No argument needs a control character, and one could make a logged
    // command line show something else than what ran (a carriage return, an
    // escape sequence); a tab separates as a blank does.
    for (const char c : bytes) {
        if ((uchar(c) < 0x20 && c != '\t') || c == '\x7f')
            return refused(line(tr("the request line holds a control character and was not run")));
    }
    // Read as the command line's arguments are: bytes that are not UTF-8
    // stay as given (a file name, say).
    const QStringList requestArguments = ArgumentLine::split(FileNames::fromBytes(bytes));
    const QString misplaced = serverOptionsIn(requestArguments);
    if (!misplaced.isEmpty())
        return refused(misplaced);
    return program.runRequest(lineArguments + requestArguments, connection);
}

bool RequestServer::endRequest(int status) const
{
    const QByteArray end = ServeProtocol::endLine(key, status);
    std::fflush(stdout);
    put(stderr, end);
    return put(stdout, end) && !std::ferror(stdout);
}
