#include "demuxer_open.h"

#include <sys/stat.h>

#include <cstring>

#include "ffmpeg_handles/recording_input.h"
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

    RecordingInputOptions options;
    // Half a second of the stream tells the codecs of a recording; the
    // default five seconds only make opening slower.
    options.analyzeMicroseconds = kAnalyzeMicroseconds;
    if (abort) {
        options.interrupt.callback = &InterruptRequested;
        options.interrupt.opaque = const_cast<std::atomic<bool>*>(abort);
    }
    const int opened = OpenRecordingInput(path, options, &input.format);
    if (opened < 0) {
        *error = opened == AVERROR(ENOMEM)                                  ? VIDMUX_ERR_OUT_OF_MEMORY
                 : opened == AVERROR(ENOENT) || opened == AVERROR(EACCES) ? VIDMUX_ERR_OPEN_FILE
                                                                          : VIDMUX_ERR_FILE_FORMAT;
        return std::nullopt;
    }
    AVFormatContext* raw = input.format.get();

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
