#include "requeststream.h"

#include "replyscheduler.h"
#include "requestlog.h"

RequestStream::RequestStream(std::unique_ptr<FrameFormat> format, RequestLog &log,
    ReplyScheduler &scheduler, int frameGapMs, std::function<void()> abort, QObject *parent)
    : QObject(parent)
    , format(std::move(format))
    , log(log)
    , scheduler(scheduler)
    , abort(std::move(abort))
{
    frameGap.setSingleShot(true);
    frameGap.setInterval(frameGapMs);
    connect(&frameGap, &QTimer::timeout, this, &RequestStream::frameGapExpired);
}

void RequestStream::receive(const QByteArray &bytes)
{
    format->append(bytes);
    for (QByteArray frame = format->takeFrame(); !frame.isEmpty(); frame = format->takeFrame())
        handle(frame);
    if (format->lost()) {
        abort();
        return;
    }
    if (format->endsAtSilence() && format->hasPending())
        frameGap.start();
    else
        frameGap.stop();
}

void RequestStream::frameGapExpired()
{
    if (format->hasPending())
        handle(format->takePending());
}

void RequestStream::handle(const QByteArray &frame)
{
    log.writeFrame(frame);
    const FrameFormat::Answer answer = format->answer(frame);
    // Logged before anything goes out: a master that has its reply finds the line.
    log.writeReply(ReplyScheduler::sentPart(answer.reply, answer.faults));
    if (answer.drop) {
        scheduler.scheduleClose(answer.faults.delayMs);
        return;
    }
    if (!answer.reply.isEmpty())
        scheduler.schedule(answer.reply, answer.faults);
    if (answer.faults.close)
        scheduler.scheduleClose(0, true);
}
