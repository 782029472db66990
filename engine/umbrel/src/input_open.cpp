#include "input_open.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ffmpeg_handles/recording_input.h"
#include "umbrel.h"

namespace umbrel {

namespace {

// Half a second of the stream tells the codecs of a recording.
constexpr int64_t kAnalyzeMicroseconds = 500000;

}  // namespace

int OpenInput(const std::string& path, ffhandles::FormatPtr* format) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
        ::access(path.c_str(), R_OK) != 0) {
        return UMBREL_ERR_OPEN_FILE;
    }
    if (info.st_size == 0) return UMBREL_ERR_FILE_FORMAT;

    ffhandles::RecordingInputOptions options;
    options.analyzeMicroseconds = kAnalyzeMicroseconds;
    const int opened = ffhandles::OpenRecordingInput(path, options, format);
    if (opened < 0) {
        return opened == AVERROR(ENOENT) || opened == AVERROR(EACCES) ? UMBREL_ERR_OPEN_FILE
                                                                      : UMBREL_ERR_FILE_FORMAT;
    }
    AVFormatContext* raw = format->get();
    if (avformat_find_stream_info(raw, nullptr) < 0) return UMBREL_ERR_FILE_FORMAT;
    return UMBREL_OK;
}

}  // namespace umbrel
