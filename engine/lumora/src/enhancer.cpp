#include "enhancer.h"

#include "grey_world.h"

#include <cstring>

extern "C" {
#include <libavutil/buffer.h>
}

namespace lumora {

namespace {

void KeepCallerMemory(void*, uint8_t*) {}

bool ValidImage(const LumoraImage& image) {
    if (image.nWidth < 2 || image.nHeight < 2 || image.nWidth > LUMORA_MAX_SIDE ||
        image.nHeight > LUMORA_MAX_SIDE) {
        return false;
    }
    for (int i = 0; i < 3; ++i) {
        const int width = i ? (image.nWidth + 1) / 2 : image.nWidth;
        if (!image.pPlane[i] || image.nStride[i] < width) return false;
    }
    return true;
}

void CopyInto(const AVFrame* from, LumoraImage* image) {
    for (int i = 0; i < 3; ++i) {
        const int width = i ? (image->nWidth + 1) / 2 : image->nWidth;
        const int height = i ? (image->nHeight + 1) / 2 : image->nHeight;
        for (int y = 0; y < height; ++y) {
            std::memcpy(image->pPlane[i] + static_cast<ptrdiff_t>(y) * image->nStride[i],
                        from->data[i] + static_cast<ptrdiff_t>(y) * from->linesize[i],
                        static_cast<size_t>(width));
        }
    }
}

}  // namespace

Enhancer::Enhancer() : m_in(av_frame_alloc()), m_mid(av_frame_alloc()), m_out(av_frame_alloc()) {}

Enhancer::~Enhancer() {
    av_frame_free(&m_in);
    av_frame_free(&m_mid);
    av_frame_free(&m_out);
}

void Enhancer::SetParams(const LumoraParams& params) { m_params = ClampParams(params); }

void Enhancer::ResetHistory() {
    m_dehaze.ResetHistory();
    // The temporal denoiser keeps its history inside its graph.
    m_before.Clear();
}

void Enhancer::WrapImage(const LumoraImage& image, AVPixelFormat format) {
    m_in->width = image.nWidth;
    m_in->height = image.nHeight;
    m_in->format = format;
    m_in->color_range = image.bFullRange ? AVCOL_RANGE_JPEG : AVCOL_RANGE_MPEG;
    for (int i = 0; i < 3; ++i) {
        const int height = i ? (image.nHeight + 1) / 2 : image.nHeight;
        m_in->data[i] = image.pPlane[i];
        m_in->linesize[i] = image.nStride[i];
        m_in->buf[i] =
            av_buffer_create(image.pPlane[i], static_cast<size_t>(image.nStride[i]) * height,
                             &KeepCallerMemory, nullptr, 0);
    }
}

int32_t Enhancer::RunChains(LumoraImage* image) {
    const int modules = m_params.nModules;
    const bool rgb = NeedsRgb(modules);
    std::string before = ChainBeforeRgb(m_params);
    const std::string after = ChainAfterRgb(m_params);
    if (!rgb && !after.empty()) before += (before.empty() ? "" : ",") + after;
    if (before.empty() && !rgb) {
        m_before.Clear();
        m_after.Clear();
        return LUMORA_OK;
    }
    const AVPixelFormat yuv = image->bFullRange ? AV_PIX_FMT_YUVJ420P : AV_PIX_FMT_YUV420P;
    const int w = image->nWidth, h = image->nHeight;
    if (!m_before.Build(before, w, h, yuv, rgb ? AV_PIX_FMT_GBRP : yuv)) return LUMORA_ERR_FILTER;
    if (rgb) {
        if (!m_after.Build(after, w, h, AV_PIX_FMT_GBRP, yuv)) return LUMORA_ERR_FILTER;
    } else {
        m_after.Clear();
    }

    WrapImage(*image, yuv);
    for (int i = 0; i < 3; ++i) {
        if (!m_in->buf[i]) {
            av_frame_unref(m_in);
            return LUMORA_ERR_OUT_OF_MEMORY;
        }
    }
    bool ok = m_before.Run(m_in, m_mid);
    av_frame_unref(m_in);
    const AVFrame* result = m_mid;
    if (ok && rgb) {
        ok = m_mid->format == AV_PIX_FMT_GBRP && av_frame_make_writable(m_mid) >= 0;
        if (ok) {
            // Planar RGB in libavutil's order: green, blue, red.
            RgbView view;
            view.width = w;
            view.height = h;
            const int order[3] = {2, 0, 1};
            for (int c = 0; c < 3; ++c) {
                view.plane[c] = m_mid->data[order[c]];
                view.stride[c] = m_mid->linesize[order[c]];
            }
            if (modules & LUMORA_DEHAZE) m_dehaze.Apply(view, DehazeFor(m_params));
            if (modules & LUMORA_RETINEX) m_retinex.Apply(view, RetinexFor(m_params));
            ok = m_after.Run(m_mid, m_out);
            result = m_out;
        }
    }
    ok = ok && result->format == yuv && result->width == w && result->height == h;
    if (ok) CopyInto(result, image);
    av_frame_unref(m_mid);
    av_frame_unref(m_out);
    return ok ? LUMORA_OK : LUMORA_ERR_FILTER;
}

int32_t Enhancer::Process(LumoraImage* image) {
    if (!ValidImage(*image)) return LUMORA_ERR_BAD_PICTURE;
    const int modules = m_params.nModules;
    if (modules == 0) return LUMORA_OK;
    if (modules & LUMORA_COLOR_BALANCE) GreyWorld(image);
    const int32_t result = RunChains(image);
    if (result != LUMORA_OK) return result;

    const int w = image->nWidth, h = image->nHeight;
    if (modules & LUMORA_SHARPEN) {
        m_sharpen.Apply(image->pPlane[0], image->nStride[0], w, h, SharpenFor(m_params));
    }
    if (modules & LUMORA_LENS) {
        const LensValues lens = LensFor(m_params);
        m_lensLuma.Apply(image->pPlane[0], image->nStride[0], w, h, lens,
                         image->bFullRange ? 0 : 16);
        for (int i = 1; i < 3; ++i) {
            m_lensChroma.Apply(image->pPlane[i], image->nStride[i], (w + 1) / 2, (h + 1) / 2, lens,
                               128);
        }
    }
    return LUMORA_OK;
}

}  // namespace lumora
