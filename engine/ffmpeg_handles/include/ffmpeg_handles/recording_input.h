#pragma once

#include <cstdint>
#include <string>

#include "ffmpeg_handles/ffmpeg_handles.h"

namespace ffhandles {

// Length of the media-information head ("IMXV"...) that recorder files put
// before their MPEG program stream.
inline constexpr int kRecorderHeadLength = 40;

// True when `path` starts with a whole recorder head.
bool HasRecorderHead(const std::string& path);

struct RecordingInputOptions {
    // How much of the stream the demuxer may read to learn its codecs; 0 keeps
    // FFmpeg's default (five seconds).
    int64_t analyzeMicroseconds = 0;
    // Installed before the first read, so even the probe can be interrupted.
    AVIOInterruptCB interrupt{nullptr, nullptr};
};

// Opens `path` for demuxing without reading stream information. A recorder
// file is opened past its head as the program stream it carries: FFmpeg's probe
// cannot recognise the head. Returns 0 or FFmpeg's negative error code.
int OpenRecordingInput(const std::string& path, const RecordingInputOptions& options,
                       FormatPtr* format);

}  // namespace ffhandles
