#pragma once

#include <QString>

// The file-name suffix of programs on this platform: none on Linux, ".exe" on
// Windows.
QString executableSuffix();

// `baseName` with the platform's suffix ("ssh" -> "ssh" or "ssh.exe").
QString executableName(const QString &baseName);
