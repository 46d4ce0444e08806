#pragma once

// Files a line reads whole, such as certificates and keys: only a regular
// file of bounded size is taken, opened without waiting, so a FIFO, a device
// or a huge file never holds or floods the program.

#include <string>

namespace Modbus {

constexpr long MaxSmallFileBytes = 1 << 20;

// Reads the file at path into *content. Returns 0, or an error code: the
// system's (ENOENT, EACCES, EISDIR, ...), NotRegularFile, or EFBIG for a
// file larger than MaxSmallFileBytes.
int readSmallFile(const char *path, std::string *content);

} // namespace Modbus
