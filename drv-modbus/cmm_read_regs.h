#pragma once

#include "cmm.h"

#include <QVector>

struct ModbusContext;

namespace CmmNamespace {

// Reads holding registers (function 3) in one request: flushes the line, reads,
// and flushes again after a failure. The driver gives at most 120 registers.
class Cmm_Read_Regs : public Cmm
{
public:
    Cmm_Read_Regs(ModbusContext *context, quint16 start, quint16 count);
    bool run() override;
    // The words of a successful run, in register order; empty otherwise.
    const QVector<quint16> &words() const { return result; }

private:
    ModbusContext *context;
    quint16 start;
    quint16 count;
    QVector<quint16> result;
};

// The read routine of the register read commands: the engine function that
// reads count registers from start into a buffer of count words.
using RegisterReadFunction = int (*)(ModbusContext *, int, int, quint16 *);
// Runs one read through the engine; succeeds only when every register came back.
bool readRegisters(ModbusContext *context, RegisterReadFunction read, quint16 start, quint16 count,
    QVector<quint16> *words);

} // namespace CmmNamespace
