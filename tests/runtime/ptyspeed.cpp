#include "ptyspeed.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

int lineOutputRate(int fd)
{
    termios2 settings;
    if (ioctl(fd, TCGETS2, &settings) == -1)
        return -1;
    return int(settings.c_ospeed);
}
