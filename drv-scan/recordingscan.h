#pragma once

#include <QStringList>

class ScanDatabase;
namespace CmmNamespace {
class Cmm_Scan;
}

// The scan of the database mode: every port, baud rate (in the order given)
// and address is probed; each device found is recorded with its serial
// number, and the progress figure follows every probe, so that the program
// watching the database sees the scan as it goes. One line per probe.
class RecordingScan
{
public:
    // Both are borrowed; the database must be open.
    RecordingScan(CmmNamespace::Cmm_Scan &scan, ScanDatabase &database);

    // Runs the scan over the ports. Returns false when any statement failed;
    // each failure is reported on standard error as it happens and the scan
    // goes on.
    bool run(const QStringList &ports);

private:
    // Serial number in up to ten attempts 100 ms apart; -1 when none answered.
    static int serialNumber(const QString &port, quint32 baudRate, quint32 address);
    bool stored(bool written);

    CmmNamespace::Cmm_Scan &scan;
    ScanDatabase &database;
    bool allStored = true;
};
