#include "busstatistics.h"

#include "transactiontext.h"
#include "translationcontext.h"

#include <algorithm>

namespace {

constexpr TranslationContext tr("qelDrvMonitor");

QString milliseconds(double us)
{
    return QString::number(qint64(us / 1000 + 0.5));
}

} // namespace

void BusStatistics::countError(const QString &kind)
{
    for (auto &error : errorCounts) {
        if (error.first == kind) {
            ++error.second;
            return;
        }
    }
    errorCounts.append({kind, 1});
}

void BusStatistics::add(const BusTransaction &transaction)
{
    frameCount += (transaction.hasRequest ? 1 : 0) + (transaction.hasReply ? 1 : 0);
    transactionCount += transaction.hasRequest ? 1 : 0;
    switch (transaction.outcome) {
    case BusTransaction::Outcome::NoReply:
        countError(TransactionText::outcomeName(transaction.outcome));
        break;
    case BusTransaction::Outcome::BadReply:
    case BusTransaction::Outcome::BadFrame:
        countError(TransactionText::failureName(transaction.reply));
        break;
    case BusTransaction::Outcome::Answered:
        responseUs[transaction.requestContent.address].push_back(transaction.responseUs);
        Q_FALLTHROUGH();
    case BusTransaction::Outcome::ReplyOnly:
        if (transaction.replyContent.kind == FrameContent::Kind::Exception)
            countError(TransactionText::exceptionName(transaction.replyContent.exceptionCode));
        else if (transaction.replyContent.malformed)
            countError(tr("malformed frame"));
        break;
    case BusTransaction::Outcome::Broadcast:
    case BusTransaction::Outcome::Unfinished:
        break;
    }
}

QString BusStatistics::summary(qint64 noiseBytes) const
{
    qint64 errorTotal = 0;
    for (const auto &error : errorCounts)
        errorTotal += error.second;
    QString text = tr("Frames:") + " " + QString::number(frameCount) + "<br>" + tr("Transactions:")
        + " " + QString::number(transactionCount) + "<br>" + tr("Noise bytes:") + " "
        + QString::number(noiseBytes) + "<br>" + tr("Errors:") + " " + QString::number(errorTotal)
        + "<br>";
    for (const auto &error : errorCounts)
        text += "&nbsp;" + error.first + ": " + QString::number(error.second) + "<br>";
    if (responseUs.empty())
        return text;
    text += tr("Response times in ms:") + "<br>";
    for (const auto &address : responseUs) {
        std::vector<qint64> times = address.second;
        std::sort(times.begin(), times.end());
        const size_t middle = times.size() / 2;
        const double median = times.size() % 2 ? double(times[middle])
                                               : (double(times[middle - 1]) + times[middle]) / 2;
        text += "&nbsp;" + tr("address") + " " + QString::number(address.first) + ": " + tr("min")
            + " " + milliseconds(times.front()) + ", " + tr("median") + " " + milliseconds(median)
            + ", " + tr("max") + " " + milliseconds(times.back()) + " ("
            + QString::number(times.size()) + " "
            + (times.size() == 1 ? tr("reply") : tr("replies")) + ")<br>";
    }
    return text;
}
