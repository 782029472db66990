#include "playback/process_uptime.h"

#include <time.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

int64_t ProcessUptimeMs() {
    std::ifstream stat("/proc/self/stat");
    std::string line;
    if (!std::getline(stat, line)) return -1;
    // The command name may hold spaces; fields are counted after its ')'.
    const size_t nClose = line.rfind(')');
    if (nClose == std::string::npos) return -1;
    std::istringstream fields(line.substr(nClose + 2));
    std::string field;
    // Field 22 (start time in clock ticks since boot) is the 20th after the name,
    // so 19 fields are skipped.
    for (int i = 0; i < 19 && fields >> field; ++i) {
    }
    long long nStartTicks = 0;
    if (!(fields >> nStartTicks)) return -1;
    const long nTicksPerSecond = sysconf(_SC_CLK_TCK);
    timespec now{};
    if (nTicksPerSecond <= 0 || clock_gettime(CLOCK_BOOTTIME, &now) != 0) return -1;
    const int64_t nNowMs = int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
    return nNowMs - nStartTicks * 1000 / nTicksPerSecond;
}
