#pragma once

#include <cstdint>
#include <string>

// What a long run must not leak, read from /proc/self.
struct ProcessStats {
    int64_t nRssKiB = 0;
    int nOpenFds = 0;
    int nThreads = 0;

    static ProcessStats Now();
};

// Prints one line of figures under `label`.
void PrintStats(const char* szLabel, const ProcessStats& stats);

// Compares the figures at the end with those after the warm-up cycles and prints
// the verdict: RSS may grow by less than `nMaxRssGrowthKiB`, descriptors and
// threads not at all. True when every figure is within its bound.
bool JudgeGrowth(const ProcessStats& warm, const ProcessStats& end, int64_t nMaxRssGrowthKiB);
