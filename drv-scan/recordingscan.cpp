#include "recordingscan.h"

#include "cmm_read_id.h"
#include "cmm_scan.h"
#include "eventpause.h"
#include "reportprinter.h"
#include "scandatabase.h"
#include "scanreport.h"

#include "translationcontext.h"
#include <QThread>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

namespace {

constexpr TranslationContext tr("RecordingScan");

constexpr int SerialNumberAttempts = 10;
constexpr int SerialNumberPauseMs = 100;
constexpr int StartProgress = 10;

} // namespace

RecordingScan::RecordingScan(CmmNamespace::Cmm_Scan &scan, ScanDatabase &database)
    : scan(scan)
    , database(database)
{ }

bool RecordingScan::stored(bool written)
{
    if (!written) {
        allStored = false;
        printError("<font color=\"red\">" + database.errorText() + "</font><br>");
    }
    return written;
}

int RecordingScan::serialNumber(const QString &port, quint32 baudRate, quint32 address) const
{
    for (int attempt = 0; attempt < SerialNumberAttempts && !scan.stopRequested(); ++attempt) {
        const int number = CmmNamespace::Cmm_Read_Id::readSerialNumber(
            scan.probeLine(port, int(baudRate)), int(address), scan.probeSettings());
        if (number != -1)
            return number;
        pauseProcessingEvents(SerialNumberPauseMs);
    }
    return -1;
}

void RecordingScan::scanPort(
    const QString &port, bool collectProgress, const Deliver &deliver) const
{
    const QList<quint32> baudRates = scan.baudRateList();
    const QList<quint32> addresses = scan.addressList();
    for (const quint32 baudRate : baudRates) {
        for (const quint32 address : addresses) {
            if (scan.stopRequested())
                return;
            Finding finding;
            finding.address = address;
            finding.baudRate = baudRate;
            CmmNamespace::Cmm_Scan::ReportSink collect;
            if (collectProgress)
                collect = [&finding](const QString &line) { finding.progress += line; };
            finding.result = scan.scanOne(port, QString::number(baudRate), int(address), collect);
            if (!finding.result.notFound)
                finding.serialNumber = serialNumber(port, baudRate, address);
            if (scan.stopRequested())
                return;
            deliver(std::move(finding));
        }
    }
}

void RecordingScan::record(const Finding &finding)
{
    if (scan.stopRequested())
        return;
    if (!finding.progress.isEmpty())
        printReport(finding.progress);
    const ScanResult &result = finding.result;
    if (!result.notFound) {
        stored(database.insertDevice(result.port, finding.address, finding.baudRate,
            result.identification,
            finding.serialNumber == -1 ? QStringLiteral("?")
                                       : QString::number(finding.serialNumber)));
    }
    printReport(
        ScanReport::databaseLine(result, finding.address, finding.baudRate, finding.serialNumber));
    ++done;
    stored(database.setProgress(int(done * 100 / total)));
}

void RecordingScan::runInWorkers(const QList<QStringList> &groups)
{
    // Workers queue their findings in the order they finish them; one queue
    // keeps each worker's order.
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<Finding> queue;
    int running = groups.size();
    QStringList notStarted;

    std::vector<std::unique_ptr<QThread>> workers;
    for (const QStringList &group : groups) {
        workers.emplace_back(QThread::create([&, group] {
            for (const QString &port : group) {
                if (scan.stopRequested())
                    break;
                scanPort(port, true, [&](Finding &&finding) {
                    const std::lock_guard<std::mutex> lock(mutex);
                    queue.push_back(std::move(finding));
                    arrived.notify_one();
                });
            }
            const std::lock_guard<std::mutex> lock(mutex);
            --running;
            arrived.notify_one();
        }));
        workers.back()->start();
        // A thread the system would not create never runs: its ports are
        // scanned here once the other workers are done.
        if (!workers.back()->isRunning() && !workers.back()->isFinished()) {
            const std::lock_guard<std::mutex> lock(mutex);
            --running;
            notStarted.append(group);
        }
    }

    for (;;) {
        std::unique_lock<std::mutex> lock(mutex);
        // Every worker ends within its probes' time-outs, or at once on a
        // stop request.
        arrived.wait(lock, [&] { return !queue.empty() || running == 0; });
        if (queue.empty())
            break;
        const Finding finding = std::move(queue.front());
        queue.pop_front();
        lock.unlock();
        record(finding);
    }
    for (const std::unique_ptr<QThread> &worker : workers)
        worker->wait();
    for (const QString &port : qAsConst(notStarted)) {
        if (scan.stopRequested())
            break;
        scanPort(port, false, [this](Finding &&finding) { record(finding); });
    }
}

bool RecordingScan::run(const QStringList &ports)
{
    allStored = true;
    printReport(tr("Scanning ...") + "<br>");
    stored(database.setProgress(StartProgress));
    stored(database.clearDevices());

    total = qint64(ports.size()) * scan.baudRateList().size() * scan.addressList().size();
    done = 0;
    if (parallel && ports.size() > 1) {
        // One worker per port; a port given more than once is scanned that
        // often by its one worker: two at a time could not both open it.
        QStringList distinct = ports;
        distinct.removeDuplicates();
        QList<QStringList> groups;
        for (const QString &port : qAsConst(distinct)) {
            QStringList group;
            for (int time = ports.count(port); time > 0; --time)
                group.append(port);
            groups.append(group);
        }
        runInWorkers(groups);
    } else if (pipelined) {
        runInWorkers({ports});
    } else {
        for (const QString &port : ports) {
            scanPort(port, false, [this](Finding &&finding) { record(finding); });
            if (scan.stopRequested())
                break;
        }
    }
    if (scan.stopRequested()) {
        printReport(tr("Stopped") + "<br>");
        return false;
    }
    printReport(tr("Done") + "<br>");
    return allStored;
}
