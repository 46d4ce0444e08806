#pragma once

#include "devicesimulator.h"
#include "replyscheduler.h"

#include <QObject>
#include <QTcpSocket>

class RequestLog;

// One master's TCP connection: cuts the stream into frames by their MBAP
// header (transaction, protocol, length, unit), logs each frame and answers it.
//
// What a connection holds is bounded: requests are taken only while the
// replies waiting to go out to the master stay below MaxWaitingBytes, and
// neither the socket nor the system buffers more of the stream than a few
// tens of kilobytes. A master that sends without reading its replies is held
// back by TCP itself until it reads them; then the session goes on.
class TcpSession : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 MaxWaitingBytes = 64 * 1024;

    TcpSession(
        QTcpSocket *socket, DeviceSimulator &simulator, RequestLog &log, QObject *parent = nullptr);

private:
    // Takes the requests that have come, one frame at a time, while few
    // enough replies wait.
    void readSocket();
    qint64 waitingBytes() const;
    void handleFrame(const QByteArray &frame);
    // The whole reply frame: the MBAP header (with its faults) and the PDU.
    static QByteArray replyFrame(
        const QByteArray &request, const DeviceSimulator::Outcome &outcome);
    void dropConnection();

    QTcpSocket *socket;
    DeviceSimulator &simulator;
    RequestLog &log;
    QByteArray buffer;
    ReplyScheduler scheduler;
};
