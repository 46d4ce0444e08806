#pragma once

#include "bustransaction.h"
#include "framesink.h"

#include <QVector>

#include <optional>

// Pairs the frames of a line into transactions.
//
// Who sent a frame is not on the line. A frame whose length fits only a
// request's shape is a request, one that fits only a reply's (an exception,
// a read's values, a write's echo of start and count) is a reply. Where both
// fit (the echo of functions 5 and 6, a coil read's three data bytes, rare
// coincidences of other lengths), the frame is the reply when a request of
// the same address and function waits for one, otherwise a request; so a
// write of a single coil or register repeated within the reply window reads
// as its own reply.
//
// A reply pairs with the waiting request of the same address and function
// whose reply window it starts in. A master sends its next request only
// after the reply or its own time-out, so a new request ends the waiting one
// as unanswered. A broadcast (address 0) expects no reply. A frame that
// failed its checks answers the waiting request when its first bytes name
// the same address and function.
class TransactionTracker : public FrameSink
{
public:
    explicit TransactionTracker(qint64 replyWindowUs);

    // The next frame of the line.
    void add(const BusFrame &frame) override;
    bool awaitsReply(quint8 address, quint8 function) const override;
    // A request whose window ended before nowUs got no reply.
    void expire(qint64 nowUs);
    // The listening ended: a request still waiting is unfinished.
    void finish();
    // When the waiting request's window ends; -1 when none waits.
    qint64 nextExpiryUs() const;

    // The transactions complete since the last call, in line order.
    QVector<BusTransaction> takeTransactions();

private:
    void close(BusTransaction::Outcome outcome);
    void addRequest(const BusFrame &frame, FrameContent content);

    const qint64 replyWindowUs;
    std::optional<BusTransaction> waiting;
    QVector<BusTransaction> complete;
};
