#pragma once

#include <sys/resource.h>

// The processor time this process has used so far (user and system), in ms.
// Child processes are not included.
inline double processorMs()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}
