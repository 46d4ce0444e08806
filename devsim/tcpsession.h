#pragma once

#include "replyscheduler.h"
#include "requeststream.h"

#include <QObject>
#include <QTcpSocket>

#include <memory>

class RequestLog;

// One master's TCP connection (plain or TLS): reads its frames in the line's
// format (MBAP, RTU or ASCII), logs each one and answers it.
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

    // Takes the socket over.
    TcpSession(QTcpSocket *socket, std::unique_ptr<FrameFormat> format, RequestLog &log,
        int frameGapMs, QObject *parent = nullptr);

private:
    // Takes the requests that have come, a frame at a time, while few enough
    // replies wait.
    void readSocket();
    qint64 waitingBytes() const;
    void dropConnection();
    void finishConnection();

    QTcpSocket *socket;
    ReplyScheduler scheduler;
    RequestStream requests;
};
