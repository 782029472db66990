#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "ffmpeg_ptr.h"
#include "sample_table.h"

namespace vidmux {

// True for Matroska and WebM files.
bool IsMatroskaFormat(const AVFormatContext* format);

// Hands every picture of the video track of a Matroska/WebM file to
// `sample`, in file (decode) order, from a walk over the headers of its
// clusters and blocks that seeks over the pictures' data instead of reading
// it. Matroska stores presentation times only, so `dts` is kNoTimestamp.
// A picture torn off by the end of the file is left out and reported in
// *cutOff. False, having handed out nothing, when the file is no Matroska,
// is damaged, laces its video, cannot be walked for another reason, or its
// blocks do not agree with the first packets the demuxer of `format` reads.
bool ReadMatroskaBlocks(const std::string& path, AVFormatContext* format, int videoStream,
                        const std::function<void(const TableSample&)>& sample, bool* cutOff,
                        const std::atomic<bool>& abort);

}  // namespace vidmux
