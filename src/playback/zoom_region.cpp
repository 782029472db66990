#include "playback/zoom_region.h"

ZoomRegion ComputeZoomRegion(int32_t nWidth, int32_t nHeight, int32_t cx, int32_t cy,
                             int32_t nZoom) {
    // A zoom below 100 % would ask for more than the picture; treat it as the whole.
    if (nZoom < ZOOM_PERCENT_MIN) nZoom = ZOOM_PERCENT_MIN;
    if (nWidth < 0) nWidth = 0;
    if (nHeight < 0) nHeight = 0;

    const int32_t rw = static_cast<int32_t>(int64_t{nWidth} * 100 / nZoom);
    const int32_t rh = static_cast<int32_t>(int64_t{nHeight} * 100 / nZoom);
    int32_t left = cx - rw / 2;
    int32_t right = left + rw;
    int32_t top = cy - rh / 2;
    int32_t bottom = top + rh;

    if (bottom > nHeight) {
        const int32_t d = bottom - nHeight;
        top -= d;
        bottom -= d;
    }
    if (right > nWidth) {
        const int32_t d = right - nWidth;
        left -= d;
        right -= d;
    }
    if (top < 0) {
        top = 0;
        bottom = rh;
    }
    if (left < 0) {
        left = 0;
        right = rw;
    }

    ZoomRegion region;
    region.rect = VemorRect{left, top, right, bottom};
    region.cx = (left + right) / 2;
    region.cy = (top + bottom) / 2;
    return region;
}
