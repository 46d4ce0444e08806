#pragma once

#include <QByteArray>
#include <QString>

// Save targets of every kind for tests, made in a test's own temporary folder:
// never the machine's own device files.

// Makes a private character device node (mknod); false when the test does not
// run as root or the system refuses it. Major 1, minor 3 writes away like the
// null device; minor 7 refuses every write with ENOSPC like the full device.
bool makeCharacterDevice(const QString &path, unsigned major, unsigned minor);
// Minor 5 reads zero bytes without end like the zero device.
constexpr unsigned MemoryDevices = 1, NullMinor = 3, ZeroMinor = 5, FullMinor = 7;

// What is at path now (links not followed): "file", "fifo", "character
// device", "link", "directory", "missing" or "other".
QString fileKind(const QString &path);
