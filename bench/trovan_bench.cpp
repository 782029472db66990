// Converts one recording to AVI with libtrovan and with the ffmpeg program doing
// the same conversion (704x576 fitted and padded, 25 pictures per second,
// MPEG-4 Part 2 at 1000 kbit/s, MP3 stereo at 64 kbit/s), in the same run, and
// prints the wall and CPU times of both and the speed ratio.
//
// Usage: trovan-bench SOURCE [FFMPEG]
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "bench_util.h"
#include "trovan.h"

extern char** environ;

namespace {

struct Run {
    bool ok = false;
    double wallSeconds = 0;
    double cpuSeconds = 0;
    uintmax_t bytes = 0;
};

double CpuOf(const rusage& usage) {
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
           usage.ru_stime.tv_usec / 1e6;
}

Run ConvertWithTrovan(const std::string& source, const std::string& target) {
    Run run;
    TrovanParams params{};
    params.nWidth = 704;
    params.nHeight = 576;
    params.nFrameRate = 25;
    params.nVideoBitRate = 1000000;
    params.nAudioBitRate = 64000;
    params.nAudioCodec = TROVAN_AUDIO_MP3;
    params.nAudioChannels = 2;
    int32_t handle = 0;
    const double cpuBefore = bench::CpuSeconds();
    const auto start = bench::Clock::now();
    if (TROVAN_Create(&handle) != TROVAN_OK) return run;
    int result = TROVAN_Initial(handle, source.c_str(), target.c_str());
    if (result == TROVAN_OK) result = TROVAN_SetPara(handle, &params);
    if (result == TROVAN_OK) result = TROVAN_Start(handle);
    int32_t percent = 0;
    while (result == TROVAN_OK && percent < 100) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        result = TROVAN_GetConvertPerc(handle, &percent);
    }
    run.wallSeconds = bench::SecondsSince(start);
    run.cpuSeconds = bench::CpuSeconds() - cpuBefore;
    TROVAN_Release(handle);
    run.ok = result == TROVAN_OK && percent == 100;
    if (run.ok) run.bytes = std::filesystem::file_size(target);
    return run;
}

Run ConvertWithFfmpeg(const std::string& ffmpeg, const std::string& source,
                      const std::string& target) {
    const std::vector<std::string> args = {
        ffmpeg,
        "-nostdin",
        "-loglevel",
        "error",
        "-y",
        "-i",
        source,
        "-vf",
        "scale=704:576:force_original_aspect_ratio=decrease:force_divisible_by=2,"
        "pad=704:576:(ow-iw)/2:(oh-ih)/2,fps=25",
        "-c:v",
        "mpeg4",
        "-b:v",
        "1000k",
        "-c:a",
        "libmp3lame",
        "-b:a",
        "64k",
        "-ac",
        "2",
        "-f",
        "avi",
        target};
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    Run run;
    const auto start = bench::Clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, ffmpeg.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return run;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) return run;
    run.wallSeconds = bench::SecondsSince(start);
    run.cpuSeconds = CpuOf(usage);
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (run.ok) run.bytes = std::filesystem::file_size(target);
    return run;
}

void Print(const char* name, const Run& run) {
    std::printf("%-8s %s wall %.2f s, cpu %.2f s, %.1f MB\n", name, run.ok ? "ok    " : "FAILED",
                run.wallSeconds, run.cpuSeconds, run.bytes / 1e6);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s SOURCE [FFMPEG]\n", argv[0]);
        return 2;
    }
    const std::string source = argv[1];
    const std::string ffmpeg = argc > 2 ? argv[2] : "ffmpeg";
    const std::string folder =
        std::filesystem::temp_directory_path() / ("trovan-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const Run ours = ConvertWithTrovan(source, folder + "/trovan.avi");
    const Run theirs = ConvertWithFfmpeg(ffmpeg, source, folder + "/ffmpeg.avi");
    std::filesystem::remove_all(folder);
    std::printf("convert %s to AVI\n", source.c_str());
    Print("libtrovan", ours);
    Print("ffmpeg", theirs);
    if (ours.ok && theirs.ok) {
        std::printf("speed ratio (ffmpeg wall / libtrovan wall): %.2f\n",
                    theirs.wallSeconds / ours.wallSeconds);
        // On a shared machine the CPU time is the steadier of the two figures.
        std::printf("cpu ratio (ffmpeg cpu / libtrovan cpu): %.2f\n",
                    theirs.cpuSeconds / ours.cpuSeconds);
    }
    return ours.ok && theirs.ok ? 0 : 1;
}
