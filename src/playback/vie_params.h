#pragma once

#include <array>
#include <cstdint>

#include "vidmux.h"

// Per-pane video enhancement parameters as the engine receives them:
// eighteen signed 32-bit fields, the first the set of enabled modules
// (0 = none), then the seventeen module parameters.
using VideoEnhanceParams = std::array<uint8_t, VIDMUX_VIE_PARAM_BYTES>;

// Field indexes into the block.
enum VieField : int {
    VIE_FIELD_MODULES = 0,
    VIE_FIELD_ADJ_BRIGHT,
    VIE_FIELD_ADJ_CONTRAST,
    VIE_FIELD_ADJ_SATURATION,
    VIE_FIELD_EHAN_SCALE,
    VIE_FIELD_EHAN_GAIN,
    VIE_FIELD_EHAN_OFFSET,
    VIE_FIELD_EHAN_COLOR,
    VIE_FIELD_DEHAZE_LEVEL,
    VIE_FIELD_DEHAZE_TRANSMISSION,
    VIE_FIELD_DEHAZE_GAIN,
    VIE_FIELD_DENOISE_LEVEL,
    VIE_FIELD_SHARPEN_LEVEL,
    VIE_FIELD_SHARPEN_RADIUS,
    VIE_FIELD_SHARPEN_THRESHOLD,
    VIE_FIELD_DEBLOCK_LEVEL,
    VIE_FIELD_LENS_WARP,
    VIE_FIELD_LENS_ZOOM,
    VIE_FIELD_COUNT
};

// Module bits of the first field.
enum VieModule : int32_t {
    VIE_ADJ = 0x01,
    VIE_EHAN = 0x02,
    VIE_DEHAZE = 0x04,
    VIE_DENOISE = 0x08,
    VIE_SHARPEN = 0x10,
    VIE_DEBLOCK = 0x20,
    VIE_CRB = 0x40,
    VIE_LENS = 0x80,
    VIE_ALL_MODULES = 0xFF
};

// One parameter: its field, its slider control, its label text and its range.
struct VieParamInfo {
    int nField;
    int nSliderId;
    const char* szKey;
    const char* szDefault;
    int32_t nMin;
    int32_t nMax;
    int32_t nDefault;
};
inline constexpr int VIE_PARAM_COUNT = VIE_FIELD_COUNT - 1;
// The seventeen parameters in field order.
const std::array<VieParamInfo, VIE_PARAM_COUNT>& VieParams();
// The parameter of `nField`, or null for the module field or a bad index.
const VieParamInfo* VieParamOfField(int nField);

int32_t GetVieField(const VideoEnhanceParams& block, int nField);
void SetVieField(VideoEnhanceParams* pBlock, int nField, int32_t nValue);
// Every module off, every parameter at its default: a new pane's block.
VideoEnhanceParams DefaultVieParams();
