// Measures the engine's handling of big recordings against FFmpeg's tools in
// the same run.
//
//   index-bench make-big SOURCE TARGET MEGABYTES   repeat SOURCE into a big recording
//   index-bench index FILE            frame index against `ffprobe -show_entries packet=pts,flags`
//                                     (when installed) and libavformat reading every packet
//   index-bench sixteen-seek FILE N   sixteen ports each show frame N: peak resident memory
//   index-bench close FILE            close while indexing, 20 times: worst and median

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "bench_port.h"
#include "bench_util.h"
#include "big_media.h"
#include "vidmux.h"

extern "C" {
#include <libavformat/avformat.h>
}

using namespace bench;
using namespace std::chrono_literals;

namespace {

// Seconds from opening the file to the file-index callback.
double EngineIndexSeconds(const std::string& path, uint32_t* frames) {
    const int before = g_indexed.load();
    const auto start = Clock::now();
    const int32_t port = OpenPort(path);
    if (port < 0) return -1;
    while (g_indexed.load() == before) std::this_thread::sleep_for(1ms);
    const double seconds = SecondsSince(start);
    *frames = Vemor_GetFileTotalFrames(port);
    Vemor_FreePort(port);
    return seconds;
}

double FfprobeSeconds(const std::string& path, long* packets) {
    const std::string list = "/tmp/index-bench-packets.csv";
    const std::string command =
        "ffprobe -v error -select_streams v:0 -show_entries "
        "packet=pts,flags -of csv '" +
        path + "' > " + list;
    const auto start = Clock::now();
    if (std::system(command.c_str()) != 0) return -1;
    const double seconds = SecondsSince(start);
    *packets = 0;
    if (FILE* file = std::fopen(list.c_str(), "r")) {
        for (int c; (c = std::fgetc(file)) != EOF;) *packets += c == '\n';
        std::fclose(file);
    }
    std::remove(list.c_str());
    return seconds;
}

// What ffprobe does for its packet list, in this process: open, probe the
// streams, read every packet.
double DemuxSeconds(const std::string& path, long* packets) {
    const auto start = Clock::now();
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0) return -1;
    const int video = avformat_find_stream_info(format, nullptr) >= 0
                          ? av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0)
                          : -1;
    AVPacket* packet = av_packet_alloc();
    *packets = 0;
    while (video >= 0 && packet && av_read_frame(format, packet) >= 0) {
        *packets += packet->stream_index == video;
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    avformat_close_input(&format);
    return video >= 0 ? SecondsSince(start) : -1;
}

int Index(const std::string& path) {
    uint32_t frames = 0;
    long packets = 0;
    EngineIndexSeconds(path, &frames);  // all then read from the page cache
    const bool haveFfprobe = std::system("command -v ffprobe >/dev/null") == 0;
    const double probe = haveFfprobe ? FfprobeSeconds(path, &packets) : 0;
    const double demux = DemuxSeconds(path, &packets);
    const double engine = EngineIndexSeconds(path, &frames);
    if (probe < 0 || demux < 0 || engine < 0) return 1;
    std::printf("index %s: engine %.3f s (%u pictures)", path.c_str(), engine, frames);
    if (haveFfprobe) std::printf(", ffprobe %.3f s, ratio %.2f", probe, engine / probe);
    std::printf(", libavformat reading every packet %.3f s (%ld video packets), ratio %.2f\n",
                demux, packets, engine / demux);
    return 0;
}

int SixteenSeek(const std::string& path, uint32_t frame) {
    std::vector<int32_t> ports;
    for (int i = 0; i < 16; ++i) ports.push_back(OpenPort(path));
    while (g_indexed.load() < 16) std::this_thread::sleep_for(1ms);
    const double before = PeakMemoryMiB();
    const auto start = Clock::now();
    for (int32_t port : ports) {
        if (!Vemor_SetCurrentFrameNum(port, frame)) {
            std::fprintf(stderr, "seek failed: %u\n", Vemor_GetLastError(port));
        }
    }
    std::printf(
        "sixteen ports at frame %u of %s: peak resident %.0f MiB (%.0f MiB before the "
        "seeks), %.1f s\n",
        frame, path.c_str(), PeakMemoryMiB(), before, SecondsSince(start));
    for (int32_t port : ports) Vemor_FreePort(port);
    return 0;
}

int Close(const std::string& path) {
    std::vector<double> ms;
    for (int round = 0; round < 20; ++round) {
        const int32_t port = OpenPort(path);
        if (port < 0) return 1;
        std::this_thread::sleep_for(300ms);
        const auto start = Clock::now();
        Vemor_CloseFile(port);
        ms.push_back(SecondsSince(start) * 1000.0);
        Vemor_FreePort(port);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("close while indexing %s: worst %.1f ms, median %.1f ms of 20\n", path.c_str(),
                ms.back(), ms[ms.size() / 2]);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 5 && std::string(argv[1]) == "make-big") {
        return WriteBigRecording(argv[2], argv[3], std::atoll(argv[4]) << 20) ? 0 : 1;
    }
    if (argc < 3) {
        std::fprintf(stderr, "usage: index-bench index|sixteen-seek|close FILE [FRAME]\n");
        return 2;
    }
    const std::string mode = argv[1], path = argv[2];
    if (mode == "index") return Index(path);
    if (mode == "sixteen-seek" && argc >= 4) return SixteenSeek(path, std::atoi(argv[3]));
    if (mode == "close") return Close(path);
    std::fprintf(stderr, "unknown mode %s\n", mode.c_str());
    return 2;
}
