#include "deviceidobjects.h"

namespace {

constexpr int MeiReadDeviceId = 0x0E;
// Bytes of a reply before its objects: MEI type, read code, conformity,
// more follows, next object, number of objects.
constexpr int ReplyHead = 6;
// A protocol data unit holds 253 bytes, the function code one of them.
constexpr int MaxReply = 252;

int lastObjectOf(int readCode)
{
    switch (readCode) {
    case 1:
        return 0x02;
    case 2:
        return 0x7F;
    default:
        return 0xFF;
    }
}

} // namespace

DeviceIdObjects::DeviceIdObjects()
{
    objects.insert(0x00, "qel");
    objects.insert(0x01, "qelDevSim");
    objects.insert(0x02, "1.0");
}

// Stream and individual access, and the highest category the device has.
int DeviceIdObjects::conformityLevel() const
{
    const int last = objects.isEmpty() ? 0 : objects.lastKey();
    return last >= 0x80 ? 0x83 : last >= 0x03 ? 0x82 : 0x81;
}

QByteArray DeviceIdObjects::reply(int readCode, int objectId, int *exception) const
{
    *exception = 0;
    QByteArray reply;
    reply.append(char(MeiReadDeviceId));
    reply.append(char(readCode));
    reply.append(char(conformityLevel()));
    reply.append(char(0)); // more follows, set below
    reply.append(char(0)); // next object
    reply.append(char(0)); // number of objects
    int count = 0;
    const auto append = [&](int id, const QByteArray &value) {
        reply.append(char(id));
        reply.append(char(value.size()));
        reply.append(value);
        ++count;
    };

    if (readCode == 4) {
        if (!objects.contains(objectId)) {
            *exception = 2;
            return QByteArray();
        }
        append(objectId, objects.value(objectId));
    } else if (readCode >= 1 && readCode <= 3) {
        const int last = lastObjectOf(readCode);
        const int first = objects.contains(objectId) && objectId <= last ? objectId : 0;
        for (auto it = objects.lowerBound(first); it != objects.cend() && it.key() <= last; ++it) {
            if (reply.size() + 2 + it.value().size() > MaxReply) {
                reply[3] = char(0xFF);
                reply[4] = char(it.key());
                break;
            }
            append(it.key(), it.value());
        }
    } else {
        *exception = 3;
        return QByteArray();
    }
    reply[ReplyHead - 1] = char(count);
    return reply;
}
