#include "replyscheduler.h"

ReplyScheduler::ReplyScheduler(Writer writer, Closer closer, QObject *parent)
    : QObject(parent)
    , writer(std::move(writer))
    , closer(std::move(closer))
{
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, this, &ReplyScheduler::sendDue);
}

QByteArray ReplyScheduler::sentPart(const QByteArray &frame, const ActiveFaults &faults)
{
    if (faults.partialBytes == -2)
        return frame;
    return frame.left(faults.partialBytes == -1 ? frame.size() / 2 : faults.partialBytes);
}

void ReplyScheduler::schedule(const QByteArray &frame, const ActiveFaults &faults)
{
    const bool idle = segments.isEmpty();
    const QByteArray bytes = sentPart(frame, faults);
    if (faults.trickleMs >= 0 && bytes.size() >= 2) {
        // A valid start, then the rest byte by byte: each byte alone keeps a
        // master's byte time-out from ending the wait.
        enqueue(faults.delayMs, bytes.left(1), false);
        for (int i = 1; i < bytes.size(); ++i)
            enqueue(faults.trickleMs, bytes.mid(i, 1), false);
    } else if (faults.stallMs >= 0 && bytes.size() >= 2) {
        const int half = bytes.size() / 2;
        enqueue(faults.delayMs, bytes.left(half), false);
        enqueue(faults.stallMs, bytes.mid(half), false);
    } else {
        enqueue(faults.delayMs, bytes, false);
    }
    if (idle)
        startNext();
}

void ReplyScheduler::scheduleClose(int delayMs, bool finish)
{
    const bool idle = segments.isEmpty();
    enqueue(delayMs, QByteArray(), true, finish);
    if (idle)
        startNext();
}

void ReplyScheduler::clear()
{
    timer.stop();
    segments.clear();
    queuedBytes = 0;
}

void ReplyScheduler::enqueue(int delayMs, const QByteArray &bytes, bool close, bool finish)
{
    segments.enqueue({delayMs, bytes, close, finish});
    queuedBytes += bytes.size();
}

void ReplyScheduler::startNext()
{
    if (segments.isEmpty() || timer.isActive())
        return;
    if (segments.head().delayMs > 0)
        timer.start(segments.head().delayMs);
    else
        sendDue();
}

void ReplyScheduler::sendDue()
{
    if (segments.isEmpty())
        return;
    const Segment segment = segments.dequeue();
    queuedBytes -= segment.bytes.size();
    if (segment.close) {
        clear();
        closer(segment.finish);
        return;
    }
    if (!segment.bytes.isEmpty())
        writer(segment.bytes);
    startNext();
}
