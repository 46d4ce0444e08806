#include "regularfile.h"

#include "translationcontext.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr TranslationContext tr("RegularFile");

bool fail(int fd, const QString &why, QString *reason)
{
    if (fd >= 0)
        ::close(fd);
    *reason = why;
    return false;
}

QString systemReason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

namespace RegularFile {

bool openForReading(QFile *file, const QString &fileName, QString *reason)
{
    // Opened without waiting for a writer, then looked at: the file checked
    // is the file read, whatever happens to the name meanwhile. Reads of a
    // regular file wait for the disk whatever O_NONBLOCK says.
    const QByteArray path = QFile::encodeName(fileName);
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return fail(-1, systemReason(), reason);
    struct stat status;
    if (::fstat(fd, &status) != 0)
        return fail(fd, systemReason(), reason);
    if (!S_ISREG(status.st_mode))
        return fail(fd, tr("not a regular file"), reason);
    if (!file->open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle))
        return fail(fd, file->errorString(), reason);
    return true;
}

} // namespace RegularFile
