#pragma once

#include "posixline.h"
#include "replyscheduler.h"
#include "rtuframer.h"

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <memory>

class DeviceSimulator;
class RequestLog;

// The simulator on a serial line (a pseudo-terminal it creates, or a serial
// device): reads frames, logs them, ignores frames with a bad CRC like a
// device does, and answers for its devices.
class RtuLine : public QObject
{
    Q_OBJECT
public:
    RtuLine(DeviceSimulator &simulator, RequestLog &log, int frameGapMs, QObject *parent = nullptr);
    ~RtuLine() override;

    bool openPseudoTerminal(QString *error);
    bool openSerialDevice(const PosixLine::SerialSettings &settings, QString *error);
    // The name a master opens: the pseudo-terminal's slave path or the device.
    QString name() const { return lineName; }

private:
    void start();
    void readLine();
    void frameGapExpired();
    void handleFrame(const QByteArray &frame);
    // Carries the frame out; returns the whole reply frame (empty: none) and
    // sets *faults to the faults of its sending.
    QByteArray replyTo(const QByteArray &frame, ActiveFaults *faults);
    void write(const QByteArray &bytes);
    void flushOutput();
    void slaveClosed();

    DeviceSimulator &simulator;
    RequestLog &log;
    int fd = -1;
    int slaveFd = -1;
    QString lineName;
    RtuFramer framer;
    QTimer frameGap;
    QByteArray output;
    std::unique_ptr<QSocketNotifier> readNotifier;
    std::unique_ptr<QSocketNotifier> writeNotifier;
    int closeWatchFd = -1;
    std::unique_ptr<QSocketNotifier> closeNotifier;
    ReplyScheduler scheduler;
};
