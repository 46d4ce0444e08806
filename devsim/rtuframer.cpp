#include "rtuframer.h"

int RtuFramer::frameLength(const QByteArray &head)
{
    if (head.size() < 2)
        return 0;
    const auto byteAt = [&head](int index) { return static_cast<quint8>(head.at(index)); };
    int length = -1;
    switch (byteAt(1)) {
    case 0x07:
    case 0x0B:
    case 0x0C:
    case 0x11:
        length = 4;
        break;
    case 0x01:
    case 0x02:
    case 0x03:
    case 0x04:
    case 0x05:
    case 0x06:
        length = 8;
        break;
    case 0x0F:
    case 0x10:
        if (head.size() < 7)
            return 0;
        length = 9 + byteAt(6);
        break;
    case 0x2B: // MEI type 14 (device identification) only
        if (head.size() < 3)
            return 0;
        if (byteAt(2) != 0x0E)
            return -1;
        length = 7;
        break;
    case 0x17:
        if (head.size() < 11)
            return 0;
        length = 13 + byteAt(10);
        break;
    case 0x41:
        if (head.size() < 6)
            return 0;
        length = 8 + 2 * ((byteAt(4) << 8) | byteAt(5));
        break;
    default:
        return -1;
    }
    return length <= MaxFrame ? length : -1;
}

QByteArray RtuFramer::takeFrame()
{
    const int length = frameLength(buffer);
    if (length <= 0 || buffer.size() < length)
        return QByteArray();
    const QByteArray frame = buffer.left(length);
    buffer.remove(0, length);
    return frame;
}

QByteArray RtuFramer::takePending()
{
    const QByteArray frame = buffer;
    buffer.clear();
    return frame;
}
