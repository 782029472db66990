#include "ffmpeg_handles/recording_input.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstring>

namespace ffhandles {

bool HasRecorderHead(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    char head[kRecorderHeadLength];
    const ssize_t got = ::read(fd, head, sizeof head);
    ::close(fd);
    return got == static_cast<ssize_t>(sizeof head) && std::memcmp(head, "IMXV", 4) == 0;
}

int OpenRecordingInput(const std::string& path, const RecordingInputOptions& options,
                       FormatPtr* format) {
    AVDictionary* dictionary = nullptr;
    if (options.analyzeMicroseconds > 0) {
        av_dict_set_int(&dictionary, "analyzeduration", options.analyzeMicroseconds, 0);
    }
    const AVInputFormat* forced = nullptr;
    if (HasRecorderHead(path)) {
        av_dict_set_int(&dictionary, "skip_initial_bytes", kRecorderHeadLength, 0);
        forced = av_find_input_format("mpeg");
    }
    AVFormatContext* raw = avformat_alloc_context();
    if (raw == nullptr) {
        av_dict_free(&dictionary);
        return AVERROR(ENOMEM);
    }
    raw->interrupt_callback = options.interrupt;
    // On failure FFmpeg frees the context and clears `raw`.
    const int opened = avformat_open_input(&raw, path.c_str(), forced, &dictionary);
    av_dict_free(&dictionary);
    if (opened < 0) return opened;
    format->reset(raw);
    return 0;
}

}  // namespace ffhandles
