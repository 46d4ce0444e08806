#pragma once

#include <QString>

// The platform calls of the serial side: a pseudo-terminal or a serial
// device opened in raw mode, non-blocking, as a plain file descriptor.
namespace PosixLine {

struct SerialSettings
{
    QString device;
    int baudRate = 115200;
    char parity = 'N'; // N, E or O
    int dataBits = 8;
    int stopBits = 1;
};

// Creates a pseudo-terminal in raw mode. Returns the master side (the line of
// the simulator) and keeps the slave side open in *slaveFd, so a master that
// closes and reopens the slave does not hang the line up. -1 with *error on failure.
int openPseudoTerminal(QString *slavePath, int *slaveFd, QString *error);
// Opens a serial device in raw mode with the given settings; -1 with *error.
int openSerialDevice(const SerialSettings &settings, QString *error);
// True when the baud rate has a setting of its own.
bool isSupportedBaudRate(int baudRate);

// A descriptor that becomes readable whenever a process closes the file at
// path (inotify); -1 on failure. drainCloseEvents() empties it.
int watchCloses(const QString &path);
void drainCloseEvents(int watchFd);
// Lifts the exclusive-use flag a master may have set on the terminal (TIOCEXCL):
// with the simulator holding the slave side open, a master that ended without
// lifting it would otherwise lock every later open out.
void clearExclusiveUse(int fd);

// Reads what is there without blocking: the count, 0 when nothing is
// waiting, -1 on a failure of the line.
long readAvailable(int fd, char *buffer, long size);
// Writes without blocking: the count written (possibly 0), -1 on failure.
long writeSome(int fd, const char *bytes, long size);
void closeFd(int fd);

} // namespace PosixLine
