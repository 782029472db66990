#pragma once

#include <cstdint>

namespace samplegen {

// Decimal numbers drawn as blocky 3x5 digits into an 8-bit plane, readable by
// a person watching a sample play.
class BlockDigits {
public:
    static constexpr int kGlyphWidth = 3;
    static constexpr int kGlyphHeight = 5;

    // Size in plane pixels of `number` drawn with blocks of `unit` pixels,
    // one block of space between digits.
    static int TextWidth(int number, int unit);
    static int TextHeight(int unit) { return kGlyphHeight * unit; }

    // Draws with `value` at (x, y); blocks outside the plane are clipped.
    static void Draw(uint8_t* plane, int stride, int planeWidth, int planeHeight, int number, int x,
                     int y, int unit, uint8_t value);
};

}  // namespace samplegen
