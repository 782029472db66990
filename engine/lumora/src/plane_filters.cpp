#include "plane_filters.h"

#include <algorithm>
#include <cmath>

namespace lumora {

void DownsampleBox(const uint8_t* src, int stride, int factor, FloatPlane* out) {
    const float scale = 1.0f / (factor * factor);
    for (int y = 0; y < out->height; ++y) {
        float* row = out->Row(y);
        std::fill(row, row + out->width, 0.0f);
        for (int dy = 0; dy < factor; ++dy) {
            const uint8_t* in = src + static_cast<ptrdiff_t>(y * factor + dy) * stride;
            for (int x = 0; x < out->width; ++x) {
                int sum = 0;
                for (int dx = 0; dx < factor; ++dx) sum += in[x * factor + dx];
                row[x] += static_cast<float>(sum);
            }
        }
        for (int x = 0; x < out->width; ++x) row[x] *= scale;
    }
}

void BoxFilter::Mean(FloatPlane* plane, int radius) {
    if (radius <= 0) return;
    const int w = plane->width, h = plane->height;
    const float norm = 1.0f / (2 * radius + 1);
    m_scratch.resize(plane->data.size());
    m_column.resize(static_cast<size_t>(w));
    // Rows: running sum with the edge value repeated.
    for (int y = 0; y < h; ++y) {
        const float* in = plane->Row(y);
        float* out = m_scratch.data() + static_cast<size_t>(y) * w;
        float sum = 0;
        for (int k = -radius; k <= radius; ++k) sum += in[std::clamp(k, 0, w - 1)];
        for (int x = 0; x < w; ++x) {
            out[x] = sum * norm;
            sum += in[std::min(x + radius + 1, w - 1)] - in[std::max(x - radius, 0)];
        }
    }
    // Columns: one running sum per column, updated a whole row at a time.
    float* acc = m_column.data();
    std::fill(acc, acc + w, 0.0f);
    auto row = [&](int y) {
        return m_scratch.data() + static_cast<size_t>(std::clamp(y, 0, h - 1)) * w;
    };
    for (int k = -radius; k <= radius; ++k) {
        const float* r = row(k);
        for (int x = 0; x < w; ++x) acc[x] += r[x];
    }
    for (int y = 0; y < h; ++y) {
        float* out = plane->Row(y);
        const float* add = row(y + radius + 1);
        const float* sub = row(y - radius);
        for (int x = 0; x < w; ++x) {
            out[x] = acc[x] * norm;
            acc[x] += add[x] - sub[x];
        }
    }
}

void BoxFilter::Gaussian(FloatPlane* plane, float sigma) {
    // Three boxes of width w give a variance of 3 (w^2 - 1) / 12.
    const float width = std::sqrt(4.0f * sigma * sigma + 1.0f);
    const int radius = std::max(0, static_cast<int>(std::lround((width - 1.0f) / 2.0f)));
    const int limit = std::max(plane->width, plane->height);
    const int r = std::min(radius, limit);
    for (int pass = 0; pass < 3; ++pass) Mean(plane, r);
}

void BoxFilter::Minimum(FloatPlane* plane, int radius) {
    if (radius <= 0) return;
    const int w = plane->width, h = plane->height;
    m_scratch.resize(plane->data.size());
    for (int y = 0; y < h; ++y) {
        const float* in = plane->Row(y);
        float* out = m_scratch.data() + static_cast<size_t>(y) * w;
        for (int x = 0; x < w; ++x) {
            const int lo = std::max(0, x - radius), hi = std::min(w - 1, x + radius);
            float m = in[lo];
            for (int k = lo + 1; k <= hi; ++k) m = std::min(m, in[k]);
            out[x] = m;
        }
    }
    for (int y = 0; y < h; ++y) {
        float* out = plane->Row(y);
        const int lo = std::max(0, y - radius), hi = std::min(h - 1, y + radius);
        const float* first = m_scratch.data() + static_cast<size_t>(lo) * w;
        std::copy(first, first + w, out);
        for (int k = lo + 1; k <= hi; ++k) {
            const float* r = m_scratch.data() + static_cast<size_t>(k) * w;
            for (int x = 0; x < w; ++x) out[x] = std::min(out[x], r[x]);
        }
    }
}

void RowUpsampler::Prepare(int smallWidth, int smallHeight, int width, int height) {
    auto taps = [](int from, int to, std::vector<Tap>* out) {
        out->resize(static_cast<size_t>(to));
        const float ratio = static_cast<float>(from) / to;
        for (int i = 0; i < to; ++i) {
            const float pos = std::clamp((i + 0.5f) * ratio - 0.5f, 0.0f, from - 1.0f);
            const int i0 = static_cast<int>(pos);
            (*out)[i] = Tap{i0, std::min(i0 + 1, from - 1), pos - i0};
        }
    };
    taps(smallWidth, width, &m_x);
    taps(smallHeight, height, &m_y);
    m_blend.resize(static_cast<size_t>(smallWidth));
    m_width = width;
}

void RowUpsampler::Row(const FloatPlane& plane, int y, float* out) {
    const Tap ty = m_y[y];
    const float* a = plane.Row(ty.i0);
    const float* b = plane.Row(ty.i1);
    float* blend = m_blend.data();
    for (int i = 0; i < plane.width; ++i) blend[i] = a[i] + (b[i] - a[i]) * ty.w1;
    for (int x = 0; x < m_width; ++x) {
        const Tap t = m_x[x];
        out[x] = blend[t.i0] + (blend[t.i1] - blend[t.i0]) * t.w1;
    }
}

}  // namespace lumora
