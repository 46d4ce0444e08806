#pragma once

#include <QByteArray>

// Modbus ASCII frames as the simulator reads and writes them: ':', the
// address, PDU and LRC as pairs of hexadecimal digits, CR LF. Written here,
// apart from the engine's codec, so a fault in one cannot hide in the other.
namespace AsciiCodec {

// The two's complement of the sum of the bytes, modulo 256.
quint8 lrc(const QByteArray &bytes);
// The frame of an address and PDU: ':', hex digits (upper case) of the
// bytes and of their LRC, CR LF. With a damaged LRC its bits are inverted.
QByteArray encode(const QByteArray &bytes, bool damageLrc = false);

enum class Decoded { Ok, BadFrame, BadLrc };
// Reads a whole frame, ':' through CR LF, into *bytes (address and PDU,
// without the LRC). BadFrame: no ':' first or CR LF last, an odd number or a
// character that is no hex digit (either case is taken), too short.
Decoded decode(const QByteArray &frame, QByteArray *bytes);

} // namespace AsciiCodec
