#pragma once

#include <QString>
#include <QVector>

// One attached FTDI adapter: its serial number and its description.
struct FtdiDeviceRecord
{
    QString serialNumber;
    QString description;
};

// Source of the attached FTDI adapters; tests hand in a list of their own.
class FtdiDeviceList
{
public:
    virtual ~FtdiDeviceList() = default;
    // Fills records with every attached adapter, in the library's order.
    // Returns false when the list cannot be had (no library, no USB access).
    virtual bool deviceRecords(QVector<FtdiDeviceRecord> *records) = 0;
};
