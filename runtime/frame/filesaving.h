#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QIODevice;

// Saving whole contents to a path given by the user, the same way in every
// program of the tool set.
//
// A regular file, or a name where nothing exists yet, is replaced atomically:
// the content goes to a new file beside it, is synced, takes the old file's
// permissions and is renamed over it, so a failed save leaves the old file
// as it was. Where the directory takes no new file but the file itself is
// writable, the file is written in place. A target that exists and is not a
// regular file (a character device, a FIFO, /dev/stdout) is written into and
// never replaced; so is a file this program's standard output or error goes
// to, appended to. Symbolic links are followed to the file they name.
namespace FileSaving {

// Saves content to fileName. On failure returns false and *reason (may be
// null) holds the system's reason ("No space left on device", "Permission
// denied", "Broken pipe", ...).
bool save(const QString &fileName, const QByteArray &content, QString *reason);

// A save written piece by piece, by the same rules as save(), for contents
// too large to hold in memory: open(), write to device(), commit(). Until the
// commit succeeds an existing regular file keeps its old content; a save
// given up (cancel() or destruction) removes the new file beside it. The
// device can seek where the content goes to a new file and not where it goes
// into a FIFO, a device or a standard stream. SIGPIPE is ignored while open.
class Stream
{
public:
    Stream();
    ~Stream();
    Stream(const Stream &) = delete;
    Stream &operator=(const Stream &) = delete;

    bool open(const QString &fileName, QString *reason);
    // The open target; its errorString() gives the system's reason of a
    // failed write.
    QIODevice *device();
    // Cuts what was written so far to its first size bytes, where the device
    // seeks; false with *reason where it does not or the cut fails. Keeps
    // a write that failed half-way from leaving half a record behind.
    bool truncate(qint64 size, QString *reason);
    bool commit(QString *reason);
    void cancel();

    struct Target; // what open() found and opened

private:
    std::unique_ptr<Target> target;
};

} // namespace FileSaving
