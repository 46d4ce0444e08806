// qelDrvMonitor: listens to a serial bus without ever writing to it, cuts
// what others say into frames, pairs requests with their replies and prints
// one line per transaction (and, with --csv, one CSV row per frame) until
// --duration ends or SIGINT or SIGTERM stops it; then a summary. Exits with
// 0 when the listening ended so, -1 when the command line, the line or the
// CSV file failed.

#include "busmonitor.h"
#include "checks.h"
#include "driverconnection.h"
#include "filenames.h"
#include "listeningline.h"
#include "monitoroptions.h"
#include "optionpairs.h"
#include "optiontable.h"
#include "reportprinter.h"
#include "stoprequest.h"
#include "transactionoutput.h"
#include "translationcontext.h"
#include "wallclock.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstring>

namespace {

constexpr int ExitSuccess = 0;
constexpr int ExitFailure = -1;

constexpr TranslationContext tr("qelDrvMonitor");

// "Listening on /dev/ttyUSB0, 115200 baud 8N1, RTU"
QString listeningLine(const MonitorOptions::Settings &settings)
{
    const ListeningLine::Settings &line = settings.line;
    return tr("Listening on") + " " + line.device + ", " + QString::number(line.baudRate) + " "
        + tr("baud") + " " + QString::number(line.dataBits) + QLatin1Char(line.parity)
        + QString::number(line.stopBits) + ", "
        + (settings.ascii ? QStringLiteral("ASCII") : QStringLiteral("RTU")) + "<br>";
}

} // namespace

int main(int argc, char *argv[])
{
    FileNames::keepBytesAsGiven(); // port and file names as given
    keepRunningWhenOutputCloses(); // a recording to --csv goes on without a reader
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const OptionTable &table = MonitorOptions::table();
    if (Checks::printUnknownOptions(table.unknownOptions(arguments)))
        return ExitFailure;
    const OptionPairs options = table.scan(arguments);

    if (options.isEmpty() || options.has(QStringLiteral("--help"))) {
        printReport(MonitorOptions::usageText());
        return ExitSuccess;
    }
    const QString missing = MonitorOptions::missingOptions(options);
    if (!missing.isEmpty()) {
        printError(Checks::requiredParametersMessage(missing));
        return ExitFailure;
    }
    const QString invalid = MonitorOptions::invalidValues(options);
    if (!invalid.isEmpty()) {
        printError(Checks::invalidParametersMessage(invalid));
        return ExitFailure;
    }
    const MonitorOptions::Settings settings = MonitorOptions::settings(options);

    // With the CSV rows on standard output, the listening line and the
    // summary go to standard error, and the transaction lines nowhere.
    const bool csvOnStandardOutput = settings.csvFile == QLatin1String("-");
    const auto report = [csvOnStandardOutput](const QString &markup) {
        if (csvOnStandardOutput)
            printError(markup);
        else
            printReport(markup);
    };

    // The CSV file first: opening a FIFO waits for its reader, and Ctrl+C
    // still ends the program then, before the line is set up.
    const WallClock clock;
    TransactionOutput output(clock, !csvOnStandardOutput, settings.hex);
    QString error;
    if (!settings.csvFile.isEmpty() && !output.openCsv(settings.csvFile, &error)) {
        printError(error);
        return ExitFailure;
    }
    if (!StopRequest::install()) {
        printError(QString::fromLocal8Bit(std::strerror(errno)) + "<br>");
        return ExitFailure;
    }
    ListeningLine line;
    if (!line.open(settings.line)) {
        printConnectionFailure(errno, settings.line.device);
        return ExitFailure;
    }
    report(listeningLine(settings));

    BusMonitor::Settings listening;
    listening.ascii = settings.ascii;
    listening.baudRate = settings.line.baudRate;
    listening.parity = settings.line.parity;
    listening.dataBits = settings.line.dataBits;
    listening.stopBits = settings.line.stopBits;
    listening.replyWindowMs = settings.replyWindowMs;
    listening.durationSeconds = settings.durationSeconds;
    BusMonitor monitor(listening, line, output);
    const bool ended = monitor.run(StopRequest::descriptor(), &error);
    line.close();
    if (!ended)
        printError(error);
    report(monitor.statistics().summary(monitor.noiseBytes()));
    return ended ? ExitSuccess : ExitFailure;
}
