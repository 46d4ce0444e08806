#pragma once

#include <QString>
#include <QStringList>

// The command line of qelDrvScan: its option table and usage text. Only
// --timeout is validated; other values that do not read as numbers become 0.
namespace ScanOptions {

// Option names in the order of the usage text.
QStringList table();
// The usage text, printed for "--help" or when no option was recognised.
QString usageText();

} // namespace ScanOptions
