#pragma once

#include "dehaze.h"
#include "filter_chain.h"
#include "lens_remap.h"
#include "lumora.h"
#include "retinex.h"
#include "sharpen.h"

namespace lumora {

// The modules of one handle, run in order over each picture: colour balance
// on the YUV picture, libavfilter before the own RGB modules (deblock,
// denoise), dehaze and Retinex on planar RGB, libavfilter after them
// (adjustment), then sharpen and lens correction on the YUV picture itself.
class Enhancer {
public:
    Enhancer();
    ~Enhancer();
    Enhancer(const Enhancer&) = delete;
    Enhancer& operator=(const Enhancer&) = delete;

    void SetParams(const LumoraParams& params);
    int32_t Process(LumoraImage* image);
    void ResetHistory();

private:
    int32_t RunChains(LumoraImage* image);
    void WrapImage(const LumoraImage& image, AVPixelFormat format);

    LumoraParams m_params{};
    FilterChain m_before, m_after;
    Dehaze m_dehaze;
    Retinex m_retinex;
    Sharpen m_sharpen;
    LensRemap m_lensLuma, m_lensChroma;
    AVFrame* m_in = nullptr;
    AVFrame* m_mid = nullptr;
    AVFrame* m_out = nullptr;
};

}  // namespace lumora
