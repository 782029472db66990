#include "process_stats.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

ProcessStats ProcessStats::Now() {
    ProcessStats stats;
    std::ifstream status("/proc/self/status");
    std::string strKey;
    while (status >> strKey) {
        if (strKey == "VmRSS:") {
            status >> stats.nRssKiB;
        } else if (strKey == "Threads:") {
            status >> stats.nThreads;
        }
        status.ignore(1 << 20, '\n');
    }
    std::error_code error;
    for (auto it = std::filesystem::directory_iterator("/proc/self/fd", error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        ++stats.nOpenFds;
    }
    --stats.nOpenFds;  // the descriptor of the listing itself
    return stats;
}

void PrintStats(const char* szLabel, const ProcessStats& stats) {
    std::printf("%-22s RSS %8.1f MiB, %3d open descriptors, %3d threads\n", szLabel,
                stats.nRssKiB / 1024.0, stats.nOpenFds, stats.nThreads);
    std::fflush(stdout);
}

bool JudgeGrowth(const ProcessStats& warm, const ProcessStats& end, int64_t nMaxRssGrowthKiB) {
    const int64_t nRssGrowth = end.nRssKiB - warm.nRssKiB;
    const bool bRss = nRssGrowth < nMaxRssGrowthKiB;
    const bool bFds = end.nOpenFds <= warm.nOpenFds;
    const bool bThreads = end.nThreads <= warm.nThreads;
    std::printf("RSS growth %+.2f MiB (limit %.1f): %s\n", nRssGrowth / 1024.0,
                nMaxRssGrowthKiB / 1024.0, bRss ? "ok" : "TOO MUCH");
    std::printf("descriptors %+d: %s\n", end.nOpenFds - warm.nOpenFds, bFds ? "ok" : "GREW");
    std::printf("threads %+d: %s\n", end.nThreads - warm.nThreads, bThreads ? "ok" : "GREW");
    return bRss && bFds && bThreads;
}
