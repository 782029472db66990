#pragma once

#include <cstdint>
#include <vector>

#include "samplegen/samplegen.h"

struct AVPacket;

namespace samplegen {

// The watermark as an H.264 SEI NAL unit ("user data unregistered", payload
// type 5: kWatermarkUuid then the 17-byte record, little-endian fields), and
// its insertion into key-frame packets of an Annex B stream.
class WatermarkSei {
public:
    explicit WatermarkSei(const Watermark& watermark);

    // The 17-byte record in file order.
    static std::vector<uint8_t> Record(const Watermark& watermark);

    // The NAL unit with a four-byte start code and emulation prevention.
    const std::vector<uint8_t>& Nal() const { return m_nal; }

    // Puts the NAL unit in front of the packet's first slice (after any SPS,
    // PPS or other SEI). False when the packet holds no slice or on
    // allocation failure; the packet is then unchanged.
    bool InsertInto(AVPacket* packet) const;

private:
    std::vector<uint8_t> m_nal;
};

}  // namespace samplegen
