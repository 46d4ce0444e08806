#include "smallfile.h"

#include "modbus.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Modbus {

int readSmallFile(const char *path, std::string *content)
{
    content->clear();
    // Not blocking: opening a FIFO would otherwise wait for a writer.
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd == -1)
        return errno;
    struct stat status
    {
    };
    int error = 0;
    if (fstat(fd, &status) == -1)
        error = errno;
    else if (S_ISDIR(status.st_mode))
        error = EISDIR;
    else if (!S_ISREG(status.st_mode))
        error = NotRegularFile;
    else if (status.st_size > MaxSmallFileBytes)
        error = EFBIG;
    char buffer[4096];
    while (error == 0) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count == -1 && errno == EINTR)
            continue;
        if (count == -1) {
            error = errno;
            break;
        }
        if (count == 0)
            break;
        content->append(buffer, size_t(count));
        // A file that grows while it is read is no smaller for it.
        if (long(content->size()) > MaxSmallFileBytes)
            error = EFBIG;
    }
    ::close(fd);
    if (error != 0)
        content->clear();
    return error;
}

} // namespace Modbus
