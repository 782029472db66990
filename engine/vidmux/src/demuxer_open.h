#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ffmpeg_ptr.h"
#include "recorder_head.h"

namespace vidmux {

// A file opened for demuxing, with the recorder head (if any) skipped.
struct OpenedInput {
    FormatPtr format;
    int videoStream = -1;
    int audioStream = -1;
    std::optional<RecorderHead> head;
};

// Opens `path` for demuxing. On failure returns nullopt and sets *error to a
// VIDMUX_ERR_* code. `findStreamInfo` is off for scans that only need packets.
std::optional<OpenedInput> OpenDemuxer(const std::string& path, bool findStreamInfo, int* error);

// True for containers whose packet byte positions can be seeked to directly.
bool PrefersByteSeek(const AVFormatContext* format);

// True for MPEG program streams, whose key frames are cut at pack boundaries.
bool IsProgramStream(const AVFormatContext* format);

}  // namespace vidmux
