#pragma once

#include <array>
#include <cstdint>

#include "samplegen/samplegen.h"

namespace samplegen {

// The 40-byte media-information head in front of a recorder file's program
// stream (little-endian): "IMXV", system format 2 (PS), video format 256
// (H.264), the audio description, and the packed start time at bytes 24..27.
class RecorderHead {
public:
    static constexpr size_t kBytes = 40;
    static constexpr uint16_t kSystemFormatPs = 2;
    static constexpr uint16_t kVideoFormatH264 = 256;
    static constexpr uint16_t kAudioFormatMpeg = 8192;

    static std::array<uint8_t, kBytes> Build(const SampleParams& params);
};

}  // namespace samplegen
