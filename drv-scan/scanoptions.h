#pragma once

#include <QString>

class OptionTable;

// The command line of qelDrvScan: its option table and usage text. The
// time-out, the framing and the TLS files are validated; other values that
// do not read as numbers become 0.
namespace ScanOptions {

// The bounds of "--timeout", in milliseconds.
constexpr int MinTimeoutMs = 10;
constexpr int MaxTimeoutMs = 10000;

// The options in the order of the usage text.
const OptionTable &table();
// The usage text, printed for "--help" or when no option was recognised.
QString usageText();

} // namespace ScanOptions
