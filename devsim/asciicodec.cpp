#include "asciicodec.h"

namespace AsciiCodec {

namespace {

int digitValue(char digit)
{
    if (digit >= '0' && digit <= '9')
        return digit - '0';
    const char upper = static_cast<char>(digit & ~0x20);
    if (upper >= 'A' && upper <= 'F')
        return upper - 'A' + 10;
    return -1;
}

} // namespace

quint8 lrc(const QByteArray &bytes)
{
    int sum = 0;
    for (const char byte : bytes)
        sum += static_cast<quint8>(byte);
    return static_cast<quint8>((256 - sum % 256) % 256);
}

QByteArray encode(const QByteArray &bytes, bool damageLrc)
{
    quint8 check = lrc(bytes);
    if (damageLrc)
        check = static_cast<quint8>(~check);
    QByteArray withCheck = bytes;
    withCheck.append(static_cast<char>(check));
    return ':' + withCheck.toHex().toUpper() + "\r\n";
}

Decoded decode(const QByteArray &frame, QByteArray *bytes)
{
    bytes->clear();
    // ':', address, function, LRC, CR LF at least.
    if (frame.size() < 9 || frame.at(0) != ':' || !frame.endsWith("\r\n"))
        return Decoded::BadFrame;
    const QByteArray digits = frame.mid(1, frame.size() - 3);
    if (digits.size() % 2 != 0)
        return Decoded::BadFrame;
    QByteArray decoded;
    for (int i = 0; i < digits.size(); i += 2) {
        const int high = digitValue(digits.at(i));
        const int low = digitValue(digits.at(i + 1));
        if (high < 0 || low < 0)
            return Decoded::BadFrame;
        decoded.append(static_cast<char>(high * 16 + low));
    }
    const QByteArray content = decoded.left(decoded.size() - 1);
    if (lrc(content) != static_cast<quint8>(decoded.back()))
        return Decoded::BadLrc;
    *bytes = content;
    return Decoded::Ok;
}

} // namespace AsciiCodec
