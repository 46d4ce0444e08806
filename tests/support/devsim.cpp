#include "devsim.h"

#include "programrun.h"

#include <QDeadlineTimer>
#include <QFile>

namespace {

// Generous: a sanitized build on a busy machine starts slowly.
constexpr int StartTimeoutMs = 30000;
constexpr int StopTimeoutMs = 10000;

} // namespace

DevSim::DevSim(const QStringList &options)
    : options(options)
{ }

DevSim::~DevSim()
{
    stop();
}

QString DevSim::path(const char *name) const
{
    return folder.filePath(QString::fromLatin1(name));
}

bool DevSim::startTcp()
{
    return start({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0")});
}

bool DevSim::startRtu()
{
    return start({QStringLiteral("--pty")});
}

bool DevSim::startSerial(const QString &device, const QStringList &lineOptions)
{
    if (!start(QStringList {QStringLiteral("--serial"), device} + lineOptions))
        return false;
    pty.clear();
    return true;
}

bool DevSim::start(const QStringList &lineOptions)
{
    stop();
    failure.clear();
    port = 0;
    pty.clear();
    if (!folder.isValid()) {
        failure = QStringLiteral("no temporary folder");
        return false;
    }
    QStringList arguments = lineOptions;
    arguments << QStringLiteral("--log") << path("requests.log") << QStringLiteral("--reply-log")
              << path("replies.log") << QStringLiteral("--macro-log") << path("macros.log")
              << QStringLiteral("--dump-holding") << path("holding.bin")
              << QStringLiteral("--dump-input") << path("input.bin") << QStringLiteral("--tls-log")
              << path("tls.log") << QStringLiteral("--exit-with-parent");
    arguments += options;
    process = std::make_unique<QProcess>();
    // Standard error goes to a file: a pipe nobody reads could fill and stall it.
    process->setStandardErrorFile(path("stderr.txt"));
    process->start(programPath(QStringLiteral("qelDevSim")), arguments);
    if (!process->waitForStarted(StartTimeoutMs)) {
        failure = QStringLiteral("qelDevSim did not start: ") + process->errorString();
        process.reset();
        return false;
    }
    // The first line names the line; it is printed once the line is ready.
    const QDeadlineTimer deadline(StartTimeoutMs);
    while (
        !process->canReadLine() && process->state() == QProcess::Running && !deadline.hasExpired())
        process->waitForReadyRead(static_cast<int>(qMax<qint64>(1, deadline.remainingTime())));
    if (!process->canReadLine()) {
        failure
            = QStringLiteral("qelDevSim gave no line: ") + QString::fromLocal8Bit(errorOutput());
        stop();
        return false;
    }
    const QString line = QString::fromLocal8Bit(process->readLine()).trimmed();
    if (lineOptions.first() == QLatin1String("--tcp")) {
        bool ok = false;
        port = line.mid(line.lastIndexOf(QLatin1Char(':')) + 1).toUShort(&ok);
        if (!ok || port == 0) {
            failure = QStringLiteral("unexpected first line: ") + line;
            stop();
            return false;
        }
    } else {
        pty = line;
    }
    return true;
}

quint16 DevSim::tcpPort() const
{
    return port;
}

QString DevSim::ptyPath() const
{
    return pty;
}

bool DevSim::isRunning() const
{
    return process && process->state() == QProcess::Running;
}

void DevSim::stop()
{
    if (!process)
        return;
    if (process->state() != QProcess::NotRunning) {
        process->terminate();
        if (!process->waitForFinished(StopTimeoutMs)) {
            process->kill();
            process->waitForFinished(StopTimeoutMs);
        }
    }
    lastExitCode = process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
    process.reset();
}

QStringList DevSim::readLines(const QString &file)
{
    QFile log(file);
    if (!log.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromLatin1(log.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

namespace {

const QString connectionWord = QStringLiteral("connection ");

// The lines of a log without, or with only, its connection lines.
QStringList connectionLines(const QStringList &lines, bool wanted)
{
    QStringList kept;
    for (const QString &line : lines) {
        if (line.startsWith(connectionWord) == wanted)
            kept << line;
    }
    return kept;
}

} // namespace

QStringList DevSim::requestLog() const
{
    return connectionLines(readLines(path("requests.log")), false);
}

QStringList DevSim::connectionLog() const
{
    return connectionLines(readLines(path("requests.log")), true);
}

QStringList DevSim::replyLog() const
{
    return connectionLines(readLines(path("replies.log")), false);
}

QStringList DevSim::macroLog() const
{
    return readLines(path("macros.log"));
}

QStringList DevSim::tlsLog() const
{
    return readLines(path("tls.log"));
}

QByteArray DevSim::errorOutput() const
{
    QFile file(path("stderr.txt"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

quint16 DevSim::readWord(const QString &file, int address)
{
    QFile image(file);
    if (address < 0 || address > 65535 || !image.open(QIODevice::ReadOnly)
        || !image.seek(2 * address))
        return 0;
    const QByteArray bytes = image.read(2);
    if (bytes.size() != 2)
        return 0;
    return static_cast<quint16>(
        static_cast<quint8>(bytes.at(0)) | (static_cast<quint8>(bytes.at(1)) << 8));
}

quint16 DevSim::holding(int address) const
{
    return readWord(path("holding.bin"), address);
}

quint16 DevSim::input(int address) const
{
    return readWord(path("input.bin"), address);
}
