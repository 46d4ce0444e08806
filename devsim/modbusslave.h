#pragma once

#include "deviceprofile.h"
#include "macroanswers.h"

#include <QByteArray>
#include <QVector>

class BitBank;
class MacroLog;
class RegisterBank;

// Carries out one request for one device and builds its reply, both as
// protocol data units (function code and data, no address, header or CRC).
//
// Functions: 1 and 2 (at most 2000 bits), 3 and 4 (at most 125 registers),
// 5 (0xFF00 or 0x0000), 6, 15 (at most 1968 bits), 16 (at most 123
// registers; at register 0 a macro, unless macros are off), 43 with MEI type
// 14 (identification objects), 0x41 (macro read) and 0x11 (identification).
// Anything else gets exception 1.
class ModbusSlave
{
public:
    enum Exception : quint8 {
        IllegalFunction = 1,
        IllegalDataAddress = 2,
        IllegalDataValue = 3,
    };

    ModbusSlave(RegisterBank &bank, BitBank &bits, const MacroAnswers &answers, MacroLog &macroLog);

    // Register 0 is an ordinary holding register when macros are off.
    void setMacrosEnabled(bool on) { macrosEnabled = on; }

    // The reply; empty when the device does not answer.
    QByteArray execute(const DeviceProfile &device, const QByteArray &request);

    static QByteArray exceptionReply(int function, int code);
    // The identification bytes of a device, as they go on the wire.
    static QByteArray identificationBytes(const DeviceProfile &device);

private:
    struct Macro
    {
        int code = 0;
        int specification = 0;
        QVector<quint16> parameters;
    };
    // Checks a macro payload like a device: code, specification and count
    // against their complements, and the length against the count.
    static bool decodeMacro(const QByteArray &payload, Macro *macro);

    // The exception for a read (5 bytes: function, start, count) that the
    // device cannot answer: 3 for another length or a count outside 1 to
    // most, 2 for a range beyond address 65535; 0 when it can.
    static int readException(const QByteArray &request, int most);
    QByteArray readBits(const QByteArray &request, bool coils);
    QByteArray readRegisters(const QByteArray &request, bool holding);
    QByteArray writeCoil(const QByteArray &request);
    QByteArray writeRegister(const QByteArray &request);
    QByteArray writeCoils(const QByteArray &request);
    QByteArray writeRegisters(const QByteArray &request);
    static QByteArray readDeviceId(const DeviceProfile &device, const QByteArray &request);
    QByteArray readMacro(const DeviceProfile &device, const QByteArray &request);

    RegisterBank &bank;
    BitBank &bits;
    const MacroAnswers &answers;
    MacroLog &macroLog;
    bool macrosEnabled = true;
};
