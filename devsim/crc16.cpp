#include "crc16.h"

namespace Crc16 {

quint16 compute(const QByteArray &bytes)
{
    quint16 crc = 0xFFFF;
    for (const char byte : bytes) {
        crc ^= static_cast<quint8>(byte);
        for (int bit = 0; bit < 8; ++bit) {
            const bool carry = crc & 1u;
            crc = static_cast<quint16>(crc >> 1);
            if (carry)
                crc ^= 0xA001;
        }
    }
    return crc;
}

QByteArray appended(const QByteArray &frame)
{
    const quint16 crc = compute(frame);
    QByteArray result = frame;
    result.append(static_cast<char>(crc & 0xFF));
    result.append(static_cast<char>(crc >> 8));
    return result;
}

bool isValid(const QByteArray &frame)
{
    if (frame.size() < 3)
        return false;
    const quint16 crc = compute(frame.left(frame.size() - 2));
    const auto low = static_cast<quint8>(frame.at(frame.size() - 2));
    const auto high = static_cast<quint8>(frame.at(frame.size() - 1));
    return crc == (low | (high << 8));
}

} // namespace Crc16
