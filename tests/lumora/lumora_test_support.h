#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "lumora.h"

namespace lumoratest {

// A YUV 4:2:0 picture with padded rows, so a module that writes past a
// row's end or reads the wrong stride shows up in the padding.
struct Picture {
    Picture(int width, int height, bool fullRange = false);
    Picture(const Picture& other);
    Picture& operator=(const Picture& other) = default;

    uint8_t& Y(int x, int y) { return planes[0][static_cast<size_t>(y) * strides[0] + x]; }
    uint8_t& U(int x, int y) { return planes[1][static_cast<size_t>(y) * strides[1] + x]; }
    uint8_t& V(int x, int y) { return planes[2][static_cast<size_t>(y) * strides[2] + x]; }
    uint8_t Y(int x, int y) const { return planes[0][static_cast<size_t>(y) * strides[0] + x]; }
    LumoraImage* Image();
    bool PaddingIntact() const;
    bool operator==(const Picture& other) const;

    int width, height;
    bool fullRange;
    int strides[3];
    std::vector<uint8_t> planes[3];
    LumoraImage image{};
};

inline constexpr uint8_t kPadding = 0xA5;

// Picture `number` of a 320x240 samplegen recording, decoded with FFmpeg.
Picture SamplePicture(int number = 10);

// Mean and standard deviation of the luma plane.
double MeanLuma(const Picture& picture);
double LumaDeviation(const Picture& picture);
// Mean red, green and blue of the picture (BT.601, limited range).
void ChannelMeans(const Picture& picture, double means[3]);
// Mean of min(R, G, B): the dark channel, high where there is haze.
double MeanDarkChannel(const Picture& picture);
// Mean absolute Laplacian of the luma plane: high-frequency energy.
double HighFrequency(const Picture& picture);

// Builds a picture from RGB values (0..255), asked for pixel by pixel.
Picture FromRgb(int width, int height, const std::function<void(int, int, double*)>& colour);
void RgbAt(const Picture& picture, int x, int y, double rgb[3]);

// An enhancer handle, destroyed when the test ends.
class Enhancer {
public:
    Enhancer();
    ~Enhancer();
    int32_t handle() const { return m_handle; }
    // Sets `params` and processes `picture` in place; the library's result.
    int32_t Run(const LumoraParams& params, Picture* picture);

private:
    int32_t m_handle = 0;
};

// The panel's defaults with only `module` on.
LumoraParams Only(int module);

}  // namespace lumoratest
