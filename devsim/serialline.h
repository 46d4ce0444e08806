#pragma once

#include "posixline.h"
#include "replyscheduler.h"
#include "requeststream.h"

#include <QObject>
#include <QSocketNotifier>
#include <memory>

class RequestLog;

// The simulator on a serial line (a pseudo-terminal it creates, or a serial
// device): reads the master's frames in the line's format (RTU or ASCII),
// logs them, ignores damaged frames like a device does, and answers for its
// devices.
class SerialLine : public QObject
{
    Q_OBJECT
public:
    SerialLine(std::unique_ptr<FrameFormat> format, RequestLog &log, int frameGapMs,
        QObject *parent = nullptr);
    ~SerialLine() override;

    bool openPseudoTerminal(QString *error);
    bool openSerialDevice(const PosixLine::SerialSettings &settings, QString *error);
    // The name a master opens: the pseudo-terminal's slave path or the device.
    QString name() const { return lineName; }

private:
    void start();
    void readLine();
    void write(const QByteArray &bytes);
    void flushOutput();
    void slaveClosed();

    int fd = -1;
    int slaveFd = -1;
    QString lineName;
    QByteArray output;
    std::unique_ptr<QSocketNotifier> readNotifier;
    std::unique_ptr<QSocketNotifier> writeNotifier;
    int closeWatchFd = -1;
    std::unique_ptr<QSocketNotifier> closeNotifier;
    ReplyScheduler scheduler;
    RequestStream requests;
};
