#pragma once

#include "scanresult.h"

#include <QStringList>

#include <functional>

class ScanDatabase;
namespace CmmNamespace {
class Cmm_Scan;
}

// The scan of the database mode: every port, baud rate (in the order given)
// and address is probed; each device found is recorded with its serial
// number, and the progress figure follows every probe, so that the program
// watching the database sees the scan as it goes. One line per probe.
//
// Pipelined, one worker thread probes the ports one after the other while
// this thread prints and writes the database, so a slow statement does not
// hold up the probes. In parallel, one worker per port probes that port's
// combinations in order. Either way this thread alone prints and writes, so
// every port's lines keep their order and the statements never overlap.
class RecordingScan
{
public:
    // Both are borrowed; the database must be open.
    RecordingScan(CmmNamespace::Cmm_Scan &scan, ScanDatabase &database);

    // Scan the ports at the same time instead of one after the other.
    void setParallel(bool on) { parallel = on; }
    // Probe in a worker thread while this thread records (without parallel,
    // still one port after the other).
    void setPipelined(bool on) { pipelined = on; }

    // Runs the scan over the ports and prints "Done", or "Stopped" when a
    // stop was requested: then nothing more is written, and the progress
    // keeps the figure of the last probe recorded. Returns false when
    // stopped or when any statement failed; each failure is reported on
    // standard error as it happens and the scan goes on.
    bool run(const QStringList &ports);

private:
    // One finished probe, with what the run prints and writes for it.
    struct Finding
    {
        ScanResult result;
        quint32 address = 0;
        quint32 baudRate = 0;
        int serialNumber = -1;
        QString progress; // the probe's progress lines when collected
    };
    using Deliver = std::function<void(Finding &&)>;

    // Probes one port's combinations in order and hands each finished probe
    // to deliver; a stop request ends it, dropping the probe it cut short.
    void scanPort(const QString &port, bool collectProgress, const Deliver &deliver) const;
    // One worker per group probes the group's ports one after the other;
    // this thread records their findings as they come.
    void runInWorkers(const QList<QStringList> &groups);
    // Prints and writes one probe; nothing once a stop was requested.
    void record(const Finding &finding);
    // Serial number in up to ten attempts 100 ms apart; -1 when none answered.
    int serialNumber(const QString &port, quint32 baudRate, quint32 address) const;
    bool stored(bool written);

    CmmNamespace::Cmm_Scan &scan;
    ScanDatabase &database;
    bool parallel = false;
    bool pipelined = false;
    bool allStored = true;
    qint64 total = 0;
    qint64 done = 0;
};
