#pragma once
// Read from /proc for the benchmarks.

#include <sys/types.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

// The resident memory (VmRSS, KiB) of process pid; -1 when it cannot be read.
inline long rssKiB(pid_t pid)
{
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/status", int(pid));
    FILE *f = std::fopen(path, "r");
    long kib = -1;
    char line[256];
    while (f && std::fgets(line, sizeof line, f)) {
        if (std::strncmp(line, "VmRSS:", 6) == 0)
            kib = std::atol(line + 6);
    }
    if (f)
        std::fclose(f);
    return kib;
}
