#pragma once

#include <QString>

// The outcome of one probe of a port at one baud rate and device address.
struct ScanResult
{
    QString port; // the port name as opened
    QString baudRate; // decimal
    QString identification; // empty when none was read
    int version = 0; // identification version that answered, 0 when none
    int address = 0;
    bool notFound = true; // no identification was read
};
