#include "dehaze.h"

#include <algorithm>
#include <cmath>

namespace lumora {

namespace {

constexpr int kWorkSide = 320;        // longer side of the shrunk copy
constexpr float kGuideEps = 1e-3f;    // guided filter regularisation (guide on 0..1)
constexpr float kLightFollow = 0.2f;  // share of a new picture's light in the kept one
constexpr float kLightFloor = 16.0f;  // a black picture has no haze light to divide by

}  // namespace

void Dehaze::EstimateLight() {
    // The haze light is the colour of the haziest (brightest dark channel)
    // thousandth of the picture.
    int histogram[256] = {};
    const size_t count = m_dark.data.size();
    for (float v : m_dark.data) ++histogram[std::clamp(static_cast<int>(v), 0, 255)];
    const size_t wanted = std::max<size_t>(1, count / 1000);
    size_t seen = 0;
    int threshold = 255;
    for (; threshold > 0; --threshold) {
        seen += histogram[threshold];
        if (seen >= wanted) break;
    }
    double sum[3] = {};
    size_t n = 0;
    for (size_t i = 0; i < count; ++i) {
        if (m_dark.data[i] < threshold) continue;
        for (int c = 0; c < 3; ++c) sum[c] += m_small[c].data[i];
        ++n;
    }
    for (int c = 0; c < 3; ++c) {
        const float light =
            std::max(kLightFloor, static_cast<float>(sum[c] / std::max<size_t>(n, 1)));
        m_light[c] = m_hasLight ? m_light[c] + (light - m_light[c]) * kLightFollow : light;
    }
    m_hasLight = true;
}

void Dehaze::Refine(float strength) {
    const int sw = m_dark.width, sh = m_dark.height;
    // Transmission before refinement: 1 - strength * dark channel of I / A.
    const float inv[3] = {1.0f / m_light[0], 1.0f / m_light[1], 1.0f / m_light[2]};
    for (size_t i = 0; i < m_dark.data.size(); ++i) {
        const float m = std::min({m_small[0].data[i] * inv[0], m_small[1].data[i] * inv[1],
                                  m_small[2].data[i] * inv[2]});
        m_dark.data[i] = m;
    }
    m_box.Minimum(&m_dark, m_patch);
    for (float& v : m_dark.data) v = 1.0f - strength * v;

    // Guided filter, guide = grey level on 0..1.
    const int radius = std::max(2, m_patch * 4);
    for (FloatPlane* p : {&m_guide, &m_meanGuide, &m_meanT, &m_corr, &m_var}) p->Resize(sw, sh);
    for (size_t i = 0; i < m_guide.data.size(); ++i) {
        const float g = (m_small[0].data[i] + m_small[1].data[i] + m_small[2].data[i]) / 765.0f;
        const float t = m_dark.data[i];
        m_guide.data[i] = g;
        m_meanGuide.data[i] = g;
        m_meanT.data[i] = t;
        m_corr.data[i] = g * t;
        m_var.data[i] = g * g;
    }
    m_box.Mean(&m_meanGuide, radius);
    m_box.Mean(&m_meanT, radius);
    m_box.Mean(&m_corr, radius);
    m_box.Mean(&m_var, radius);
    // a into m_corr, b into m_var; then their local means.
    for (size_t i = 0; i < m_corr.data.size(); ++i) {
        const float mg = m_meanGuide.data[i], mt = m_meanT.data[i];
        const float a = (m_corr.data[i] - mg * mt) / (m_var.data[i] - mg * mg + kGuideEps);
        m_corr.data[i] = a;
        m_var.data[i] = mt - a * mg;
    }
    m_box.Mean(&m_corr, radius);
    m_box.Mean(&m_var, radius);
}

void Dehaze::Apply(const RgbView& picture, const DehazeValues& values) {
    const int w = picture.width, h = picture.height;
    const int factor = ShrinkFactor(w, h, kWorkSide);
    const int sw = std::max(1, w / factor), sh = std::max(1, h / factor);
    for (int c = 0; c < 3; ++c) {
        m_small[c].Resize(sw, sh);
        DownsampleBox(picture.plane[c], picture.stride[c], factor, &m_small[c]);
    }
    m_patch = std::max(1, static_cast<int>(std::lround(std::min(w, h) / 100.0 / factor)));

    m_dark.Resize(sw, sh);
    for (size_t i = 0; i < m_dark.data.size(); ++i) {
        m_dark.data[i] = std::min({m_small[0].data[i], m_small[1].data[i], m_small[2].data[i]});
    }
    m_box.Minimum(&m_dark, m_patch);
    EstimateLight();
    Refine(values.strength);

    m_up.Prepare(sw, sh, w, h);
    m_rowA.resize(static_cast<size_t>(w));
    m_rowB.resize(static_cast<size_t>(w));
    const float gain = values.gain, floor = values.minTransmission;
    const float la = m_light[0] * gain, lb = m_light[1] * gain, lc = m_light[2] * gain;
    const float l0 = m_light[0], l1 = m_light[1], l2 = m_light[2];
    for (int y = 0; y < h; ++y) {
        m_up.Row(m_corr, y, m_rowA.data());
        m_up.Row(m_var, y, m_rowB.data());
        uint8_t* r = picture.Row(0, y);
        uint8_t* g = picture.Row(1, y);
        uint8_t* b = picture.Row(2, y);
        const float* ra = m_rowA.data();
        const float* rb = m_rowB.data();
        for (int x = 0; x < w; ++x) {
            const float fr = r[x], fg = g[x], fb = b[x];
            const float grey = (fr + fg + fb) * (1.0f / 765.0f);
            const float t = std::clamp(ra[x] * grey + rb[x], floor, 1.0f);
            const float k = gain / t;
            r[x] = static_cast<uint8_t>(std::clamp((fr - l0) * k + la, 0.0f, 255.0f) + 0.5f);
            g[x] = static_cast<uint8_t>(std::clamp((fg - l1) * k + lb, 0.0f, 255.0f) + 0.5f);
            b[x] = static_cast<uint8_t>(std::clamp((fb - l2) * k + lc, 0.0f, 255.0f) + 0.5f);
        }
    }
}

}  // namespace lumora
