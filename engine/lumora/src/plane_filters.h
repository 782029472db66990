#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumora {

// A small float picture plane, rows packed (stride = width).
struct FloatPlane {
    int width = 0, height = 0;
    std::vector<float> data;
    void Resize(int w, int h) {
        width = w;
        height = h;
        data.resize(static_cast<size_t>(w) * h);
    }
    float* Row(int y) { return data.data() + static_cast<size_t>(y) * width; }
    const float* Row(int y) const { return data.data() + static_cast<size_t>(y) * width; }
};

// Averages `factor` x `factor` blocks of an 8-bit plane into `out`, whose
// size (at least 1x1, at most the plane's size / factor) says how many.
void DownsampleBox(const uint8_t* src, int stride, int factor, FloatPlane* out);

// Box filters of radius r with the edges repeated, in place. `scratch`
// grows once to the plane's size.
class BoxFilter {
public:
    void Mean(FloatPlane* plane, int radius);
    // Approximates a Gaussian of standard deviation `sigma` by three box passes.
    void Gaussian(FloatPlane* plane, float sigma);
    void Minimum(FloatPlane* plane, int radius);

private:
    std::vector<float> m_scratch;
    std::vector<float> m_column;
};

// Bilinear interpolation of a small plane up to the full picture size, one
// row at a time. Coordinates map pixel centres onto pixel centres.
class RowUpsampler {
public:
    void Prepare(int smallWidth, int smallHeight, int width, int height);
    // Writes full-size row `y` of `plane` into `out` (width floats).
    void Row(const FloatPlane& plane, int y, float* out);

private:
    struct Tap {
        int i0, i1;
        float w1;
    };
    std::vector<Tap> m_x, m_y;
    std::vector<float> m_blend;
    int m_width = 0;
};

}  // namespace lumora
