#include "port_enhancement.h"

#include <cstring>

extern "C" {
#include <libswscale/swscale.h>
}

#include "enhancer_library.h"
#include "renderer.h"

namespace vidmux {

void EnhanceSettings::SwitchModules(int32_t bits, bool on) {
    modules = (on ? modules | bits : modules & ~bits) & LUMORA_ALL_MODULES;
    ++generation;
}

void EnhanceSettings::TakeBlock(const void* block) {
    static_assert(sizeof(LumoraParams) == VIDMUX_VIE_PARAM_BYTES);
    std::memcpy(&params, block, sizeof params);
    modules = params.nModules & LUMORA_ALL_MODULES;
    ++generation;
}

bool ValidEnhanceRegion(const VemorRect& rect) {
    return rect.left >= 0 && rect.top >= 0 && rect.right > rect.left && rect.bottom > rect.top;
}

PortEnhancement::~PortEnhancement() {
    Release();
    sws_freeContext(m_convert);
}

void PortEnhancement::Release() {
    if (m_handle != 0 && m_library) m_library->destroy(m_handle);
    m_handle = 0;
    m_paramsSent = false;
}

void PortEnhancement::ResetHistory() {
    if (m_handle != 0) m_library->resetHistory(m_handle);
}

bool PortEnhancement::Prepare(const EnhanceSettings& settings) {
    if (m_handle == 0) {
        if (!m_library) m_library = LoadEnhancerLibrary();
        if (!m_library || m_library->create(&m_handle) != LUMORA_OK) {
            m_handle = 0;
            return false;
        }
        m_paramsSent = false;
    }
    if (!m_paramsSent || m_paramsGeneration != settings.generation) {
        LumoraParams params = settings.params;
        params.nModules = settings.modules;
        if (m_library->setParams(m_handle, &params) != LUMORA_OK) return false;
        m_paramsGeneration = settings.generation;
        m_paramsSent = true;
    }
    return true;
}

AVFrame* PortEnhancement::WritableCopy(const AVFrame* decoded) {
    FramePtr copy(av_frame_alloc());
    if (!copy) return nullptr;
    const auto format = static_cast<AVPixelFormat>(decoded->format);
    const bool planar420 = format == AV_PIX_FMT_YUV420P || format == AV_PIX_FMT_YUVJ420P;
    copy->format = planar420 ? format : AV_PIX_FMT_YUV420P;
    copy->width = decoded->width;
    copy->height = decoded->height;
    copy->color_range = planar420 ? decoded->color_range : AVCOL_RANGE_MPEG;
    if (av_frame_get_buffer(copy.get(), 0) < 0) return nullptr;
    if (planar420) {
        if (av_frame_copy(copy.get(), decoded) < 0) return nullptr;
    } else {
        // The enhancer works on 4:2:0; other layouts are converted first.
        m_convert = sws_getCachedContext(m_convert, decoded->width, decoded->height, format,
                                         copy->width, copy->height, AV_PIX_FMT_YUV420P,
                                         SWS_BILINEAR, nullptr, nullptr, nullptr);
        if (!m_convert || sws_scale(m_convert, decoded->data, decoded->linesize, 0,
                                    decoded->height, copy->data, copy->linesize) <= 0) {
            return nullptr;
        }
    }
    av_frame_copy_props(copy.get(), decoded);
    return copy.release();
}

SharedFrame PortEnhancement::Apply(const SharedFrame& decoded, const EnhanceSettings& settings) {
    if (!decoded || settings.modules == 0) return decoded;
    if (decoded->hw_frames_ctx) return decoded;
    std::optional<VemorRect> area{VemorRect{0, 0, decoded->width, decoded->height}};
    if (settings.region) area = ClampRegion(*settings.region, decoded->width, decoded->height);
    if (!area) return decoded;  // the region lies outside this picture
    if (!Prepare(settings)) return decoded;

    AVFrame* copy = WritableCopy(decoded.get());
    if (!copy) return decoded;
    SharedFrame shown(copy, [](const AVFrame* f) {
        AVFrame* frame = const_cast<AVFrame*>(f);
        av_frame_free(&frame);
    });
    // Chroma rows and columns are half of luma's; the region starts on even pixels.
    LumoraImage image{};
    image.nWidth = area->right - area->left;
    image.nHeight = area->bottom - area->top;
    image.bFullRange = copy->format == AV_PIX_FMT_YUVJ420P || copy->color_range == AVCOL_RANGE_JPEG;
    for (int i = 0; i < 3; ++i) {
        const int x = i ? area->left / 2 : area->left;
        const int y = i ? area->top / 2 : area->top;
        image.pPlane[i] = copy->data[i] + static_cast<ptrdiff_t>(y) * copy->linesize[i] + x;
        image.nStride[i] = copy->linesize[i];
    }
    if (m_library->process(m_handle, &image) != LUMORA_OK) return decoded;
    return shown;
}

}  // namespace vidmux
