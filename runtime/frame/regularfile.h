#pragma once

#include <QString>

class QFile;

// Files that a program reads whole, as the user names them.
namespace RegularFile {

// Opens fileName for reading into *file when it is a regular file (symbolic
// links followed). Anything else is refused without blocking: a FIFO would
// hold the program until something writes to it and then give what that
// writer chose, a device would be read without end. On failure returns false
// and *reason holds "not a regular file" or the system's reason.
bool openForReading(QFile *file, const QString &fileName, QString *reason);

} // namespace RegularFile
