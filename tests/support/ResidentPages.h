#pragma once

#include <cstddef>
#include <fstream>
#include <unistd.h>

// The pages of this process that are in memory now, from /proc/self/statm; 0 when it cannot be read.
inline std::size_t residentPages()
{
    std::ifstream statm("/proc/self/statm");
    std::size_t size = 0;
    std::size_t resident = 0;
    if (!(statm >> size >> resident))
        return 0;
    return resident;
}

inline std::size_t pageBytes()
{
    long bytes = sysconf(_SC_PAGESIZE);
    return bytes > 0 ? static_cast<std::size_t>(bytes) : 4096;
}
