#include "demoimage.h"

#include "registerbank.h"

#include <QVector>
#include <cstring>

namespace DemoImage {

namespace {

// 32-bit values: the low-order word in the lower register.
QVector<quint16> u32(quint32 value)
{
    return {static_cast<quint16>(value & 0xFFFF), static_cast<quint16>(value >> 16)};
}

QVector<quint16> f32(float value)
{
    quint32 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return u32(bits);
}

} // namespace

void load(RegisterBank &bank)
{
    // Holding registers from 100: one value of each type.
    bank.setHolding(100, {1234}); // U16
    bank.setHolding(101, {static_cast<quint16>(-1234)}); // S16
    bank.setHolding(102, u32(305419896u)); // U32 0x12345678
    bank.setHolding(104, u32(static_cast<quint32>(-123456789))); // S32
    bank.setHolding(106, f32(3.14159f)); // F32
    bank.setHolding(108, f32(-273.15f)); // F32
    bank.setHolding(110, {0x00AB, 0xFFFF, 0}); // 171, 65535, 0
    // Values for the display formats F_X_X, F_X_XX, F_X_XXX, F_X_XXXX.
    bank.setHolding(113, {2305, 4998, 12345, 31416});
    // A ramp for range reads: 120..129 hold 1..10.
    bank.setHolding(120, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});

    // Input registers from 0: measurements of a feeder.
    bank.setInput(0, {2305, 2298, 2311}); // voltages x 0.1 V
    bank.setInput(3, {static_cast<quint16>(-42)}); // S16 reactive power
    bank.setInput(4, u32(1234567u)); // U32 energy counter
    bank.setInput(6, f32(49.98f)); // F32 frequency
    bank.setInput(8, f32(0.95f)); // F32 power factor
    bank.setInput(10, {10, 20, 30, 40, 50, 60, 70, 80, 90, 100});
}

} // namespace DemoImage
