#include "playback/vie_params.h"

#include <cstring>

namespace {

constexpr std::array<VieParamInfo, VIE_PARAM_COUNT> kParams = {{
    {VIE_FIELD_ADJ_BRIGHT, 1426, "IDS_VIE_ADJ_Bright", "Bright", -255, 255, 0},
    {VIE_FIELD_ADJ_CONTRAST, 1427, "IDS_VIE_ADJ_Contrast", "Contrast", -256, 255, 0},
    {VIE_FIELD_ADJ_SATURATION, 1428, "IDS_VIE_ADJ_Saturation", "Saturation", -256, 255, 0},
    {VIE_FIELD_EHAN_SCALE, 1430, "IDS_VIE_EHAN_Scale", "Scale", 0, 100, 25},
    {VIE_FIELD_EHAN_GAIN, 1431, "IDS_VIE_EHAN_Gain", "Gain", -256, 255, 0},
    {VIE_FIELD_EHAN_OFFSET, 1432, "IDS_VIE_EHAN_Offset", "Offset", -255, 255, 0},
    {VIE_FIELD_EHAN_COLOR, 1433, "IDS_VIE_EHAN_Color", "Color", -256, 255, 0},
    {VIE_FIELD_DEHAZE_LEVEL, 1436, "IDS_VIE_DEHAZE_Level", "Level", 0, 255, 220},
    {VIE_FIELD_DEHAZE_TRANSMISSION, 1434, "IDS_VIE_DEHAZE_Transmission", "Transmission", 0, 255,
     26},
    {VIE_FIELD_DEHAZE_GAIN, 1435, "IDS_VIE_DEHAZE_Gain", "Gain", 0, 255, 0},
    {VIE_FIELD_DENOISE_LEVEL, 1429, "IDS_VIE_DENOISE_Level", "Level", 0, 255, 60},
    {VIE_FIELD_SHARPEN_LEVEL, 1437, "IDS_VIE_SHARPEN_Level", "Level", 0, 255, 80},
    {VIE_FIELD_SHARPEN_RADIUS, 1438, "IDS_VIE_SHARPEN_Radius", "Radius", 1, 15, 2},
    {VIE_FIELD_SHARPEN_THRESHOLD, 1439, "IDS_VIE_SHARPEN_Threshold", "Threshold", 0, 255, 5},
    {VIE_FIELD_DEBLOCK_LEVEL, 1440, "IDS_VIE_DEBLOCK_Level", "Level", 0, 100, 50},
    {VIE_FIELD_LENS_WARP, 1441, "IDS_VIE_LENS_Warp", "Warp", -256, 255, 0},
    {VIE_FIELD_LENS_ZOOM, 1442, "IDS_VIE_LENS_Zoom", "Zoom", -256, 255, 0},
}};

}  // namespace

const std::array<VieParamInfo, VIE_PARAM_COUNT>& VieParams() { return kParams; }

const VieParamInfo* VieParamOfField(int nField) {
    if (nField <= VIE_FIELD_MODULES || nField >= VIE_FIELD_COUNT) return nullptr;
    return &kParams[static_cast<size_t>(nField - 1)];
}

int32_t GetVieField(const VideoEnhanceParams& block, int nField) {
    if (nField < 0 || nField >= VIE_FIELD_COUNT) return 0;
    int32_t nValue = 0;
    std::memcpy(&nValue, block.data() + nField * sizeof nValue, sizeof nValue);
    return nValue;
}

void SetVieField(VideoEnhanceParams* pBlock, int nField, int32_t nValue) {
    if (pBlock == nullptr || nField < 0 || nField >= VIE_FIELD_COUNT) return;
    std::memcpy(pBlock->data() + nField * sizeof nValue, &nValue, sizeof nValue);
}

VideoEnhanceParams DefaultVieParams() {
    VideoEnhanceParams block{};
    for (const VieParamInfo& param : kParams) SetVieField(&block, param.nField, param.nDefault);
    return block;
}
