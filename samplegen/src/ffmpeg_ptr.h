#pragma once

#include <string>

#include "ffmpeg_handles/ffmpeg_handles.h"

namespace samplegen {

using namespace ffhandles;

// "what: FFmpeg's description of code", for error texts.
inline std::string AvErrorText(const char* what, int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return std::string(what) + ": " + text;
}

}  // namespace samplegen
