#pragma once

#include <string>

#include "lumora.h"

namespace lumora {

// The parameter block with every value clamped to its range.
LumoraParams ClampParams(const LumoraParams& params);

struct EqValues {
    double brightness = 0, contrast = 1, saturation = 1;
};
EqValues EqFor(const LumoraParams& p);

struct DenoiseValues {
    double lumaSpatial = 0, chromaSpatial = 0, lumaTemporal = 0, chromaTemporal = 0;
};
DenoiseValues DenoiseFor(const LumoraParams& p);

struct DeblockValues {
    double alpha = 0, beta = 0;
};
DeblockValues DeblockFor(const LumoraParams& p);

struct SharpenValues {
    int amount256 = 0;  // amount in 1/256
    int radius = 1;
    int threshold = 0;
};
SharpenValues SharpenFor(const LumoraParams& p);

struct DehazeValues {
    float strength = 0;  // share of the haze removed
    float minTransmission = 0.1f;
    float gain = 1;
};
DehazeValues DehazeFor(const LumoraParams& p);

struct RetinexValues {
    float surround = 0.1f;  // largest sigma as a share of the longer side
    float contrast = 1;
    float offset = 0;
    float colour = 0;
};
RetinexValues RetinexFor(const LumoraParams& p);

struct LensValues {
    double k = 0;
    double zoom = 1;
    bool operator==(const LensValues&) const = default;
};
LensValues LensFor(const LumoraParams& p);

// libavfilter descriptions of the two chains around the own RGB modules,
// without the final format filter. Empty when the chain has nothing to do.
std::string ChainBeforeRgb(const LumoraParams& p);
std::string ChainAfterRgb(const LumoraParams& p);

// True when dehaze or Retinex is on: they work on planar RGB.
bool NeedsRgb(int modules);

}  // namespace lumora
