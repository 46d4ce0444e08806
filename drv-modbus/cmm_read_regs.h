#pragma once

#include "cmm.h"

#include <QVector>

struct ModbusContext;

namespace CmmNamespace {

// Reads registers in one request through the engine function given: flushes
// the line, reads, and flushes again after a failure. Only a full reply
// counts. The driver gives at most 120 registers.
class RegisterRead : public Cmm
{
public:
    // The engine function that reads count registers from start into a
    // buffer of count words.
    using ReadFunction = int (*)(ModbusContext *, int, int, quint16 *);

    bool run() override;
    // The words of a successful run, in register order; empty otherwise.
    const QVector<quint16> &words() const { return result; }

protected:
    RegisterRead(ModbusContext *context, ReadFunction read, quint16 start, quint16 count);

private:
    ModbusContext *context;
    ReadFunction read;
    quint16 start;
    quint16 count;
    QVector<quint16> result;
};

// Reads holding registers (function 3).
class Cmm_Read_Regs : public RegisterRead
{
public:
    Cmm_Read_Regs(ModbusContext *context, quint16 start, quint16 count);
};

} // namespace CmmNamespace
