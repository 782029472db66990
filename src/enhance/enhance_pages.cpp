#include "enhance/enhance_pages.h"

#include "playback/vie_params.h"

const std::array<EnhancePage, ENHANCE_PAGE_COUNT>& EnhancePages() {
    static const std::array<EnhancePage, ENHANCE_PAGE_COUNT> pages = {{
        {1408, VIE_ADJ, "IDS_VIE_ADJ", "Adjustment", 1467,
         {VIE_FIELD_ADJ_BRIGHT, VIE_FIELD_ADJ_CONTRAST, VIE_FIELD_ADJ_SATURATION}, 95, 120},
        {1401, VIE_DEHAZE, "IDS_VIE_DEHAZE", "Dehaze", 1462,
         {VIE_FIELD_DEHAZE_LEVEL, VIE_FIELD_DEHAZE_GAIN, VIE_FIELD_DEHAZE_TRANSMISSION}, 95, 120},
        {1402, VIE_EHAN, "IDS_VIE_EHAN", "Retinex", 1461,
         {VIE_FIELD_EHAN_GAIN, VIE_FIELD_EHAN_OFFSET, VIE_FIELD_EHAN_COLOR, VIE_FIELD_EHAN_SCALE},
         120, 120},
        {1403, VIE_DENOISE, "IDS_VIE_DENOISE", "Denoise", 1460, {VIE_FIELD_DENOISE_LEVEL}, 45, 120},
        {1404, VIE_SHARPEN, "IDS_VIE_SHARPEN", "Sharpen", 1463,
         {VIE_FIELD_SHARPEN_LEVEL, VIE_FIELD_SHARPEN_RADIUS, VIE_FIELD_SHARPEN_THRESHOLD}, 95, 120},
        {1405, VIE_DEBLOCK, "IDS_VIE_DEBLOCK", "Deblock", 1464, {VIE_FIELD_DEBLOCK_LEVEL}, 45, 120},
        {1406, VIE_CRB, "IDS_VIE_CRB", "Color Balance", 1466, {}, 20, 120},
        {1407, VIE_LENS, "IDS_VIE_LENS", "Len Distortion", 1465,
         {VIE_FIELD_LENS_WARP, VIE_FIELD_LENS_ZOOM}, 70, 150},
    }};
    return pages;
}

const EnhancePage* EnhancePageOfModule(int32_t nModule) {
    for (const EnhancePage& page : EnhancePages()) {
        if (page.nModule == nModule) return &page;
    }
    return nullptr;
}
