#include "busmonitor.h"

#include "asciiframer.h"
#include "engine/serialtiming.h"
#include "listeningline.h"
#include "rtuframer.h"
#include "transactionoutput.h"
#include "translationcontext.h"
#include "wallclock.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <poll.h>

namespace {

constexpr TranslationContext tr("qelDrvMonitor");

constexpr int ReadSize = 4096;

std::unique_ptr<BusFramer> framerFor(const BusMonitor::Settings &settings, FrameSink &sink)
{
    const qint64 character = Modbus::characterMicroseconds(
        settings.baudRate, settings.dataBits, settings.parity, settings.stopBits);
    if (settings.ascii)
        return std::make_unique<AsciiFramer>(character, IncompleteFrameTimeoutUs, sink);
    const qint64 silence = Modbus::frameSilenceMicroseconds(
        settings.baudRate, settings.dataBits, settings.parity, settings.stopBits);
    return std::make_unique<RtuFramer>(character, silence, IncompleteFrameTimeoutUs, sink);
}

// Milliseconds from now to the instant, rounded up, for poll(); -1 (no
// limit) for no instant.
int waitMs(qint64 nowUs, qint64 untilUs)
{
    if (untilUs < 0)
        return -1;
    return int(std::clamp<qint64>((untilUs - nowUs + 999) / 1000, 0, 1000000));
}

} // namespace

BusMonitor::BusMonitor(const Settings &settings, ListeningLine &line, TransactionOutput &output)
    : line(line)
    , output(output)
    , tracker(qint64(settings.replyWindowMs) * 1000)
    , framer(framerFor(settings, tracker))
    , durationUs(qint64(settings.durationSeconds) * 1000000)
{ }

BusMonitor::~BusMonitor() = default;

bool BusMonitor::run(int stopDescriptor, QString *error)
{
    const qint64 startUs = WallClock::steadyNowUs();
    const qint64 endUs = durationUs > 0 ? startUs + durationUs : -1;
    unsigned char buffer[ReadSize];
    for (;;) {
        qint64 nowUs = WallClock::steadyNowUs();
        if (endUs >= 0 && nowUs >= endUs)
            break;
        // The next instant something is due: a framer decision, a reply
        // window's end (only once the framer holds nothing that could be
        // that reply) or the end of the listening.
        qint64 dueUs = framer->nextDecisionUs();
        if (framer->firstHeldUs() < 0 && tracker.nextExpiryUs() >= 0)
            dueUs = dueUs < 0 ? tracker.nextExpiryUs() + 1
                              : std::min(dueUs, tracker.nextExpiryUs() + 1);
        if (endUs >= 0)
            dueUs = dueUs < 0 ? endUs : std::min(dueUs, endUs);

        pollfd ready[2] = {{line.descriptor(), POLLIN, 0}, {stopDescriptor, POLLIN, 0}};
        const int rc = poll(ready, stopDescriptor >= 0 ? 2 : 1, waitMs(nowUs, dueUs));
        if (rc == -1 && errno != EINTR) {
            *error = "<font color=\"red\">" + tr("Line lost:") + " "
                + QString::fromLocal8Bit(std::strerror(errno)) + "</font><br>";
            conclude(error);
            return false;
        }
        nowUs = WallClock::steadyNowUs();
        const bool stopped = rc > 0 && stopDescriptor >= 0 && ready[1].revents != 0;
        if (rc > 0 && ready[0].revents != 0) {
            const int count = line.read(buffer, ReadSize);
            if (count > 0) {
                framer->feed(buffer, count, nowUs);
            } else if (count == -1 || (ready[0].revents & (POLLHUP | POLLERR | POLLNVAL))) {
                if (count == 0)
                    errno = EIO;
                *error = "<font color=\"red\">" + tr("Line lost:") + " "
                    + QString::fromLocal8Bit(std::strerror(errno)) + "</font><br>";
                conclude(error);
                return false;
            }
        }
        framer->advance(nowUs);
        if (!deliver(nowUs, error)) {
            conclude(error);
            return false;
        }
        if (stopped)
            break;
    }
    return conclude(error);
}

bool BusMonitor::deliver(qint64 nowUs, QString *error)
{
    // A reply still held by the framer may yet answer the waiting request.
    const qint64 held = framer->firstHeldUs();
    tracker.expire(held >= 0 ? std::min(nowUs, held) : nowUs);
    const QVector<BusTransaction> transactions = tracker.takeTransactions();
    for (const BusTransaction &transaction : transactions) {
        counts.add(transaction);
        if (!output.write(transaction, error))
            return false;
    }
    return true;
}

bool BusMonitor::conclude(QString *error)
{
    framer->finish();
    QString failure;
    bool ok = deliver(WallClock::steadyNowUs(), &failure);
    tracker.finish();
    const QVector<BusTransaction> transactions = tracker.takeTransactions();
    for (const BusTransaction &transaction : transactions) {
        counts.add(transaction);
        if (ok && !output.write(transaction, &failure))
            ok = false;
    }
    if (ok && !output.close(&failure))
        ok = false;
    if (!ok)
        *error += failure;
    return ok;
}
