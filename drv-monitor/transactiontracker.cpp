#include "transactiontracker.h"

#include "framedecoder.h"
#include "functioncodes.h"

#include <algorithm>

TransactionTracker::TransactionTracker(qint64 replyWindowUs)
    : replyWindowUs(replyWindowUs)
{ }

bool TransactionTracker::awaitsReply(quint8 address, quint8 function) const
{
    return waiting && waiting->requestContent.address == address
        && waiting->requestContent.function == (function & ~FunctionCode::ExceptionBit);
}

void TransactionTracker::add(const BusFrame &frame)
{
    expire(frame.startUs);
    const bool named = frame.adu.size() >= 2;
    const quint8 address = named ? quint8(frame.adu.at(0)) : 0;
    const quint8 function = named ? quint8(frame.adu.at(1)) : 0;

    if (frame.kind != BusFrame::Kind::Good) {
        BusTransaction bad;
        if (named && awaitsReply(address, function)) {
            bad = *waiting;
            waiting.reset();
            bad.outcome = BusTransaction::Outcome::BadReply;
            bad.responseUs = std::max<qint64>(0, frame.startUs - bad.request.endUs);
        } else {
            bad.outcome = BusTransaction::Outcome::BadFrame;
        }
        bad.hasReply = true;
        bad.reply = frame;
        complete.append(std::move(bad));
        return;
    }

    const bool either = (frame.roles & BusFrame::Request) && (frame.roles & BusFrame::Reply);
    const bool reply = either ? awaitsReply(address, function) : (frame.roles & BusFrame::Reply);
    FrameContent content = FrameDecoder::decode(frame.adu, reply);
    if (!reply) {
        addRequest(frame, std::move(content));
        return;
    }
    if (awaitsReply(address, function)) {
        BusTransaction answered = *waiting;
        waiting.reset();
        answered.outcome = BusTransaction::Outcome::Answered;
        answered.responseUs = std::max<qint64>(0, frame.startUs - answered.request.endUs);
        answered.hasReply = true;
        answered.reply = frame;
        answered.replyContent = std::move(content);
        complete.append(std::move(answered));
        return;
    }
    BusTransaction orphan;
    orphan.outcome = BusTransaction::Outcome::ReplyOnly;
    orphan.hasReply = true;
    orphan.reply = frame;
    orphan.replyContent = std::move(content);
    complete.append(std::move(orphan));
}

void TransactionTracker::addRequest(const BusFrame &frame, FrameContent content)
{
    close(BusTransaction::Outcome::NoReply);
    BusTransaction transaction;
    transaction.hasRequest = true;
    transaction.request = frame;
    transaction.requestContent = std::move(content);
    if (transaction.requestContent.address == 0) {
        transaction.outcome = BusTransaction::Outcome::Broadcast;
        complete.append(std::move(transaction));
        return;
    }
    waiting = std::move(transaction);
}

void TransactionTracker::expire(qint64 nowUs)
{
    if (waiting && nowUs > waiting->request.endUs + replyWindowUs)
        close(BusTransaction::Outcome::NoReply);
}

void TransactionTracker::finish()
{
    close(BusTransaction::Outcome::Unfinished);
}

qint64 TransactionTracker::nextExpiryUs() const
{
    return waiting ? waiting->request.endUs + replyWindowUs : -1;
}

void TransactionTracker::close(BusTransaction::Outcome outcome)
{
    if (!waiting)
        return;
    waiting->outcome = outcome;
    complete.append(std::move(*waiting));
    waiting.reset();
}

QVector<BusTransaction> TransactionTracker::takeTransactions()
{
    QVector<BusTransaction> taken;
    taken.swap(complete);
    return taken;
}
