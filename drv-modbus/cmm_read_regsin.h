#pragma once

#include "cmm.h"

#include <QVector>

struct ModbusContext;

namespace CmmNamespace {

// Reads input registers (function 4) in one request: flushes the line, reads,
// and flushes again after a failure. The driver gives at most 120 registers.
class Cmm_Read_RegsIn : public Cmm
{
public:
    Cmm_Read_RegsIn(ModbusContext *context, quint16 start, quint16 count);
    bool run() override;
    // The words of a successful run, in register order; empty otherwise.
    const QVector<quint16> &words() const { return result; }

private:
    ModbusContext *context;
    quint16 start;
    quint16 count;
    QVector<quint16> result;
};

} // namespace CmmNamespace
