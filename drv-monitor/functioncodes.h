#pragma once

#include <QtGlobal>

// The Modbus function codes the listener knows.
namespace FunctionCode {

constexpr quint8 ReadCoils = 1;
constexpr quint8 ReadDiscreteInputs = 2;
constexpr quint8 ReadHoldingRegisters = 3;
constexpr quint8 ReadInputRegisters = 4;
constexpr quint8 WriteSingleCoil = 5;
constexpr quint8 WriteSingleRegister = 6;
constexpr quint8 WriteMultipleCoils = 15;
constexpr quint8 WriteMultipleRegisters = 16;
// The vendor's identification: a reply of fixed length, no byte count. The
// standard Report Server ID shares the code and has a byte count.
constexpr quint8 Identification = 0x11;
// Encapsulated interface transport; MEI type 14 reads the device
// identification objects.
constexpr quint8 Encapsulated = 0x2B;
constexpr quint8 ReadDeviceIdentification = 0x0E;
// The vendor's macro read.
constexpr quint8 MacroRead = 0x41;

// Set in the function code of an exception reply.
constexpr quint8 ExceptionBit = 0x80;

} // namespace FunctionCode
