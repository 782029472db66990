#include "retinex.h"

#include <algorithm>
#include <cmath>

namespace lumora {

namespace {

constexpr int kWorkSide = 256;    // longer side of the shrunk copy
constexpr float kSpread = 48.0f;  // output levels per standard deviation
constexpr float kScaleRatios[3] = {1.0f, 1.0f / 3.0f, 1.0f / 9.0f};

}  // namespace

Retinex::Retinex() {
    for (int v = 0; v < 256; ++v) m_log[v] = std::log1p(static_cast<float>(v));
    for (int s = 0; s < 766; ++s) m_logMean[s] = std::log1p(s / 3.0f);
}

void Retinex::Apply(const RgbView& picture, const RetinexValues& values) {
    const int w = picture.width, h = picture.height;
    const int factor = ShrinkFactor(w, h, kWorkSide);
    const int sw = std::max(1, w / factor), sh = std::max(1, h / factor);
    const float sigma = values.surround * std::max(w, h) / factor;

    for (int c = 0; c < 3; ++c) {
        m_small[c].Resize(sw, sh);
        DownsampleBox(picture.plane[c], picture.stride[c], factor, &m_small[c]);
        m_surround[c].Resize(sw, sh);
        std::fill(m_surround[c].data.begin(), m_surround[c].data.end(), 0.0f);
        for (float ratio : kScaleRatios) {
            m_blur = m_small[c];
            m_box.Gaussian(&m_blur, std::max(0.5f, sigma * ratio));
            for (size_t i = 0; i < m_blur.data.size(); ++i) {
                m_surround[c].data[i] += std::log1p(m_blur.data[i]) * (1.0f / 3.0f);
            }
        }
    }

    // Spread of the result, measured on the shrunk copy.
    const float colour = values.colour;
    double sum = 0, sumSq = 0;
    const size_t n = m_small[0].data.size();
    for (size_t i = 0; i < n; ++i) {
        const float mean =
            std::log1p((m_small[0].data[i] + m_small[1].data[i] + m_small[2].data[i]) / 3.0f);
        for (int c = 0; c < 3; ++c) {
            const float li = std::log1p(m_small[c].data[i]);
            const float restore = std::max(0.0f, 1.0f + colour * (li - mean));
            const float v = (li - m_surround[c].data[i]) * restore;
            sum += v;
            sumSq += static_cast<double>(v) * v;
        }
    }
    const double count = 3.0 * n;
    const double mean = sum / count;
    const double deviation = std::sqrt(std::max(sumSq / count - mean * mean, 0.0));
    const float scale = kSpread * values.contrast / static_cast<float>(std::max(deviation, 0.02));
    const float bias = 127.5f + values.offset - scale * static_cast<float>(mean);

    m_up.Prepare(sw, sh, w, h);
    for (auto& row : m_rows) row.resize(static_cast<size_t>(w));
    for (int y = 0; y < h; ++y) {
        // The surround is smoother than a pixel by far (its smallest sigma is
        // several pixels): one interpolated row serves two picture rows.
        if (y % 2 == 0) {
            for (int c = 0; c < 3; ++c) m_up.Row(m_surround[c], y, m_rows[c].data());
        }
        uint8_t* p[3] = {picture.Row(0, y), picture.Row(1, y), picture.Row(2, y)};
        for (int x = 0; x < w; ++x) {
            const float lm = m_logMean[p[0][x] + p[1][x] + p[2][x]];
            for (int c = 0; c < 3; ++c) {
                const float li = m_log[p[c][x]];
                const float restore = std::max(0.0f, 1.0f + colour * (li - lm));
                const float v = (li - m_rows[c][x]) * restore * scale + bias;
                p[c][x] = static_cast<uint8_t>(std::clamp(v, 0.0f, 255.0f) + 0.5f);
            }
        }
    }
}

}  // namespace lumora
