#include "cmm_read_regs.h"

#include "engine/modbus.h"

namespace CmmNamespace {

Cmm_Read_Regs::Cmm_Read_Regs(ModbusContext *context, quint16 start, quint16 count)
    : context(context)
    , start(start)
    , count(count)
{ }

bool Cmm_Read_Regs::run()
{
    ok = readRegisters(context, Modbus::readHoldingRegisters, start, count, &result);
    return ok;
}

bool readRegisters(ModbusContext *context, RegisterReadFunction read, quint16 start, quint16 count,
    QVector<quint16> *words)
{
    words->clear();
    QVector<quint16> buffer(count);
    Modbus::flush(context);
    // A request that could not be sent gives fewer words than asked for (0):
    // only a full reply counts.
    if (read(context, start, count, buffer.data()) != count) {
        Modbus::flush(context);
        return false;
    }
    *words = buffer;
    return true;
}

} // namespace CmmNamespace
