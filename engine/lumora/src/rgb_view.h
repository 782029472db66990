#pragma once

#include <cstddef>
#include <cstdint>

namespace lumora {

// A planar 8-bit RGB picture the own modules work on in place.
struct RgbView {
    int width = 0, height = 0;
    uint8_t* plane[3] = {};  // red, green, blue
    int stride[3] = {};
    uint8_t* Row(int c, int y) const { return plane[c] + static_cast<ptrdiff_t>(y) * stride[c]; }
};

// Factor by which a picture is shrunk so its longer side is at most `side`.
inline int ShrinkFactor(int width, int height, int side) {
    const int longer = width > height ? width : height;
    return longer <= side ? 1 : (longer + side - 1) / side;
}

}  // namespace lumora
