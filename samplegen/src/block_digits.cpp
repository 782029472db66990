#include "block_digits.h"

#include <algorithm>
#include <string>

namespace samplegen {

namespace {

// One row per entry, three bits per row, most significant bit on the left.
constexpr uint8_t kGlyphs[10][BlockDigits::kGlyphHeight] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 2, 2, 2}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

void FillBlock(uint8_t* plane, int stride, int planeWidth, int planeHeight, int x, int y, int unit,
               uint8_t value) {
    const int left = std::max(x, 0), right = std::min(x + unit, planeWidth);
    const int top = std::max(y, 0), bottom = std::min(y + unit, planeHeight);
    for (int row = top; row < bottom; ++row) {
        std::fill(plane + row * stride + left, plane + row * stride + std::max(left, right), value);
    }
}

}  // namespace

int BlockDigits::TextWidth(int number, int unit) {
    const int digits = static_cast<int>(std::to_string(std::max(number, 0)).size());
    return (digits * (kGlyphWidth + 1) - 1) * unit;
}

void BlockDigits::Draw(uint8_t* plane, int stride, int planeWidth, int planeHeight, int number,
                       int x, int y, int unit, uint8_t value) {
    const std::string text = std::to_string(std::max(number, 0));
    for (char digit : text) {
        const uint8_t* glyph = kGlyphs[digit - '0'];
        for (int row = 0; row < kGlyphHeight; ++row) {
            for (int column = 0; column < kGlyphWidth; ++column) {
                if (glyph[row] & (4 >> column)) {
                    FillBlock(plane, stride, planeWidth, planeHeight, x + column * unit,
                              y + row * unit, unit, value);
                }
            }
        }
        x += (kGlyphWidth + 1) * unit;
    }
}

}  // namespace samplegen
