#include "demuxer_open.h"

#include <sys/stat.h>

#include <cstring>

#include "vidmux.h"

namespace vidmux {

namespace {

constexpr int64_t kAnalyzeMicroseconds = 500000;

int InterruptRequested(void* opaque) {
    return static_cast<const std::atomic<bool>*>(opaque)->load(std::memory_order_relaxed) ? 1 : 0;
}

}  // namespace

std::optional<OpenedInput> OpenDemuxer(const std::string& path, bool findStreamInfo, int* error,
                                       const std::atomic<bool>* abort) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        *error = VIDMUX_ERR_OPEN_FILE;
        return std::nullopt;
    }
    if (info.st_size == 0) {
        *error = VIDMUX_ERR_FILE_FORMAT;
        return std::nullopt;
    }

    OpenedInput input;
    input.head = ReadRecorderHead(path);

    AVDictionary* options = nullptr;
    // Half a second of the stream tells the codecs of a recording; the
    // default five seconds only make opening slower.
    av_dict_set_int(&options, "analyzeduration", kAnalyzeMicroseconds, 0);
    const AVInputFormat* forced = nullptr;
    if (input.head) {
        av_dict_set_int(&options, "skip_initial_bytes", kRecorderHeadBytes, 0);
        forced = av_find_input_format("mpeg");
    }
    AVFormatContext* raw = avformat_alloc_context();
    if (!raw) {
        av_dict_free(&options);
        *error = VIDMUX_ERR_OUT_OF_MEMORY;
        return std::nullopt;
    }
    if (abort) {
        raw->interrupt_callback.callback = &InterruptRequested;
        raw->interrupt_callback.opaque = const_cast<std::atomic<bool>*>(abort);
    }
    const int opened = avformat_open_input(&raw, path.c_str(), forced, &options);
    av_dict_free(&options);
    if (opened < 0) {
        *error = opened == AVERROR(ENOENT) || opened == AVERROR(EACCES) ? VIDMUX_ERR_OPEN_FILE
                                                                        : VIDMUX_ERR_FILE_FORMAT;
        return std::nullopt;
    }
    input.format.reset(raw);

    if (findStreamInfo && avformat_find_stream_info(raw, nullptr) < 0) {
        *error = VIDMUX_ERR_FILE_FORMAT;
        return std::nullopt;
    }
    input.videoStream = av_find_best_stream(raw, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (input.videoStream < 0) {
        *error = VIDMUX_ERR_FILE_FORMAT;
        return std::nullopt;
    }
    const int audio =
        av_find_best_stream(raw, AVMEDIA_TYPE_AUDIO, -1, input.videoStream, nullptr, 0);
    input.audioStream = audio >= 0 ? audio : -1;
    return input;
}

bool PrefersByteSeek(const AVFormatContext* format) {
    const char* name = format->iformat->name;
    return std::strcmp(name, "mpeg") == 0 || std::strcmp(name, "mpegts") == 0 ||
           std::strcmp(name, "h264") == 0 || std::strcmp(name, "hevc") == 0 ||
           std::strcmp(name, "mpegvideo") == 0;
}

bool IsElementaryStream(const AVFormatContext* format) {
    const char* name = format->iformat->name;
    return std::strcmp(name, "h264") == 0 || std::strcmp(name, "hevc") == 0 ||
           std::strcmp(name, "mpegvideo") == 0 || std::strcmp(name, "m4v") == 0;
}

bool IsProgramStream(const AVFormatContext* format) {
    return std::strcmp(format->iformat->name, "mpeg") == 0;
}

}  // namespace vidmux
