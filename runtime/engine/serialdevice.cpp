#include "serialdevice.h"

#include "modbus.h"

#include <cerrno>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace Modbus {

std::string devicePath(const std::string &device)
{
    static const char namespacePrefix[] = "\\\\.\\";
    const size_t prefixLength = sizeof namespacePrefix - 1;
    if (device.compare(0, prefixLength, namespacePrefix) == 0)
        return "/dev/" + device.substr(prefixLength);
    return device;
}

std::string serialAccessGroup(const char *device)
{
    struct stat status
    {
    };
    if (!device || stat(devicePath(device).c_str(), &status) == -1)
        return std::string();
    const mode_t groupReadWrite = S_IRGRP | S_IWGRP;
    if (status.st_gid == 0 || (status.st_mode & groupReadWrite) != groupReadWrite)
        return std::string();

    long bufferSize = sysconf(_SC_GETGR_R_SIZE_MAX);
    if (bufferSize < 1024)
        bufferSize = 1024;
    std::vector<char> buffer(static_cast<size_t>(bufferSize));
    group entry {};
    group *found = nullptr;
    while (getgrgid_r(status.st_gid, &entry, buffer.data(), buffer.size(), &found) == ERANGE
        && buffer.size() < (1u << 20))
        buffer.resize(buffer.size() * 2);
    return found && found->gr_name ? std::string(found->gr_name) : std::string();
}

} // namespace Modbus
