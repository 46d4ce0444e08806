#pragma once

#include "deviceprofile.h"
#include "macroanswers.h"

#include <QByteArray>
#include <QVector>

class MacroLog;
class RegisterBank;

// Carries out one request for one device and builds its reply, both as
// protocol data units (function code and data, no address, header or CRC).
//
// Functions: 3 and 4 (at most 125 registers), 16 (at most 123 registers; at
// register 0 a macro, unless macros are off), 0x41 (macro read) and 0x11
// (identification). Anything else gets exception 1.
class ModbusSlave
{
public:
    enum Exception : quint8 {
        IllegalFunction = 1,
        IllegalDataAddress = 2,
        IllegalDataValue = 3,
    };

    ModbusSlave(RegisterBank &bank, const MacroAnswers &answers, MacroLog &macroLog);

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

    QByteArray readRegisters(const QByteArray &request, bool holding);
    QByteArray writeRegisters(const QByteArray &request);
    QByteArray readMacro(const DeviceProfile &device, const QByteArray &request);

    RegisterBank &bank;
    const MacroAnswers &answers;
    MacroLog &macroLog;
    bool macrosEnabled = true;
};
