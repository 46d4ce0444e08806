#include "serialline.h"

#include <QTextStream>

namespace {

void note(const QString &text)
{
    QTextStream(stderr) << "qelDevSim: " << text << Qt::endl;
}

} // namespace

SerialLine::SerialLine(
    std::unique_ptr<FrameFormat> format, RequestLog &log, int frameGapMs, QObject *parent)
    : QObject(parent)
    , scheduler([this](const QByteArray &bytes) { write(bytes); }, [](bool) {})
    , requests(std::move(format), log, scheduler, frameGapMs, [] {})
{ }

SerialLine::~SerialLine()
{
    readNotifier.reset();
    writeNotifier.reset();
    closeNotifier.reset();
    PosixLine::closeFd(closeWatchFd);
    PosixLine::closeFd(fd);
    PosixLine::closeFd(slaveFd);
}

bool SerialLine::openPseudoTerminal(QString *error)
{
    fd = PosixLine::openPseudoTerminal(&lineName, &slaveFd, error);
    if (fd < 0)
        return false;
    closeWatchFd = PosixLine::watchCloses(lineName);
    if (closeWatchFd >= 0) {
        closeNotifier = std::make_unique<QSocketNotifier>(closeWatchFd, QSocketNotifier::Read);
        connect(closeNotifier.get(), &QSocketNotifier::activated, this, &SerialLine::slaveClosed);
    } else {
        note(QStringLiteral("cannot watch %1; a master that ends without lifting its "
                            "exclusive use locks the line")
                 .arg(lineName));
    }
    start();
    return true;
}

bool SerialLine::openSerialDevice(const PosixLine::SerialSettings &settings, QString *error)
{
    fd = PosixLine::openSerialDevice(settings, error);
    if (fd < 0)
        return false;
    lineName = settings.device;
    start();
    return true;
}

void SerialLine::start()
{
    readNotifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(readNotifier.get(), &QSocketNotifier::activated, this, &SerialLine::readLine);
    writeNotifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Write);
    writeNotifier->setEnabled(false);
    connect(writeNotifier.get(), &QSocketNotifier::activated, this, &SerialLine::flushOutput);
}

void SerialLine::readLine()
{
    char buffer[4096];
    const long count = PosixLine::readAvailable(fd, buffer, sizeof buffer);
    if (count < 0) {
        note(QStringLiteral("the line failed; it is no longer read"));
        readNotifier->setEnabled(false);
        return;
    }
    if (count > 0)
        requests.receive(QByteArray(buffer, static_cast<int>(count)));
}

void SerialLine::write(const QByteArray &bytes)
{
    output.append(bytes);
    flushOutput();
}

void SerialLine::flushOutput()
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

void SerialLine::slaveClosed()
{
    // A real line is released when its user closes it, whatever state it left.
    PosixLine::drainCloseEvents(closeWatchFd);
    PosixLine::clearExclusiveUse(slaveFd);
}
