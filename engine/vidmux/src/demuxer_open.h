#pragma once

#include <atomic>
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
// Every read of the file gives up (AVERROR_EXIT) as soon as `abort` turns
// true; the flag must outlive the returned input.
std::optional<OpenedInput> OpenDemuxer(const std::string& path, bool findStreamInfo, int* error,
                                       const std::atomic<bool>* abort);

// True for containers whose packet byte positions can be seeked to directly.
bool PrefersByteSeek(const AVFormatContext* format);

// True for streams without timestamps, whose pictures are counted.
bool IsElementaryStream(const AVFormatContext* format);

// True for MPEG program streams, whose key frames are cut at pack boundaries.
bool IsProgramStream(const AVFormatContext* format);

}  // namespace vidmux
