#include "serialspeed.h"

#include <asm/termbits.h>
#include <cstring>
#include <sys/ioctl.h>

namespace SerialSpeed {

static_assert(sizeof(termios2) <= sizeof(SavedSettings::bytes), "termios2 must fit the copy");

bool save(int fd, SavedSettings &saved)
{
    termios2 settings;
    if (ioctl(fd, TCGETS2, &settings) == -1)
        return false;
    memcpy(saved.bytes, &settings, sizeof settings);
    return true;
}

bool restore(int fd, const SavedSettings &saved)
{
    termios2 settings;
    memcpy(&settings, saved.bytes, sizeof settings);
    return ioctl(fd, TCSETS2, &settings) != -1;
}

bool setArbitraryRate(int fd, int rate)
{
    termios2 settings;
    if (ioctl(fd, TCGETS2, &settings) == -1)
        return false;
    settings.c_cflag &= ~tcflag_t(CBAUD | (CBAUD << IBSHIFT));
    settings.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    settings.c_ispeed = speed_t(rate);
    settings.c_ospeed = speed_t(rate);
    return ioctl(fd, TCSETS2, &settings) != -1;
}

} // namespace SerialSpeed
