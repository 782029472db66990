#include "param_mapping.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace lumora {

namespace {

int32_t Clamp(int32_t value, int32_t low, int32_t high) { return std::clamp(value, low, high); }

// Filter options are written with a dot whatever the process's locale.
std::string Num(double value) {
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 4);
    return std::string(buffer, result.ptr);
}

void Append(std::string* chain, const std::string& filter) {
    if (!chain->empty()) *chain += ',';
    *chain += filter;
}

}  // namespace

LumoraParams ClampParams(const LumoraParams& in) {
    LumoraParams p = in;
    p.nModules &= LUMORA_ALL_MODULES;
    p.nBright = Clamp(p.nBright, -255, 255);
    p.nContrast = Clamp(p.nContrast, -256, 255);
    p.nSaturation = Clamp(p.nSaturation, -256, 255);
    p.nEhanScale = Clamp(p.nEhanScale, 0, 100);
    p.nEhanGain = Clamp(p.nEhanGain, -256, 255);
    p.nEhanOffset = Clamp(p.nEhanOffset, -255, 255);
    p.nEhanColor = Clamp(p.nEhanColor, -256, 255);
    p.nDehazeLevel = Clamp(p.nDehazeLevel, 0, 255);
    p.nDehazeTransmission = Clamp(p.nDehazeTransmission, 0, 255);
    p.nDehazeGain = Clamp(p.nDehazeGain, 0, 255);
    p.nDenoiseLevel = Clamp(p.nDenoiseLevel, 0, 255);
    p.nSharpenLevel = Clamp(p.nSharpenLevel, 0, 255);
    p.nSharpenRadius = Clamp(p.nSharpenRadius, 1, 15);
    p.nSharpenThreshold = Clamp(p.nSharpenThreshold, 0, 255);
    p.nDeblockLevel = Clamp(p.nDeblockLevel, 0, 100);
    p.nLensWarp = Clamp(p.nLensWarp, -256, 255);
    p.nLensZoom = Clamp(p.nLensZoom, -256, 255);
    return p;
}

EqValues EqFor(const LumoraParams& p) {
    EqValues v;
    v.brightness = p.nBright / 255.0 * 0.5;
    v.contrast = p.nContrast < 0 ? 1.0 + p.nContrast / 256.0 : 1.0 + 3.0 * p.nContrast / 255.0;
    v.saturation =
        p.nSaturation < 0 ? 1.0 + p.nSaturation / 256.0 : 1.0 + 2.0 * p.nSaturation / 255.0;
    return v;
}

DenoiseValues DenoiseFor(const LumoraParams& p) {
    DenoiseValues v;
    v.lumaSpatial = p.nDenoiseLevel / 255.0 * 24.0;
    v.chromaSpatial = v.lumaSpatial * 0.75;
    v.lumaTemporal = v.lumaSpatial * 1.5;
    v.chromaTemporal = v.chromaSpatial * 1.5;
    return v;
}

DeblockValues DeblockFor(const LumoraParams& p) {
    DeblockValues v;
    v.alpha = 0.3 * p.nDeblockLevel / 100.0;
    v.beta = 0.15 * p.nDeblockLevel / 100.0;
    return v;
}

SharpenValues SharpenFor(const LumoraParams& p) {
    SharpenValues v;
    v.amount256 = static_cast<int>(std::lround(p.nSharpenLevel / 255.0 * 2.5 * 256));
    v.radius = p.nSharpenRadius;
    v.threshold = p.nSharpenThreshold;
    return v;
}

DehazeValues DehazeFor(const LumoraParams& p) {
    DehazeValues v;
    v.strength = p.nDehazeLevel / 255.0f;
    v.minTransmission = std::max(p.nDehazeTransmission / 255.0f, 0.02f);
    v.gain = 1.0f + p.nDehazeGain / 255.0f;
    return v;
}

RetinexValues RetinexFor(const LumoraParams& p) {
    RetinexValues v;
    v.surround = 0.02f + 0.28f * p.nEhanScale / 100.0f;
    v.contrast = std::exp2(p.nEhanGain / 128.0f);
    v.offset = p.nEhanOffset / 2.0f;
    v.colour = (p.nEhanColor + 256) / 511.0f * 0.6f;
    return v;
}

LensValues LensFor(const LumoraParams& p) {
    LensValues v;
    v.k = p.nLensWarp / 512.0;
    v.zoom = std::exp2(p.nLensZoom / 256.0);
    return v;
}

std::string ChainBeforeRgb(const LumoraParams& p) {
    std::string chain;
    // Level 0 means no filtering (hqdn3d would read a 0 strength as its default).
    if ((p.nModules & LUMORA_DEBLOCK) && p.nDeblockLevel > 0) {
        const DeblockValues d = DeblockFor(p);
        Append(&chain, "deblock=filter=strong:block=8:alpha=" + Num(d.alpha) + ":beta=" +
                           Num(d.beta) + ":gamma=" + Num(d.beta) + ":delta=" + Num(d.beta));
    }
    if ((p.nModules & LUMORA_DENOISE) && p.nDenoiseLevel > 0) {
        const DenoiseValues d = DenoiseFor(p);
        Append(&chain, "hqdn3d=luma_spatial=" + Num(d.lumaSpatial) + ":chroma_spatial=" +
                           Num(d.chromaSpatial) + ":luma_tmp=" + Num(d.lumaTemporal) +
                           ":chroma_tmp=" + Num(d.chromaTemporal));
    }
    return chain;
}

std::string ChainAfterRgb(const LumoraParams& p) {
    std::string chain;
    if (p.nModules & LUMORA_ADJUST) {
        const EqValues e = EqFor(p);
        Append(&chain, "eq=brightness=" + Num(e.brightness) + ":contrast=" + Num(e.contrast) +
                           ":saturation=" + Num(e.saturation));
    }
    return chain;
}

bool NeedsRgb(int modules) { return (modules & (LUMORA_DEHAZE | LUMORA_RETINEX)) != 0; }

}  // namespace lumora
