#pragma once

#include <array>
#include <cstdint>

namespace samplegen {

// The machine-readable frame number: a band across the top quarter of the
// picture, two rows of twelve black or white cells. The first two cells of
// each row form a fixed checkerboard (white-black over black-white) that both
// finds the band and calibrates black and white; the other twenty cells carry
// an 18-bit number, most significant bit first, and a 2-bit check (count of
// set bits modulo 4). Cells are laid out in proportion to the picture, so any
// scaled rendering of the whole picture keeps them in place.
class FrameNumberCode {
public:
    static constexpr int kColumns = 12;
    static constexpr int kRows = 2;
    static constexpr int kCells = kColumns * kRows;
    static constexpr int kRowHeightDivisor = 8;  // each row is 1/8 of the picture height
    static constexpr int kDataBits = 18;
    static constexpr int kMaxNumber = (1 << kDataBits) - 1;
    // Below this size cells shrink under two pixels and reading is refused.
    static constexpr int kMinReadWidth = 2 * kColumns;
    static constexpr int kMinReadHeight = 2 * kRowHeightDivisor;

    struct Rect {
        int left, top, right, bottom;  // right and bottom exclusive
    };

    // White (true) or black for each cell, row by row; number in 0..kMaxNumber.
    static std::array<bool, kCells> Cells(int number);

    static Rect CellRect(int cell, int width, int height);

    // Height of the band the cells fill.
    static int BandHeight(int height) { return kRows * height / kRowHeightDivisor; }

    // Reads the number from 32-bit B,G,R,X pixels; -1 when there is none.
    static int Read(const uint8_t* pixels, int width, int height, int strideBytes);
};

}  // namespace samplegen
