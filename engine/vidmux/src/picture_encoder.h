#pragma once

#include <cstdint>
#include <vector>

#include "ffmpeg_ptr.h"

namespace vidmux {

// Snapshot images of a decoded picture at its full size.
// Both return an empty vector when the picture cannot be encoded.
std::vector<uint8_t> EncodeBmp(const AVFrame* frame);
std::vector<uint8_t> EncodeJpeg(const AVFrame* frame);

}  // namespace vidmux
