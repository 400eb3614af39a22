// The benchmarks' memory figure: the process's resident memory, as the kernel counts it.
#pragma once

#include <cstdlib>
#include <fstream>
#include <string>

// Resident memory in KiB; -1 when it cannot be read.
inline long resident_kib()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}
