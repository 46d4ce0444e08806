#pragma once

#include <QByteArray>
#include <QProcess>
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

// Something that is not a regular file, made at path for a read that must
// refuse it at once: "fifo" (nobody writes to it), "fifo closed" (a writer
// opens it and closes it again without a byte), "fifo fed" (a writer writes
// into it without end) or "zero device" (reads zero bytes without end; needs
// root). The writer ends when its reader goes away, or on destruction.
class NotARegularFile
{
public:
    NotARegularFile(const QString &path, const QString &kind);
    ~NotARegularFile();
    NotARegularFile(const NotARegularFile &) = delete;
    NotARegularFile &operator=(const NotARegularFile &) = delete;

    // False when it could not be made (a device node without root).
    bool isMade() const { return made; }

private:
    QProcess writer;
    bool made = false;
};
