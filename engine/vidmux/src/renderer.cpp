#include "renderer.h"

#include <algorithm>
#include <cmath>

extern "C" {
#include <libavutil/pixdesc.h>
}

namespace vidmux {

namespace {

// The scaler writes BGRA bytes, which read as 0xAARRGGBB words on
// little-endian machines: the layout the render window expects.
constexpr AVPixelFormat kOutputFormat = AV_PIX_FMT_BGRA;

uint8_t Clamp8(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); }

}  // namespace

Renderer::~Renderer() { sws_freeContext(m_scaler); }

std::optional<VemorRect> ClampRegion(const VemorRect& region, int pictureWidth, int pictureHeight) {
    VemorRect r = region;
    r.left = std::clamp(r.left, 0, pictureWidth);
    r.right = std::clamp(r.right, 0, pictureWidth);
    r.top = std::clamp(r.top, 0, pictureHeight);
    r.bottom = std::clamp(r.bottom, 0, pictureHeight);
    // Chroma planes are subsampled by two: start on even pixels.
    r.left &= ~1;
    r.top &= ~1;
    if (r.right - r.left < 2 || r.bottom - r.top < 2) return std::nullopt;
    return r;
}

bool Renderer::Render(const AVFrame* frame, int width, int height, const RenderSettings& settings) {
    if (!frame || width <= 0 || height <= 0) return false;
    const auto format = static_cast<AVPixelFormat>(frame->format);
    const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(format);
    if (!desc) return false;

    const uint8_t* planes[4] = {};
    int srcW = frame->width;
    int srcH = frame->height;
    for (int i = 0; i < 4; ++i) planes[i] = frame->data[i];
    if (settings.region) {
        std::optional<VemorRect> r = ClampRegion(*settings.region, frame->width, frame->height);
        if (r && !(desc->flags & AV_PIX_FMT_FLAG_HWACCEL)) {
            for (int i = 0; i < desc->nb_components && i < 4; ++i) {
                if (!frame->data[i]) continue;
                const bool chroma = i == 1 || i == 2;
                const int x = chroma ? r->left >> desc->log2_chroma_w : r->left;
                const int y = chroma ? r->top >> desc->log2_chroma_h : r->top;
                const int step = (desc->flags & AV_PIX_FMT_FLAG_PLANAR) ? 1 : desc->comp[0].step;
                planes[i] =
                    frame->data[i] + static_cast<ptrdiff_t>(y) * frame->linesize[i] + x * step;
            }
            srcW = r->right - r->left;
            srcH = r->bottom - r->top;
        }
    }

    int flags = settings.highQuality ? SWS_BICUBIC : SWS_BILINEAR;
    if (settings.lowResolution) flags = SWS_POINT;
    m_scaler = sws_getCachedContext(m_scaler, srcW, srcH, format, width, height, kOutputFormat,
                                    flags, nullptr, nullptr, nullptr);
    if (!m_scaler) return false;

    m_width = width;
    m_height = height;
    m_pixels.resize(static_cast<size_t>(width) * height * 4);
    uint8_t* dst[4] = {m_pixels.data(), nullptr, nullptr, nullptr};
    int dstStride[4] = {width * 4, 0, 0, 0};
    if (sws_scale(m_scaler, planes, frame->linesize, 0, srcH, dst, dstStride) <= 0) return false;

    if (!settings.color.Neutral()) {
        ApplyColorAdjust(m_pixels.data(), width, height, width * 4, settings.color);
    }
    if (settings.deflash) {
        if (m_previous.size() == m_pixels.size()) {
            for (size_t i = 0; i < m_pixels.size(); ++i) {
                const uint8_t current = m_pixels[i];
                m_pixels[i] = static_cast<uint8_t>((current + m_previous[i] + 1) >> 1);
                m_previous[i] = current;
            }
        } else {
            m_previous = m_pixels;
        }
    } else {
        m_previous.clear();
    }
    return true;
}

void ApplyColorAdjust(uint8_t* pixels, int width, int height, int stride,
                      const ColorAdjust& color) {
    // Brightness moves every channel by up to +-128, contrast scales around
    // mid-grey by 0..2, saturation scales the distance from grey by 0..2 and
    // hue turns the colour around the grey axis by up to +-180 degrees.
    const double brightness = (color.brightness - 64) * 2.0;
    const double contrast = color.contrast / 64.0;
    const double saturation = color.saturation / 64.0;
    const double angle = (color.hue - 64) / 64.0 * M_PI;
    const double c = std::cos(angle), s = std::sin(angle);
    // Hue rotation about the (1,1,1) axis, combined with saturation.
    const double k = (1.0 - c) / 3.0, q = std::sqrt(1.0 / 3.0) * s;
    const double rot[3][3] = {{c + k, k - q, k + q}, {k + q, c + k, k - q}, {k - q, k + q, c + k}};
    int m[3][3];
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            // Saturation blends between plain grey and the turned colour.
            const double grey = 1.0 / 3.0;
            const double value = grey * (1 - saturation) + saturation * rot[row][col];
            m[row][col] = static_cast<int>(std::lround(value * contrast * 1024));
        }
    }
    const int offset = static_cast<int>(std::lround((128 * (1 - contrast) + brightness) * 1024));
    for (int y = 0; y < height; ++y) {
        uint8_t* p = pixels + static_cast<ptrdiff_t>(y) * stride;
        for (int x = 0; x < width; ++x, p += 4) {
            const int b = p[0], g = p[1], r = p[2];
            p[2] = Clamp8((m[0][0] * r + m[0][1] * g + m[0][2] * b + offset) >> 10);
            p[1] = Clamp8((m[1][0] * r + m[1][1] * g + m[1][2] * b + offset) >> 10);
            p[0] = Clamp8((m[2][0] * r + m[2][1] * g + m[2][2] * b + offset) >> 10);
        }
    }
}

}  // namespace vidmux
