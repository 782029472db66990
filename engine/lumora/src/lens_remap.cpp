#include "lens_remap.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace lumora {

void LensRemap::Build(int width, int height, const LensValues& values) {
    m_table.resize(static_cast<size_t>(width) * height);
    const double cx = (width - 1) / 2.0, cy = (height - 1) / 2.0;
    const double radius = std::max(std::hypot(cx, cy), 1.0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double nx = (x - cx) / radius, ny = (y - cy) / radius;
            const double f = (1.0 + values.k * (nx * nx + ny * ny)) / values.zoom;
            const double sx = cx + nx * radius * f, sy = cy + ny * radius * f;
            Entry& e = m_table[static_cast<size_t>(y) * width + x];
            if (sx < -0.5 || sy < -0.5 || sx > width - 0.5 || sy > height - 0.5) {
                e = Entry{-1, 0, 0, 0, 0};
                continue;
            }
            const double px = std::clamp(sx, 0.0, width - 1.0);
            const double py = std::clamp(sy, 0.0, height - 1.0);
            const int x0 = static_cast<int>(px), y0 = static_cast<int>(py);
            e.offset = y0 * width + x0;
            e.wx = static_cast<uint8_t>(std::lround((px - x0) * 255));
            e.wy = static_cast<uint8_t>(std::lround((py - y0) * 255));
            e.dx = x0 + 1 < width ? 1 : 0;
            e.dy = y0 + 1 < height ? 1 : 0;
        }
    }
    m_width = width;
    m_height = height;
    m_values = values;
}

void LensRemap::Apply(uint8_t* plane, int stride, int width, int height, const LensValues& values,
                      uint8_t fill) {
    if (width != m_width || height != m_height || !(values == m_values) || m_table.empty()) {
        Build(width, height, values);
    }
    m_copy.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        std::memcpy(m_copy.data() + static_cast<size_t>(y) * width,
                    plane + static_cast<ptrdiff_t>(y) * stride, static_cast<size_t>(width));
    }
    const uint8_t* src = m_copy.data();
    for (int y = 0; y < height; ++y) {
        uint8_t* out = plane + static_cast<ptrdiff_t>(y) * stride;
        const Entry* e = m_table.data() + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            if (e[x].offset < 0) {
                out[x] = fill;
                continue;
            }
            const uint8_t* s = src + e[x].offset;
            const int right = e[x].dx, below = e[x].dy * width;
            const int top = s[0] * (255 - e[x].wx) + s[right] * e[x].wx;
            const int bottom = s[below] * (255 - e[x].wx) + s[below + right] * e[x].wx;
            out[x] =
                static_cast<uint8_t>((top * (255 - e[x].wy) + bottom * e[x].wy + 32512) / 65025);
        }
    }
}

}  // namespace lumora
