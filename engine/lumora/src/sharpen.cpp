#include "sharpen.h"

#include <algorithm>
#include <cstdlib>

namespace lumora {

void Sharpen::BlurRows(const uint8_t* plane, int stride, int width, int height, int radius) {
    const int taps = 2 * radius + 1;
    const uint32_t norm = (256u << 16) / taps;  // 8.8 result from a 16.16 reciprocal
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = plane + static_cast<ptrdiff_t>(y) * stride;
        uint16_t* out = m_rows.data() + static_cast<size_t>(y) * width;
        uint32_t sum = 0;
        for (int k = -radius; k <= radius; ++k) sum += in[std::clamp(k, 0, width - 1)];
        for (int x = 0; x < width; ++x) {
            out[x] = static_cast<uint16_t>((static_cast<uint64_t>(sum) * norm) >> 16);
            sum += in[std::min(x + radius + 1, width - 1)];
            sum -= in[std::max(x - radius, 0)];
        }
    }
}

void Sharpen::BlurColumns(int width, int height, int radius) {
    const int taps = 2 * radius + 1;
    const uint64_t norm = (1ull << 32) / (static_cast<uint64_t>(taps) * 256);
    uint32_t* acc = m_column.data();
    std::fill(acc, acc + width, 0u);
    auto row = [&](int y) {
        return m_rows.data() + static_cast<size_t>(std::clamp(y, 0, height - 1)) * width;
    };
    for (int k = -radius; k <= radius; ++k) {
        const uint16_t* r = row(k);
        for (int x = 0; x < width; ++x) acc[x] += r[x];
    }
    for (int y = 0; y < height; ++y) {
        uint8_t* out = m_blur.data() + static_cast<size_t>(y) * width;
        const uint16_t* add = row(y + radius + 1);
        const uint16_t* sub = row(y - radius);
        for (int x = 0; x < width; ++x) {
            out[x] = static_cast<uint8_t>((acc[x] * norm + (1ull << 31)) >> 32);
            acc[x] += add[x];
            acc[x] -= sub[x];
        }
    }
}

void Sharpen::Apply(uint8_t* plane, int stride, int width, int height,
                    const SharpenValues& values) {
    if (values.amount256 == 0) return;
    const size_t size = static_cast<size_t>(width) * height;
    m_rows.resize(size);
    m_blur.resize(size);
    m_column.resize(static_cast<size_t>(width));
    const int radius = std::min(values.radius, std::max(width, height));
    BlurRows(plane, stride, width, height, radius);
    BlurColumns(width, height, radius);
    const int amount = values.amount256, threshold = values.threshold;
    for (int y = 0; y < height; ++y) {
        uint8_t* p = plane + static_cast<ptrdiff_t>(y) * stride;
        const uint8_t* b = m_blur.data() + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            const int d = p[x] - b[x];
            const int boost = std::abs(d) > threshold ? (d * amount + 128) >> 8 : 0;
            p[x] = static_cast<uint8_t>(std::clamp(p[x] + boost, 0, 255));
        }
    }
}

}  // namespace lumora
