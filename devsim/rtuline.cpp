#include "rtuline.h"

#include "crc16.h"
#include "devicesimulator.h"
#include "requestlog.h"

#include <QTextStream>

namespace {

void note(const QString &text)
{
    QTextStream(stderr) << "qelDevSim: " << text << Qt::endl;
}

} // namespace

RtuLine::RtuLine(DeviceSimulator &simulator, RequestLog &log, int frameGapMs, QObject *parent)
    : QObject(parent)
    , simulator(simulator)
    , log(log)
    , scheduler([this](const QByteArray &bytes) { write(bytes); }, [] {})
{
    frameGap.setSingleShot(true);
    frameGap.setInterval(frameGapMs);
    connect(&frameGap, &QTimer::timeout, this, &RtuLine::frameGapExpired);
}

RtuLine::~RtuLine()
{
    readNotifier.reset();
    writeNotifier.reset();
    closeNotifier.reset();
    PosixLine::closeFd(closeWatchFd);
    PosixLine::closeFd(fd);
    PosixLine::closeFd(slaveFd);
}

bool RtuLine::openPseudoTerminal(QString *error)
{
    fd = PosixLine::openPseudoTerminal(&lineName, &slaveFd, error);
    if (fd < 0)
        return false;
    closeWatchFd = PosixLine::watchCloses(lineName);
    if (closeWatchFd >= 0) {
        closeNotifier = std::make_unique<QSocketNotifier>(closeWatchFd, QSocketNotifier::Read);
        connect(closeNotifier.get(), &QSocketNotifier::activated, this, &RtuLine::slaveClosed);
    } else {
        note(QStringLiteral("cannot watch %1; a master that ends without lifting its "
                            "exclusive use locks the line")
                 .arg(lineName));
    }
    start();
    return true;
}

bool RtuLine::openSerialDevice(const PosixLine::SerialSettings &settings, QString *error)
{
    fd = PosixLine::openSerialDevice(settings, error);
    if (fd < 0)
        return false;
    lineName = settings.device;
    start();
    return true;
}

void RtuLine::start()
{
    readNotifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(readNotifier.get(), &QSocketNotifier::activated, this, &RtuLine::readLine);
    writeNotifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Write);
    writeNotifier->setEnabled(false);
    connect(writeNotifier.get(), &QSocketNotifier::activated, this, &RtuLine::flushOutput);
}

void RtuLine::readLine()
{
    char buffer[4096];
    const long count = PosixLine::readAvailable(fd, buffer, sizeof buffer);
    if (count < 0) {
        note(QStringLiteral("the line failed; it is no longer read"));
        readNotifier->setEnabled(false);
        return;
    }
    if (count == 0)
        return;
    framer.append(QByteArray(buffer, static_cast<int>(count)));
    for (QByteArray frame = framer.takeFrame(); !frame.isEmpty(); frame = framer.takeFrame())
        handleFrame(frame);
    if (framer.hasPending())
        frameGap.start();
    else
        frameGap.stop();
}

void RtuLine::frameGapExpired()
{
    if (framer.hasPending())
        handleFrame(framer.takePending());
}

void RtuLine::handleFrame(const QByteArray &frame)
{
    log.writeFrame(frame);
    ActiveFaults faults;
    const QByteArray reply = replyTo(frame, &faults);
    // Logged before anything goes out: a master that has its reply finds the line.
    log.writeReply(ReplyScheduler::sentPart(reply, faults));
    if (!reply.isEmpty())
        scheduler.schedule(reply, faults);
}

QByteArray RtuLine::replyTo(const QByteArray &frame, ActiveFaults *faults)
{
    if (frame.size() < 4) {
        note(QStringLiteral("frame too short, ignored: %1").arg(RequestLog::hexLine(frame)));
        return QByteArray();
    }
    if (!Crc16::isValid(frame)) {
        note(QStringLiteral("bad CRC, frame ignored: %1").arg(RequestLog::hexLine(frame)));
        return QByteArray();
    }
    const int address = static_cast<quint8>(frame.at(0));
    const DeviceSimulator::Outcome outcome
        = simulator.handleRtu(address, frame.mid(1, frame.size() - 3));
    *faults = outcome.faults;
    if (!outcome.answer)
        return QByteArray();
    QByteArray reply
        = Crc16::appended(QByteArray(1, static_cast<char>(outcome.address)) + outcome.reply);
    if (outcome.faults.badCrc) {
        reply[reply.size() - 2] = static_cast<char>(~reply.at(reply.size() - 2));
        reply[reply.size() - 1] = static_cast<char>(~reply.at(reply.size() - 1));
    }
    return reply;
}

void RtuLine::write(const QByteArray &bytes)
{
    output.append(bytes);
    flushOutput();
}

void RtuLine::flushOutput()
{
    while (!output.isEmpty()) {
        const long count = PosixLine::writeSome(fd, output.constData(), output.size());
        if (count < 0) {
            note(QStringLiteral("cannot write to the line; reply dropped"));
            output.clear();
            break;
        }
        if (count == 0)
            break;
        output.remove(0, static_cast<int>(count));
    }
    writeNotifier->setEnabled(!output.isEmpty());
}

void RtuLine::slaveClosed()
{
    // A real line is released when its user closes it, whatever state it left.
    PosixLine::drainCloseEvents(closeWatchFd);
    PosixLine::clearExclusiveUse(slaveFd);
}
