#pragma once

// Names and access rights of serial devices.

#include <string>

namespace Modbus {

// "\\.\NAME" names the device /dev/NAME; any other name is a path.
std::string devicePath(const std::string &device);

} // namespace Modbus
