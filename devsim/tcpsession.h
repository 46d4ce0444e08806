#pragma once

#include "devicesimulator.h"
#include "replyscheduler.h"

#include <QObject>
#include <QTcpSocket>

class RequestLog;

// One master's TCP connection: cuts the stream into frames by their MBAP
// header (transaction, protocol, length, unit), logs each frame and answers it.
class TcpSession : public QObject
{
    Q_OBJECT
public:
    TcpSession(
        QTcpSocket *socket, DeviceSimulator &simulator, RequestLog &log, QObject *parent = nullptr);

private:
    void readSocket();
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
