#include "frame_number_code.h"

#include <algorithm>
#include <bit>
#include <cstddef>

#include "samplegen/samplegen.h"

namespace samplegen {

namespace {

constexpr int kMarkerColumns = 2;
constexpr int kCheckBits = 2;
static_assert(FrameNumberCode::kDataBits + kCheckBits ==
              FrameNumberCode::kRows * (FrameNumberCode::kColumns - kMarkerColumns));

// Marker and calibration cells: white at (0,0) and (1,1), black at (0,1) and (1,0).
constexpr int kWhiteMarkers[] = {0, FrameNumberCode::kColumns + 1};
constexpr int kBlackMarkers[] = {1, FrameNumberCode::kColumns};

// Black and white must differ by this much (of 255) before a band counts as found.
constexpr int kMinContrast = 64;

int CheckValue(int number) { return std::popcount(static_cast<unsigned>(number)) & 3; }

// Cell index of payload bit i (data bits first, then the check bits).
int PayloadCell(int i) {
    const int perRow = FrameNumberCode::kColumns - kMarkerColumns;
    return (i / perRow) * FrameNumberCode::kColumns + kMarkerColumns + i % perRow;
}

// Mean luma (0..255) over the middle half of a cell, away from edges that
// scaling and compression smear.
int CellLuma(const uint8_t* pixels, int strideBytes, const FrameNumberCode::Rect& r) {
    const int insetX = (r.right - r.left) / 4;
    const int insetY = (r.bottom - r.top) / 4;
    const int left = r.left + insetX, right = std::max(left + 1, r.right - insetX);
    const int top = r.top + insetY, bottom = std::max(top + 1, r.bottom - insetY);
    int64_t sum = 0;
    for (int y = top; y < bottom; ++y) {
        const uint8_t* row = pixels + static_cast<ptrdiff_t>(y) * strideBytes;
        for (int x = left; x < right; ++x) {
            const uint8_t* p = row + 4 * x;  // B, G, R, X
            sum += 29 * p[0] + 150 * p[1] + 77 * p[2];
        }
    }
    return static_cast<int>(sum / (256 * int64_t{right - left} * (bottom - top)));
}

}  // namespace

std::array<bool, FrameNumberCode::kCells> FrameNumberCode::Cells(int number) {
    std::array<bool, kCells> cells{};
    for (int cell : kWhiteMarkers) cells[cell] = true;
    const int payload = (number << kCheckBits) | CheckValue(number);
    const int payloadBits = kDataBits + kCheckBits;
    for (int i = 0; i < payloadBits; ++i) {
        cells[PayloadCell(i)] = (payload >> (payloadBits - 1 - i)) & 1;
    }
    return cells;
}

FrameNumberCode::Rect FrameNumberCode::CellRect(int cell, int width, int height) {
    const int row = cell / kColumns, column = cell % kColumns;
    return Rect{column * width / kColumns, row * height / kRowHeightDivisor,
                (column + 1) * width / kColumns, (row + 1) * height / kRowHeightDivisor};
}

int FrameNumberCode::Read(const uint8_t* pixels, int width, int height, int strideBytes) {
    if (!pixels || width < kMinReadWidth || height < kMinReadHeight || strideBytes < 4 * width) {
        return -1;
    }
    std::array<int, kCells> luma{};
    for (int cell = 0; cell < kCells; ++cell) {
        luma[cell] = CellLuma(pixels, strideBytes, CellRect(cell, width, height));
    }
    const int white = std::min(luma[kWhiteMarkers[0]], luma[kWhiteMarkers[1]]);
    const int black = std::max(luma[kBlackMarkers[0]], luma[kBlackMarkers[1]]);
    if (white - black < kMinContrast) return -1;
    const int threshold = (white + black) / 2;

    const int payloadBits = kDataBits + kCheckBits;
    int payload = 0;
    for (int i = 0; i < payloadBits; ++i) {
        payload = (payload << 1) | (luma[PayloadCell(i)] > threshold ? 1 : 0);
    }
    const int number = payload >> kCheckBits;
    if ((payload & ((1 << kCheckBits) - 1)) != CheckValue(number)) return -1;
    return number;
}

int ReadFrameNumber(const uint8_t* pixels, int width, int height, int strideBytes) {
    return FrameNumberCode::Read(pixels, width, height, strideBytes);
}

}  // namespace samplegen
