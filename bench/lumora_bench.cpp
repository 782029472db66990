// Pictures per second of decode + enhancement + scale to the pane, per
// enhancement module and with all eight on, at 704x576 and 1920x1080, against
// the unenhanced path (FFmpeg's decode + scale alone) on the same recording in
// the same run, with the ratio. Then the three real-time goals on this
// machine: each module alone keeps a 1920x1080 25 fps pane; all eight keep one
// 704x576 pane; adjustment + denoise + sharpen keep four 704x576 panes at once.
//
// The enhanced path does what a port does for each shown picture: a copy of
// the decoded picture, liblumora in place, then the scale to the pane.
//
// Usage: lumora-bench [MEDIA_FOLDER]   (recordings are written there once)
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "bench_ffmpeg.h"
#include "bench_util.h"
#include "lumora.h"
#include "samplegen/samplegen.h"

namespace {

constexpr double kRealTimeFps = 25.0;

struct Media {
    const char* name;
    int width, height, frames;
    int paneWidth, paneHeight;  // what the picture is scaled to
};
constexpr Media kD1{"d1-704x576.rec", 704, 576, 250, 704, 576};
constexpr Media kHd{"hd-1920x1080.rec", 1920, 1080, 125, 960, 540};

struct Module {
    const char* name;
    int32_t bits;
};
constexpr Module kModules[] = {
    {"adjustment", LUMORA_ADJUST},   {"retinex", LUMORA_RETINEX},  {"dehaze", LUMORA_DEHAZE},
    {"denoise", LUMORA_DENOISE},     {"sharpen", LUMORA_SHARPEN},  {"deblock", LUMORA_DEBLOCK},
    {"colour balance", LUMORA_COLOR_BALANCE}, {"lens", LUMORA_LENS},
};

// The panel's defaults, with the parameters whose default is neutral moved
// to a typical setting so that every module does real work.
LumoraParams TypicalParams(int32_t modules) {
    // The panel's defaults, with the settings whose default changes nothing moved.
    LumoraParams p = LUMORA_DefaultParams();
    p.nModules = modules;
    p.nBright = 40;
    p.nContrast = 40;
    p.nSaturation = 40;
    p.nEhanGain = 40;
    p.nLensWarp = -60;
    p.nLensZoom = 20;
    return p;
}

std::string Prepare(const std::string& folder, const Media& media) {
    const std::string path = folder + "/" + media.name;
    if (std::filesystem::exists(path)) return path;
    samplegen::SampleParams params;
    params.container = samplegen::Container::Recorder;
    params.width = media.width;
    params.height = media.height;
    params.frameCount = media.frames;
    params.gop = 50;
    std::string error;
    if (!samplegen::WriteSample(path, params, &error)) {
        std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), error.c_str());
        return {};
    }
    return path;
}

struct Speed {
    double fps = 0;     // pictures per second of wall time
    double cpuFps = 0;  // pictures per second of CPU time, all threads: what load does not change
};

// Decodes the whole recording, enhances each picture with `modules` (none:
// the plain FFmpeg path) and scales it to the pane.
Speed RunPass(const std::string& path, const Media& media, int32_t modules) {
    bench::FfmpegDecoder decoder;
    if (!decoder.Open(path)) return {};
    int32_t handle = 0;
    if (modules != 0) {
        if (LUMORA_Create(&handle) != LUMORA_OK) return {};
        const LumoraParams params = TypicalParams(modules);
        LUMORA_SetParams(handle, &params);
    }
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    std::vector<uint8_t> pane(static_cast<size_t>(media.paneWidth) * media.paneHeight * 4);
    uint8_t* paneData[1] = {pane.data()};
    const int paneStride[1] = {media.paneWidth * 4};
    SwsContext* scaler = nullptr;
    int pictures = 0;
    bool failed = false;
    const double cpuStart = bench::CpuSeconds();
    const auto start = bench::Clock::now();
    while (decoder.Next(packet, frame)) {
        const AVFrame* shown = frame;
        AVFrame* copy = nullptr;
        if (modules != 0) {
            copy = av_frame_alloc();
            copy->format = frame->format;
            copy->width = frame->width;
            copy->height = frame->height;
            if (av_frame_get_buffer(copy, 0) < 0 || av_frame_copy(copy, frame) < 0) {
                failed = true;
            } else {
                LumoraImage image{};
                image.nWidth = copy->width;
                image.nHeight = copy->height;
                image.bFullRange = copy->format == AV_PIX_FMT_YUVJ420P;
                for (int i = 0; i < 3; ++i) {
                    image.pPlane[i] = copy->data[i];
                    image.nStride[i] = copy->linesize[i];
                }
                failed = LUMORA_Process(handle, &image) != LUMORA_OK;
            }
            shown = copy;
        }
        scaler = sws_getCachedContext(scaler, shown->width, shown->height,
                                      static_cast<AVPixelFormat>(shown->format), media.paneWidth,
                                      media.paneHeight, AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr,
                                      nullptr, nullptr);
        sws_scale(scaler, shown->data, shown->linesize, 0, shown->height, paneData, paneStride);
        av_frame_free(&copy);
        av_frame_unref(frame);
        if (failed) break;
        ++pictures;
    }
    const double seconds = bench::SecondsSince(start);
    const double cpuSeconds = bench::CpuSeconds() - cpuStart;
    sws_freeContext(scaler);
    av_frame_free(&frame);
    av_packet_free(&packet);
    if (handle != 0) LUMORA_Destroy(handle);
    if (failed || pictures == 0) return {};
    return {pictures / seconds, cpuSeconds > 0 ? pictures / cpuSeconds : 0};
}

std::string Load() {
    std::ifstream file("/proc/loadavg");
    std::string one, five;
    file >> one >> five;
    return one + " " + five;
}

const char* Verdict(double fps) { return fps >= kRealTimeFps ? "real time" : "MISSED"; }

void PrintRow(const char* name, const Speed& speed, const Speed& plain) {
    std::printf("  %-16s %9.1f %8.2fx %11.1f %8.2fx  %s\n", name, speed.fps,
                plain.fps > 0 ? speed.fps / plain.fps : 0, speed.cpuFps,
                plain.cpuFps > 0 ? speed.cpuFps / plain.cpuFps : 0, Verdict(speed.fps));
}

// Every module alone and all eight, against the plain path; the slowest single module.
Speed Table(const std::string& path, const Media& media, Speed* allEight) {
    const Speed plain = RunPass(path, media, 0);
    std::printf("\n%dx%d (%d pictures, scaled to %dx%d)\n", media.width, media.height,
                media.frames, media.paneWidth, media.paneHeight);
    std::printf("  %-16s %9s %9s %11s %9s  %s\n", "path", "fps", "ratio", "fps of CPU", "ratio",
                "25 fps pane");
    PrintRow("plain (FFmpeg)", plain, plain);
    Speed slowest{1e9, 1e9};
    for (const Module& module : kModules) {
        const Speed speed = RunPass(path, media, module.bits);
        if (speed.fps < slowest.fps) slowest = speed;
        PrintRow(module.name, speed, plain);
    }
    *allEight = RunPass(path, media, LUMORA_ALL_MODULES);
    PrintRow("all eight", *allEight, plain);
    return slowest;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "bench-media";
    std::filesystem::create_directories(folder);
    const std::string d1 = Prepare(folder, kD1);
    const std::string hd = Prepare(folder, kHd);
    if (d1.empty() || hd.empty()) return 1;
    std::printf("lumora-bench, %u cores, load average at start %s\n",
                std::thread::hardware_concurrency(), Load().c_str());

    Speed d1All, hdAll;
    Table(d1, kD1, &d1All);
    const Speed hdSlowest = Table(hd, kHd, &hdAll);

    // Four 704x576 panes with adjustment + denoise + sharpen, at once.
    constexpr int32_t kThree = LUMORA_ADJUST | LUMORA_DENOISE | LUMORA_SHARPEN;
    std::vector<double> paneFps(4);
    std::vector<std::thread> panes;
    for (size_t i = 0; i < paneFps.size(); ++i) {
        panes.emplace_back([&, i] { paneFps[i] = RunPass(d1, kD1, kThree).fps; });
    }
    for (std::thread& pane : panes) pane.join();
    const double slowestPane = *std::min_element(paneFps.begin(), paneFps.end());
    std::printf("\nfour 704x576 panes, adjustment + denoise + sharpen at once: %.1f %.1f %.1f %.1f "
                "fps\n",
                paneFps[0], paneFps[1], paneFps[2], paneFps[3]);

    std::printf("\nGoals (25 fps each):\n");
    std::printf("  every module alone, one 1920x1080 pane: slowest %.1f fps (%.1f per CPU second), %s\n",
                hdSlowest.fps, hdSlowest.cpuFps, Verdict(hdSlowest.fps));
    std::printf("  all eight, one 704x576 pane: %.1f fps (%.1f per CPU second), %s\n", d1All.fps,
                d1All.cpuFps, Verdict(d1All.fps));
    std::printf("  adjustment + denoise + sharpen, four 704x576 panes: slowest %.1f fps, %s\n",
                slowestPane, Verdict(slowestPane));
    std::printf("load average at end %s\n", Load().c_str());
    return 0;
}
