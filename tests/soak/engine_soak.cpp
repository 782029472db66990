// Engine soak: sixteen ports take a recording each, play it for a second,
// step forward and back, play it in reverse and close it, cycle after cycle.
// Prints RSS, open descriptors and threads after the warm-up cycles and at the
// end, and fails when any of them grew. Not a test (it runs for minutes):
//   orlin-engine-soak [CYCLES=1000] [WARM_UP=50]

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "process_stats.h"
#include "soak_recordings.h"
#include "vidmux.h"

namespace {

constexpr int kPorts = 16;
constexpr int64_t kMaxRssGrowthKiB = 5 * 1024;

int32_t GetSize(void*, int32_t* pWidth, int32_t* pHeight) {
    *pWidth = 160;
    *pHeight = 120;
    return 1;
}
void Present(void*, const uint8_t*, int32_t, int32_t, int32_t) {}

// One cycle; false when a port could not be taken or a file not opened.
bool Cycle(const std::vector<std::string>& files, VemorRenderWindow* pWindow) {
    using namespace std::chrono_literals;
    int32_t ports[kPorts];
    for (int i = 0; i < kPorts; ++i) {
        if (!Vemor_GetPort(&ports[i]) ||
            !Vemor_OpenFile(ports[i], files[i % files.size()].c_str()) ||
            !Vemor_Play(ports[i], pWindow)) {
            std::fprintf(stderr, "port %d: cannot take, open or play (error %u)\n", i,
                         Vemor_GetLastError(ports[i]));
            return false;
        }
    }
    std::this_thread::sleep_for(1s);
    for (int32_t nPort : ports) {
        Vemor_Pause(nPort, 1);
        for (int i = 0; i < 3; ++i) Vemor_OneByOne(nPort);
        for (int i = 0; i < 3; ++i) Vemor_OneByOneBack(nPort);
        Vemor_ReversePlay(nPort);
        Vemor_Pause(nPort, 0);
    }
    std::this_thread::sleep_for(200ms);
    for (int32_t nPort : ports) {
        Vemor_Stop(nPort);
        Vemor_CloseFile(nPort);
        Vemor_FreePort(nPort);
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    const int nCycles = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int nWarmUp = argc > 2 ? std::atoi(argv[2]) : 50;
    if (nCycles <= nWarmUp || nWarmUp < 1) {
        std::fprintf(stderr, "usage: %s [CYCLES > WARM_UP] [WARM_UP >= 1]\n", argv[0]);
        return 2;
    }
    const auto folder = std::filesystem::temp_directory_path() /
                        ("orlin-engine-soak-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::vector<std::string> files = WriteSoakRecordings(folder);
    VemorRenderWindow window{nullptr, GetSize, Present, nullptr};

    PrintStats("start", ProcessStats::Now());
    ProcessStats warm;
    bool bOk = true;
    const auto started = std::chrono::steady_clock::now();
    for (int nCycle = 1; nCycle <= nCycles && bOk; ++nCycle) {
        bOk = Cycle(files, &window);
        if (nCycle == nWarmUp) {
            warm = ProcessStats::Now();
            PrintStats(("after cycle " + std::to_string(nCycle)).c_str(), warm);
        } else if (nCycle % 50 == 0) {
            PrintStats(("after cycle " + std::to_string(nCycle)).c_str(), ProcessStats::Now());
        }
    }
    const ProcessStats end = ProcessStats::Now();
    PrintStats("end", end);
    std::printf("%d cycles of %d ports in %.0f s\n", nCycles, kPorts,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
    std::filesystem::remove_all(folder);
    if (!bOk) return 1;
    return JudgeGrowth(warm, end, kMaxRssGrowthKiB) ? 0 : 1;
}
