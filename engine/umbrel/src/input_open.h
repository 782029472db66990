#pragma once

#include <string>

#include "ffmpeg_handles/ffmpeg_handles.h"

namespace umbrel {

// Opens `path` for demuxing with its stream information read; recorder files
// (a 40-byte "IMXV" head before an MPEG program stream) are opened past their
// head. Returns UMBREL_OK or an UMBREL_ERR_* code.
int OpenInput(const std::string& path, ffhandles::FormatPtr* format);

}  // namespace umbrel
