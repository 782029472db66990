#pragma once

#include <cstdint>

#include "vidmux.h"

inline constexpr int32_t ZOOM_PERCENT_MIN = 100;
inline constexpr int32_t ZOOM_PERCENT_MAX = 400;
inline constexpr int32_t ZOOM_WHEEL_STEP = 10;

// The part of a width x height picture shown at `nZoom` percent around the
// centre (cx, cy). The rectangle always lies inside the picture; the centre
// comes back moved to where the rectangle could be placed.
struct ZoomRegion {
    VemorRect rect{};
    int32_t cx = 0;
    int32_t cy = 0;
};

ZoomRegion ComputeZoomRegion(int32_t nWidth, int32_t nHeight, int32_t cx, int32_t cy,
                             int32_t nZoom);
