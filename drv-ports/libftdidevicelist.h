#pragma once

#include "ftdidevicelist.h"

// The attached FTDI adapters as libftdi1 finds them on the USB buses. Texts
// are cut to the fields of the vendor's device information record (15
// characters of serial number, 63 of description), so the same adapter shows
// the same text on every platform.
class LibFtdiDeviceList : public FtdiDeviceList
{
public:
    bool deviceRecords(QVector<FtdiDeviceRecord> *records) override;
};
