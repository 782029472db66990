// Measures the engine against FFmpeg doing the same work in the same run.
//
//   engine-bench throughput FILE      demux+decode+scale to 960x540 into a discarding window
//   engine-bench open-seek FILE       open to first picture; frame-exact seeks
//   engine-bench backstep FILE        step back through the first group of pictures
//   engine-bench reverse FILE         reverse play: pictures per second, peak memory
//   engine-bench sixteen FILE         sixteen ports at once: CPU use, who falls behind
//   engine-bench backstep-mpv FILE   each back step through the second 50-picture group after
//                                     a 1 s pause, against mpv's frame-back-step (JSON IPC)
//   engine-bench nine FILE [SECONDS]  nine ports into the panes of layout 9 (533x333 each)
//                                     for 60 s: pictures shown per port per second, CPU,
//                                     how far the slowest fell behind; CPU per picture
//                                     against FFmpeg decoding and scaling the same file

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench_ffmpeg.h"
#include "bench_port.h"
#include "bench_util.h"
#include "mpv_ipc.h"
#include "vidmux.h"

using namespace bench;
using namespace std::chrono_literals;

namespace {

struct DiscardingWindow {
    int width, height;
    std::atomic<int> presented{0};
    VemorRenderWindow window{};

    DiscardingWindow(int w, int h) : width(w), height(h) {
        window.user = this;
        window.get_size = [](void* user, int32_t* w, int32_t* h) -> int32_t {
            auto* self = static_cast<DiscardingWindow*>(user);
            *w = self->width;
            *h = self->height;
            return 1;
        };
        window.present = [](void* user, const uint8_t*, int32_t, int32_t, int32_t) {
            ++static_cast<DiscardingWindow*>(user)->presented;
        };
    }
};

void WaitIndexed(int count) {
    while (g_indexed.load() < count) std::this_thread::sleep_for(1ms);
}

// Plays the whole file at 16x into a discarding 960x540 window; pictures per second.
double EnginePresentFps(const std::string& path, int displayType, int* presented) {
    DiscardingWindow window(960, 540);
    const int indexedBefore = g_indexed.load();
    const int32_t port = OpenPort(path);
    if (port < 0) return 0;
    WaitIndexed(indexedBefore + 1);
    Vemor_SetDisplayType(port, displayType);
    const int ended = g_ended.load();
    const auto start = Clock::now();
    Vemor_Play(port, &window.window);
    for (int i = 0; i < 4; ++i) Vemor_Fast(port);  // 16x: the clock never holds it back here
    while (g_ended.load() == ended) std::this_thread::sleep_for(1ms);
    const double seconds = SecondsSince(start);
    Vemor_FreePort(port);
    *presented = window.presented;
    return window.presented / seconds;
}

int Throughput(const std::string& path) {
    // Interleaved rounds, best of each, so that load from elsewhere on the
    // machine does not favour whichever side ran at a quiet moment.
    constexpr int kRounds = 3;
    int ffmpegFrames = 0, engineFrames = 0, lowFrames = 0;
    double ffmpegFps = 0, engineFps = 0, lowFps = 0;
    for (int round = 0; round < kRounds; ++round) {
        ffmpegFps = std::max(ffmpegFps, FfmpegDecodeScaleFps(path, 960, 540, &ffmpegFrames));
        engineFps = std::max(engineFps, EnginePresentFps(path, 1, &engineFrames));
        lowFps = std::max(lowFps, EnginePresentFps(path, 2, &lowFrames));
    }
    std::printf("decode + scale to 960x540 BGRA, %s, best of %d rounds\n", path.c_str(), kRounds);
    std::printf("  FFmpeg (libavcodec + libswscale): %d frames, %.1f frames/s\n", ffmpegFrames,
                ffmpegFps);
    std::printf("  engine (demux, decode, scale, present): %d frames, %.1f frames/s\n",
                engineFrames, engineFps);
    std::printf("  ratio engine / FFmpeg: %.2f\n", engineFps / ffmpegFps);
    std::printf(
        "  engine in low-resolution display mode: %d frames, %.1f frames/s (%.2f of normal)\n",
        lowFrames, lowFps, lowFps / engineFps);
    return 0;
}

int OpenSeek(const std::string& path) {
    const auto openStart = Clock::now();
    DiscardingWindow window(960, 540);
    const int32_t port = OpenPort(path);
    if (port < 0) return 1;
    Vemor_Play(port, &window.window);
    while (window.presented.load() == 0) std::this_thread::sleep_for(100us);
    const double openSeconds = SecondsSince(openStart);
    Vemor_Pause(port, 1);
    WaitIndexed(1);
    const double indexSeconds = SecondsSince(openStart);

    const uint32_t total = Vemor_GetFileTotalFrames(port);
    std::vector<double> seeks;
    for (uint32_t frame = 49; frame < total; frame += 37) {  // mostly the last pictures of a group
        const auto start = Clock::now();
        Vemor_SetCurrentFrameNum(port, frame);
        seeks.push_back(SecondsSince(start));
    }
    std::sort(seeks.begin(), seeks.end());
    Vemor_FreePort(port);
    std::printf("open and seek, %s (%u frames)\n", path.c_str(), total);
    std::printf("  open to first picture presented: %.1f ms (frame index ready after %.1f ms)\n",
                openSeconds * 1000, indexSeconds * 1000);
    std::printf("  frame-exact seek: median %.1f ms, slowest %.1f ms over %zu seeks\n",
                seeks[seeks.size() / 2] * 1000, seeks.back() * 1000, seeks.size());
    return 0;
}

int BackStep(const std::string& path) {
    constexpr int kGroup = 50;
    double naiveSlowest = 0;
    const double naive = FfmpegNaiveBackSteps(path, kGroup, &naiveSlowest);

    const int32_t port = OpenPort(path);
    if (port < 0) return 1;
    WaitIndexed(1);
    // Start on the key frame that follows the group, so no picture of the
    // group has been decoded yet.
    Vemor_SetCurrentFrameNum(port, kGroup);
    double slowest = 0;
    const auto start = Clock::now();
    for (int i = 0; i < kGroup; ++i) {
        const auto stepStart = Clock::now();
        if (!Vemor_OneByOneBack(port)) std::fprintf(stderr, "step back failed at %d\n", i);
        slowest = std::max(slowest, SecondsSince(stepStart));
    }
    const double total = SecondsSince(start);
    const uint32_t landed = Vemor_GetCurrentFrameNum(port);
    Vemor_FreePort(port);

    std::printf("step back through a %d-frame group, %s\n", kGroup, path.c_str());
    std::printf("  FFmpeg re-decoding from the key frame per step: %.3f s, slowest step %.1f ms\n",
                naive, naiveSlowest * 1000);
    std::printf("  engine: %.3f s, slowest step %.1f ms, ended on frame %u\n", total,
                slowest * 1000, landed);
    std::printf("  ratio FFmpeg / engine time: %.1f\n", naive / total);
    return 0;
}

int Reverse(const std::string& path) {
    DiscardingWindow window(960, 540);
    const int32_t port = OpenPort(path);
    if (port < 0) return 1;
    WaitIndexed(1);
    const uint32_t total = Vemor_GetFileTotalFrames(port);
    Vemor_Play(port, &window.window);
    Vemor_Pause(port, 1);
    Vemor_SetCurrentFrameNum(port, total - 1);
    const double before = PeakMemoryMiB();
    const int shownBefore = window.presented;
    const auto start = Clock::now();
    Vemor_ReversePlay(port);
    std::this_thread::sleep_for(4s);
    const double seconds = SecondsSince(start);
    const int shown = window.presented - shownBefore;
    const uint32_t at = Vemor_GetCurrentFrameNum(port);
    Vemor_FreePort(port);
    std::printf("reverse play at normal speed, %s\n", path.c_str());
    std::printf("  %d pictures in %.2f s = %.1f pictures/s (file rate 25), now at frame %u of %u\n",
                shown, seconds, shown / seconds, at, total);
    std::printf("  peak memory %.0f MiB (%.0f MiB before reverse play)\n", PeakMemoryMiB(), before);
    return 0;
}

int Sixteen(const std::string& path) {
    constexpr int kPorts = 16;
    std::vector<int32_t> ports;
    for (int i = 0; i < kPorts; ++i) {
        const int32_t port = OpenPort(path);
        if (port < 0) return 1;
        ports.push_back(port);
    }
    WaitIndexed(kPorts);
    const double cpuStart = CpuSeconds();
    const auto start = Clock::now();
    for (int32_t port : ports) Vemor_Play(port, nullptr);
    std::this_thread::sleep_for(10s);
    const double wall = SecondsSince(start);
    const double cpu = CpuSeconds() - cpuStart;
    const uint32_t expected = static_cast<uint32_t>(wall * 25);
    uint32_t slowest = UINT32_MAX;
    for (int32_t port : ports) slowest = std::min(slowest, Vemor_GetCurrentFrameNum(port));
    for (int32_t port : ports) Vemor_FreePort(port);
    std::printf("sixteen ports playing %s with null windows for %.1f s\n", path.c_str(), wall);
    std::printf("  CPU use %.0f%% of one core (%.0f%% of this machine's %u cores)\n",
                cpu / wall * 100, cpu / wall * 100 / std::thread::hardware_concurrency(),
                std::thread::hardware_concurrency());
    std::printf("  clock says frame %u; slowest port at frame %u: %s\n", expected, slowest,
                slowest + 3 >= expected ? "none fell behind" : "fell behind");
    return 0;
}

void ReportSteps(const char* who, std::vector<double> steps) {
    const double first = steps.front();
    std::sort(steps.begin(), steps.end());
    std::printf("  %-6s first step %.1f ms, median %.1f ms, slowest %.1f ms (goal: every step under 40 ms)\n",
                who, first, steps[steps.size() / 2], steps.back());
}

int BackStepAgainstMpv(const std::string& path) {
    constexpr int kGroup = 50;
    // The engine: parked on the key frame after the first group, paused for a second.
    const int32_t port = OpenPort(path);
    if (port < 0) return 1;
    WaitIndexed(1);
    if (!Vemor_SetCurrentFrameNum(port, 2 * kGroup)) return 1;
    std::this_thread::sleep_for(1s);
    std::vector<double> engine;
    bool exact = true;
    for (int i = 1; i <= kGroup; ++i) {
        const auto start = Clock::now();
        if (!Vemor_OneByOneBack(port)) exact = false;
        engine.push_back(SecondsSince(start) * 1000);
        exact = exact && Vemor_GetCurrentFrameNum(port) == static_cast<uint32_t>(2 * kGroup - i);
    }
    Vemor_FreePort(port);

    // mpv on the same file: the same picture, the same pause, the same steps;
    // a step is done when mpv reports its playback restarted.
    MpvIpc mpv;
    if (!mpv.Start(path)) {
        std::fprintf(stderr, "mpv could not be started\n");
        return 1;
    }
    // The file may still be loading: the seek is asked for until mpv is there.
    const std::string target = std::to_string(2 * kGroup);
    std::string parked;
    for (int i = 0; i < 100 && parked != target; ++i) {
        mpv.Send(R"(["seek","4","absolute+exact"])");
        std::this_thread::sleep_for(100ms);
        parked = mpv.Property("estimated-frame-number");
    }
    if (parked != target) {
        std::fprintf(stderr, "mpv did not reach picture %s\n", target.c_str());
        return 1;
    }
    // Events of the seeks above must not pass for the end of the first step.
    mpv.Drain(1000);
    std::vector<double> anchor;
    for (int i = 1; i <= kGroup; ++i) {
        const auto start = Clock::now();
        mpv.Send(R"(["frame-back-step"])");
        if (!mpv.WaitFor("playback-restart", 10000)) break;
        anchor.push_back(SecondsSince(start) * 1000);
    }
    const std::string landed = mpv.Property("estimated-frame-number");

    std::printf("back steps through pictures %d..%d of %s after a 1 s pause\n", kGroup,
                2 * kGroup - 1, path.c_str());
    ReportSteps("engine", engine);
    std::printf("         every step on the picture before: %s\n", exact ? "yes" : "NO");
    if (anchor.empty()) return 1;
    ReportSteps("mpv", anchor);
    std::printf("         mpv went from picture %s to %s in %zu steps\n", parked.c_str(),
                landed.c_str(), anchor.size());
    double engineTotal = 0, anchorTotal = 0;
    for (double ms : engine) engineTotal += ms;
    for (double ms : anchor) anchorTotal += ms;
    std::printf("  whole group: engine %.0f ms, mpv %.0f ms, ratio mpv / engine %.1f; first step "
                "ratio mpv / engine %.2f\n",
                engineTotal, anchorTotal, anchorTotal / engineTotal, anchor.front() / engine.front());
    return 0;
}

// CPU milliseconds FFmpeg alone spends per picture decoding `path` and
// scaling it to width x height, over the whole file.
double FfmpegCpuMsPerPicture(const std::string& path, int width, int height, double* fps) {
    int frames = 0;
    const double cpuStart = CpuSeconds();
    *fps = FfmpegDecodeScaleFps(path, width, height, &frames);
    return frames > 0 ? (CpuSeconds() - cpuStart) * 1000 / frames : 0;
}

int Nine(const std::string& path, int seconds) {
    constexpr int kPorts = 9;
    // Layout 9 of a 1600x1000 video area: three by three panes.
    constexpr int kPaneWidth = 533, kPaneHeight = 333;
    double ffmpegFps = 0;
    const double ffmpegCpuMs = FfmpegCpuMsPerPicture(path, kPaneWidth, kPaneHeight, &ffmpegFps);

    std::vector<std::unique_ptr<DiscardingWindow>> windows;
    std::vector<int32_t> ports;
    const int indexedBefore = g_indexed.load();
    for (int i = 0; i < kPorts; ++i) {
        const int32_t port = OpenPort(path);
        if (port < 0) return 1;
        ports.push_back(port);
        windows.push_back(std::make_unique<DiscardingWindow>(kPaneWidth, kPaneHeight));
    }
    WaitIndexed(indexedBefore + kPorts);
    const uint32_t total = Vemor_GetFileTotalFrames(ports[0]);
    const double cpuStart = CpuSeconds();
    const auto start = Clock::now();
    for (int i = 0; i < kPorts; ++i) Vemor_Play(ports[i], &windows[i]->window);
    // Once a second: how many pictures the slowest port is behind the clock.
    uint32_t worstLag = 0;
    for (int s = 0; s < seconds; ++s) {
        std::this_thread::sleep_for(1s);
        const auto expected = static_cast<uint32_t>(SecondsSince(start) * 25);
        if (expected >= total) break;
        for (int32_t port : ports) {
            const uint32_t at = Vemor_GetCurrentFrameNum(port);
            if (at < expected) worstLag = std::max(worstLag, expected - at);
        }
    }
    const double wall = SecondsSince(start);
    const double cpu = CpuSeconds() - cpuStart;
    std::vector<double> rates;
    int presented = 0;
    for (const auto& window : windows) {
        rates.push_back(window->presented / wall);
        presented += window->presented;
    }
    for (int32_t port : ports) Vemor_FreePort(port);
    std::sort(rates.begin(), rates.end());
    const unsigned cores = std::thread::hardware_concurrency();
    std::printf("nine ports playing %s into %dx%d windows for %.1f s\n", path.c_str(), kPaneWidth,
                kPaneHeight, wall);
    std::printf("  pictures shown per port per second: slowest %.2f, median %.2f (file rate 25)\n",
                rates.front(), rates[rates.size() / 2]);
    std::printf("  CPU use %.0f%% of one core (%.0f%% of this machine's %u cores)\n",
                cpu / wall * 100, cpu / wall * 100 / cores, cores);
    std::printf("  slowest port behind the clock by at most %u pictures (goal 1)\n", worstLag);
    const double engineCpuMs = presented > 0 ? cpu * 1000 / presented : 0;
    std::printf(
        "  CPU per picture: engine %.2f ms, FFmpeg decoding + scaling alone %.2f ms (%.0f "
        "pictures/s on all cores); ratio engine / FFmpeg %.2f\n",
        engineCpuMs, ffmpegCpuMs, ffmpegFps, engineCpuMs / ffmpegCpuMs);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "nine") return Nine(argv[2], std::atoi(argv[3]));
    if (argc != 3) {
        std::fprintf(stderr,
                     "usage: engine-bench throughput|open-seek|backstep|backstep-mpv|reverse|sixteen|nine FILE "
                     "[SECONDS]\n");
        return 2;
    }
    const std::string mode = argv[1], path = argv[2];
    if (mode == "nine") return Nine(path, 60);
    if (mode == "backstep-mpv") return BackStepAgainstMpv(path);
    if (mode == "throughput") return Throughput(path);
    if (mode == "open-seek") return OpenSeek(path);
    if (mode == "backstep") return BackStep(path);
    if (mode == "reverse") return Reverse(path);
    if (mode == "sixteen") return Sixteen(path);
    std::fprintf(stderr, "unknown mode %s\n", mode.c_str());
    return 2;
}
