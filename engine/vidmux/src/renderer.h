#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "ffmpeg_ptr.h"
#include "vidmux.h"

namespace vidmux {

// Brightness, contrast, saturation and hue on 0..128; 64 leaves pixels unchanged.
struct ColorAdjust {
    int brightness = 64;
    int contrast = 64;
    int saturation = 64;
    int hue = 64;
    bool Neutral() const {
        return brightness == 64 && contrast == 64 && saturation == 64 && hue == 64;
    }
};

struct RenderSettings {
    std::optional<VemorRect> region;  // part of the picture to show, picture pixels
    bool highQuality = false;
    bool lowResolution = false;
    bool deflash = false;
    ColorAdjust color;
};

// Turns decoded pictures into 32-bit RGB pictures of the window's size. Owns
// its output buffer; one renderer per port, used on the port's thread only.
class Renderer {
public:
    // Renders `frame` at width x height. The result stays valid until the
    // next call. Returns false when the picture cannot be converted.
    bool Render(const AVFrame* frame, int width, int height, const RenderSettings& settings);

    uint8_t* Pixels() { return m_pixels.data(); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int Stride() const { return m_width * 4; }
    // Forget the previous picture that anti-flicker blends with.
    void ResetHistory() { m_previous.clear(); }

private:
    SwsContext* m_scaler = nullptr;  // owned; sws_getCachedContext reuses it
    std::vector<uint8_t> m_pixels;
    std::vector<uint8_t> m_previous;
    int m_width = 0;
    int m_height = 0;

public:
    Renderer() = default;
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;
    ~Renderer();
};

// Applies colour adjustment in place to 32-bit RGB pixels.
void ApplyColorAdjust(uint8_t* pixels, int width, int height, int stride, const ColorAdjust& color);

// Clamps a region to the picture and aligns it to the chroma grid.
std::optional<VemorRect> ClampRegion(const VemorRect& region, int pictureWidth, int pictureHeight);

}  // namespace vidmux
