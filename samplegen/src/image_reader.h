#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace samplegen {

// A BMP or JPEG image from memory, decoded with libavcodec into 32-bit
// B,G,R,X pixels.
class ImageReader {
public:
    // False when the bytes are not a BMP ("BM") or JPEG (FF D8) image or do not decode.
    bool Decode(const uint8_t* data, size_t size);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    const uint8_t* Pixels() const { return m_pixels.data(); }
    int StrideBytes() const { return 4 * m_width; }

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<uint8_t> m_pixels;
};

}  // namespace samplegen
