#pragma once

#include <QString>

// The names of the device identification objects as the Modbus application
// protocol gives them: VendorName, ProductCode, MajorMinorRevision,
// VendorUrl, ProductName, ModelName, UserApplicationName; the reserved and
// private objects by their identifier ("0x80").
namespace DeviceIdNames {

QString name(int objectId);

} // namespace DeviceIdNames
