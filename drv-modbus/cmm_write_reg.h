#pragma once

#include "cmm.h"

#include <QtGlobal>

struct ModbusContext;

namespace CmmNamespace {

// Writes one holding register with function 6, for devices that refuse
// function 16 for a single register; the device must echo the request.
class Cmm_Write_Reg : public Cmm
{
public:
    Cmm_Write_Reg(ModbusContext *context, quint16 address, quint16 value);
    bool run() override;

private:
    ModbusContext *context;
    quint16 address;
    quint16 value;
};

} // namespace CmmNamespace
