#pragma once

#include "faultplan.h"

#include <QByteArray>
#include <QObject>
#include <QQueue>
#include <QTimer>
#include <functional>

// Sends the replies of one connection in order, each after the pauses its
// faults ask for (a delay before it, a stall in its middle, a pause before
// each byte after the first), or only part of it, or closes the connection
// instead. A reply waits until the one before
// it has gone out completely, as on a device that serves one request at a time.
class ReplyScheduler : public QObject
{
    Q_OBJECT
public:
    using Writer = std::function<void(const QByteArray &)>;
    // Closes the connection: at once (a reset), or once what was written
    // has gone out (finish).
    using Closer = std::function<void(bool finish)>;

    ReplyScheduler(Writer writer, Closer closer, QObject *parent = nullptr);

    // Queues a complete reply frame under the timing faults given.
    void schedule(const QByteArray &frame, const ActiveFaults &faults);
    // The bytes of a reply frame that go out under the faults given.
    static QByteArray sentPart(const QByteArray &frame, const ActiveFaults &faults);
    // Queues closing the connection: at once, or with finish once the
    // replies before have gone out.
    void scheduleClose(int delayMs, bool finish = false);
    // Drops everything still queued.
    void clear();
    // The bytes of the replies still queued.
    qint64 pendingBytes() const { return queuedBytes; }

private:
    struct Segment
    {
        int delayMs = 0;
        QByteArray bytes;
        bool close = false;
        bool finish = false;
    };

    void startNext();
    void sendDue();

    Writer writer;
    Closer closer;
    void enqueue(int delayMs, const QByteArray &bytes, bool close, bool finish = false);

    QQueue<Segment> segments;
    qint64 queuedBytes = 0;
    QTimer timer;
};
