// Plays a recording through the engine without a window and prints what it
// played: a check of the engine on a real file, also used by `make run`
// where no display is available.

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "vidmux.h"

namespace {

std::atomic<bool> g_ended{false};
std::atomic<bool> g_indexed{false};

void OnFileEnd(int32_t, void*) { g_ended = true; }
void OnIndex(int32_t, void*) { g_indexed = true; }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: vidmux-play FILE [SPEED_LEVEL]\n");
        return 2;
    }
    const int level = argc > 2 ? std::atoi(argv[2]) : 0;
    int32_t port = -1;
    if (!Vemor_GetPort(&port)) {
        std::fprintf(stderr, "no free engine port (error %u)\n", Vemor_GetLastError(-1));
        return 1;
    }
    Vemor_SetFileEndCallback(port, OnFileEnd, nullptr);
    Vemor_SetFileRefCallBack(port, OnIndex, nullptr);
    if (!Vemor_OpenFile(port, argv[1])) {
        std::fprintf(stderr, "%s: cannot open (engine error %u)\n", argv[1],
                     Vemor_GetLastError(port));
        Vemor_FreePort(port);
        return 1;
    }
    const auto start = std::chrono::steady_clock::now();
    Vemor_Play(port, nullptr);
    for (int i = 0; i < level; ++i) Vemor_Fast(port);
    for (int i = 0; i > level; --i) Vemor_Slow(port);
    while (!g_ended) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    int32_t width = 0, height = 0;
    Vemor_GetPictureSize(port, &width, &height);
    std::printf("played %s\n", argv[1]);
    std::printf("  picture %dx%d, %u frames, %u s long, last frame shown %u, in %.2f s wall time\n",
                width, height, Vemor_GetFileTotalFrames(port), Vemor_GetFileTime(port),
                Vemor_GetCurrentFrameNum(port), seconds);
    VemorSystemTime t{};
    if (Vemor_GetSystemTime(port, &t)) {
        std::printf("  absolute time of the last picture %04u-%02u-%02u %02u:%02u:%02u.%03u\n",
                    t.dwYear, t.dwMon, t.dwDay, t.dwHour, t.dwMin, t.dwSec, t.dwMs);
    } else {
        std::printf("  no absolute time in this file\n");
    }
    Vemor_Stop(port);
    Vemor_CloseFile(port);
    Vemor_FreePort(port);
    return 0;
}
