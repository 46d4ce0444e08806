#include "libftdidevicelist.h"

#include <ftdi.h>

#include <memory>

namespace {

constexpr int SerialNumberLength = 15;
constexpr int DescriptionLength = 63;
constexpr int TextBufferSize = 128;

struct ContextDeleter
{
    void operator()(ftdi_context *context) const { ftdi_free(context); }
};

struct ListDeleter
{
    void operator()(ftdi_device_list *list) const { ftdi_list_free2(list); }
};

QString recordText(const char *text, int length)
{
    return QString::fromLatin1(text).left(length);
}

} // namespace

bool LibFtdiDeviceList::deviceRecords(QVector<FtdiDeviceRecord> *records)
{
    records->clear();
    // Null when libusb cannot start (no USB buses visible to this process).
    const std::unique_ptr<ftdi_context, ContextDeleter> context(ftdi_new());
    if (!context)
        return false;

    ftdi_device_list *found = nullptr;
    // Vendor and product 0 look for every FTDI product the library knows.
    const int count = ftdi_usb_find_all(context.get(), &found, 0, 0);
    const std::unique_ptr<ftdi_device_list, ListDeleter> list(found);
    if (count < 0)
        return false;

    for (ftdi_device_list *device = list.get(); device; device = device->next) {
        char manufacturer[TextBufferSize] = {};
        char description[TextBufferSize] = {};
        char serialNumber[TextBufferSize] = {};
        FtdiDeviceRecord record;
        // An adapter whose strings cannot be read (no permission to open it)
        // keeps empty texts, as in the vendor's list for a device in use.
        if (ftdi_usb_get_strings(context.get(), device->dev, manufacturer, TextBufferSize,
                description, TextBufferSize, serialNumber, TextBufferSize)
            == 0) {
            record.serialNumber = recordText(serialNumber, SerialNumberLength);
            record.description = recordText(description, DescriptionLength);
        }
        records->append(record);
    }
    return true;
}
