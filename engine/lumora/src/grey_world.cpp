#include "grey_world.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace lumora {

namespace {

using Matrix = double[3][3];

constexpr int kShift = 14;
constexpr double kOne = 1 << kShift;
// Gains further from 1 than this are not trusted: a nearly empty channel
// (a dark or saturated picture) would otherwise be blown up.
constexpr double kMaxGain = 4.0;

// RGB from (Y - black, U - 128, V - 128), BT.601.
void RgbFromYuv(bool fullRange, Matrix t) {
    const double a = fullRange ? 1.0 : 255.0 / 219.0;
    const double c = fullRange ? 1.0 : 255.0 / 224.0;
    const double rv = 1.402 * c, gu = -0.344136 * c, gv = -0.714136 * c, bu = 1.772 * c;
    const Matrix m = {{a, 0, rv}, {a, gu, gv}, {a, bu, 0}};
    std::copy(&m[0][0], &m[0][0] + 9, &t[0][0]);
}

bool Invert(const Matrix m, Matrix out) {
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    if (std::fabs(det) < 1e-12) return false;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            const int r1 = (c + 1) % 3, r2 = (c + 2) % 3, c1 = (r + 1) % 3, c2 = (r + 2) % 3;
            out[r][c] = (m[r1][c1] * m[r2][c2] - m[r1][c2] * m[r2][c1]) / det;
        }
    }
    return true;
}

double PlaneMean(const uint8_t* plane, int stride, int width, int height) {
    uint64_t sum = 0;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = plane + static_cast<std::ptrdiff_t>(y) * stride;
        uint32_t rowSum = 0;
        for (int x = 0; x < width; ++x) rowSum += row[x];
        sum += rowSum;
    }
    return static_cast<double>(sum) / (static_cast<double>(width) * height);
}

inline uint8_t Clip(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); }

}  // namespace

void GreyWorld(LumoraImage* image) {
    const int w = image->nWidth, h = image->nHeight;
    const int cw = (w + 1) / 2, ch = (h + 1) / 2;
    const bool full = image->bFullRange != 0;
    const int black = full ? 0 : 16;

    Matrix t, inverse;
    RgbFromYuv(full, t);
    if (!Invert(t, inverse)) return;
    const double yuv[3] = {PlaneMean(image->pPlane[0], image->nStride[0], w, h) - black,
                           PlaneMean(image->pPlane[1], image->nStride[1], cw, ch) - 128,
                           PlaneMean(image->pPlane[2], image->nStride[2], cw, ch) - 128};
    double rgb[3];
    for (int r = 0; r < 3; ++r) rgb[r] = t[r][0] * yuv[0] + t[r][1] * yuv[1] + t[r][2] * yuv[2];
    const double grey = (rgb[0] + rgb[1] + rgb[2]) / 3;
    if (grey < 1) return;  // black picture: nothing to balance
    double gain[3];
    for (int c = 0; c < 3; ++c) {
        gain[c] = std::clamp(grey / std::max(rgb[c], 1.0), 1 / kMaxGain, kMaxGain);
    }
    // The whole correction on (Y, U, V): inverse * diag(gain) * t, in fixed point.
    int m[3][3];
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            double sum = 0;
            for (int k = 0; k < 3; ++k) sum += inverse[r][k] * gain[k] * t[k][c];
            m[r][c] = static_cast<int>(std::lround(sum * kOne));
        }
    }
    constexpr int kRound = 1 << (kShift - 1);

    // Each 2x2 block of luma with its chroma sample, from the original values.
    for (int cy = 0; cy < ch; ++cy) {
        uint8_t* rowU = image->pPlane[1] + static_cast<std::ptrdiff_t>(cy) * image->nStride[1];
        uint8_t* rowV = image->pPlane[2] + static_cast<std::ptrdiff_t>(cy) * image->nStride[2];
        uint8_t* rowY0 = image->pPlane[0] + static_cast<std::ptrdiff_t>(2 * cy) * image->nStride[0];
        uint8_t* rowY1 = 2 * cy + 1 < h ? rowY0 + image->nStride[0] : rowY0;
        for (int cx = 0; cx < cw; ++cx) {
            const int x0 = 2 * cx, x1 = std::min(2 * cx + 1, w - 1);
            const int u = rowU[cx] - 128, v = rowV[cx] - 128;
            const int y00 = rowY0[x0] - black, y01 = rowY0[x1] - black;
            const int y10 = rowY1[x0] - black, y11 = rowY1[x1] - black;
            const int ySum4 = y00 + y01 + y10 + y11;  // mean luma of the block times 4
            rowU[cx] = Clip(((m[1][0] * ySum4 / 4 + m[1][1] * u + m[1][2] * v + kRound) >> kShift) +
                            128);
            rowV[cx] = Clip(((m[2][0] * ySum4 / 4 + m[2][1] * u + m[2][2] * v + kRound) >> kShift) +
                            128);
            const int chroma = m[0][1] * u + m[0][2] * v + kRound;
            // On an odd edge x1 or the second row is the same pixel: written twice alike.
            rowY0[x0] = Clip(((m[0][0] * y00 + chroma) >> kShift) + black);
            rowY0[x1] = Clip(((m[0][0] * y01 + chroma) >> kShift) + black);
            rowY1[x0] = Clip(((m[0][0] * y10 + chroma) >> kShift) + black);
            rowY1[x1] = Clip(((m[0][0] * y11 + chroma) >> kShift) + black);
        }
    }
}

}  // namespace lumora
