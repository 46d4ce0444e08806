#pragma once

#include "cmm.h"

#include <QtGlobal>

struct ModbusContext;

namespace CmmNamespace {

// Switches one coil on or off (function 5); the device must echo the request.
class Cmm_Write_Coil : public Cmm
{
public:
    Cmm_Write_Coil(ModbusContext *context, quint16 address, bool on);
    bool run() override;

private:
    ModbusContext *context;
    quint16 address;
    bool on;
};

} // namespace CmmNamespace
