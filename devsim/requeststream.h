#pragma once

#include "frameformat.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

class ReplyScheduler;
class RequestLog;

// One master's stream of requests on a line: cuts it into frames with the
// line's format (a silence of the frame gap ends a frame whose end the
// format cannot tell), logs each frame and the reply, and hands the reply
// to the scheduler.
class RequestStream : public QObject
{
    Q_OBJECT
public:
    // abort closes the connection at once, when the format lost the stream.
    RequestStream(std::unique_ptr<FrameFormat> format, RequestLog &log, ReplyScheduler &scheduler,
        int frameGapMs, std::function<void()> abort, QObject *parent = nullptr);

    void receive(const QByteArray &bytes);
    // How many bytes of the stream to take next (FrameFormat::nextPiece()).
    int nextPiece() const { return format->nextPiece(); }

private:
    void handle(const QByteArray &frame);
    void frameGapExpired();

    std::unique_ptr<FrameFormat> format;
    RequestLog &log;
    ReplyScheduler &scheduler;
    std::function<void()> abort;
    QTimer frameGap;
};
