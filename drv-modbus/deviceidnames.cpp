#include "deviceidnames.h"

#include <iterator>

namespace DeviceIdNames {

QString name(int objectId)
{
    static const char *const names[] = {"VendorName", "ProductCode", "MajorMinorRevision",
        "VendorUrl", "ProductName", "ModelName", "UserApplicationName"};
    if (objectId >= 0 && objectId < int(std::size(names)))
        return QLatin1String(names[objectId]);
    return QStringLiteral("0x") + QString::number(objectId, 16).toUpper().rightJustified(2, '0');
}

} // namespace DeviceIdNames
