#pragma once

#include "scanresult.h"

#include <QString>

// The result lines that qelDrvScan prints (report markup, ending with "<br>").
// Fields are padded with blanks to their width and never cut.
namespace ScanReport {

// --names mode: the port padded to 20, then "- " when no device answered,
// otherwise the identification.
QString namedPortLine(const ScanResult &result);

// Database mode: the port padded to 30, "addr: " with the address padded to
// 10, "baundrate: " with the baud rate padded to 20, then "id: -" padded to
// 10 when no device answered, otherwise "id: " with the identification
// padded to 20 and "sn: " with the serial number (-1 when it could not be
// read) padded to 10.
QString databaseLine(const ScanResult &result, quint32 address, quint32 baudRate, int serialNumber);

} // namespace ScanReport
