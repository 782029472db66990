#include "input_open.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "umbrel.h"

namespace umbrel {

namespace {

constexpr int kRecorderHeadBytes = 40;
// Half a second of the stream tells the codecs of a recording.
constexpr int64_t kAnalyzeMicroseconds = 500000;

bool HasRecorderHead(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    char magic[4] = {};
    const bool read = ::read(fd, magic, sizeof magic) == static_cast<ssize_t>(sizeof magic);
    ::close(fd);
    return read && std::memcmp(magic, "IMXV", sizeof magic) == 0;
}

}  // namespace

int OpenInput(const std::string& path, ffhandles::FormatPtr* format) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
        ::access(path.c_str(), R_OK) != 0) {
        return UMBREL_ERR_OPEN_FILE;
    }
    if (info.st_size == 0) return UMBREL_ERR_FILE_FORMAT;

    AVDictionary* options = nullptr;
    av_dict_set_int(&options, "analyzeduration", kAnalyzeMicroseconds, 0);
    const AVInputFormat* forced = nullptr;
    if (HasRecorderHead(path)) {
        av_dict_set_int(&options, "skip_initial_bytes", kRecorderHeadBytes, 0);
        forced = av_find_input_format("mpeg");
    }
    AVFormatContext* raw = nullptr;
    const int opened = avformat_open_input(&raw, path.c_str(), forced, &options);
    av_dict_free(&options);
    if (opened < 0) {
        return opened == AVERROR(ENOENT) || opened == AVERROR(EACCES) ? UMBREL_ERR_OPEN_FILE
                                                                      : UMBREL_ERR_FILE_FORMAT;
    }
    format->reset(raw);
    if (avformat_find_stream_info(raw, nullptr) < 0) return UMBREL_ERR_FILE_FORMAT;
    return UMBREL_OK;
}

}  // namespace umbrel
