#include "recordingscan.h"

#include "cmm_read_id.h"
#include "cmm_scan.h"
#include "eventpause.h"
#include "reportprinter.h"
#include "scandatabase.h"
#include "scanreport.h"

#include <QCoreApplication>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("RecordingScan", text);
}

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

int RecordingScan::serialNumber(const QString &port, quint32 baudRate, quint32 address)
{
    for (int attempt = 0; attempt < SerialNumberAttempts; ++attempt) {
        const int number
            = CmmNamespace::Cmm_Read_Id::readSerialNumber(port, int(baudRate), int(address));
        if (number != -1)
            return number;
        pauseProcessingEvents(SerialNumberPauseMs);
    }
    return -1;
}

bool RecordingScan::run(const QStringList &ports)
{
    allStored = true;
    printReport(tr("Scanning ...") + "<br>");
    stored(database.setProgress(StartProgress));
    stored(database.clearDevices());

    const QList<quint32> baudRates = scan.baudRateList();
    const QList<quint32> addresses = scan.addressList();
    const qint64 total = qint64(ports.size()) * baudRates.size() * addresses.size();
    qint64 done = 0;
    for (const QString &port : ports) {
        for (const quint32 baudRate : baudRates) {
            for (const quint32 address : addresses) {
                const ScanResult result
                    = scan.scanOne(port, QString::number(baudRate), int(address));
                int number = -1;
                if (!result.notFound) {
                    number = serialNumber(port, baudRate, address);
                    stored(database.insertDevice(port, address, baudRate, result.identification,
                        number == -1 ? QStringLiteral("?") : QString::number(number)));
                }
                printReport(ScanReport::databaseLine(result, address, baudRate, number));
                ++done;
                stored(database.setProgress(int(done * 100 / total)));
            }
        }
    }
    printReport(tr("Done") + "<br>");
    return allStored;
}
