#include "controls/slider_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

int SliderTravel(const SliderTrack& stTrack) {
    return stTrack.nLength - stTrack.nMarginEnd - stTrack.nThumbSize - stTrack.nMarginStart;
}

int ClampSliderPos(int nPos, int nMin, int nMax) {
    if (nMax < nMin) return nMin;
    return std::clamp(nPos, nMin, nMax);
}

int SliderPosToPixel(const SliderTrack& stTrack, int nPos) {
    const int nTravel = SliderTravel(stTrack);
    const int64_t nSpan = int64_t{stTrack.nMax} - stTrack.nMin;
    int64_t nOffset = 0;
    if (nSpan > 0 && nTravel > 0) {
        const int64_t nFromMin =
            int64_t{ClampSliderPos(nPos, stTrack.nMin, stTrack.nMax)} - stTrack.nMin;
        nOffset = nTravel * nFromMin / nSpan;  // 64-bit: the product overflows int
    }
    return static_cast<int>(stTrack.nMarginStart + nOffset + stTrack.nThumbSize / 2);
}

int SliderPixelToPos(const SliderTrack& stTrack, int nPixel) {
    const int nTravel = SliderTravel(stTrack);
    const int64_t nSpan = int64_t{stTrack.nMax} - stTrack.nMin;
    if (nSpan <= 0 || nTravel <= 0) return stTrack.nMin;
    // Multiplying before dividing keeps exact quotients exact in double.
    const double dAlong = double(nPixel) - stTrack.nThumbSize / 2 - stTrack.nMarginStart;
    const double dPos = stTrack.nMin + std::trunc(dAlong * double(nSpan) / nTravel);
    if (dPos <= stTrack.nMin) return stTrack.nMin;
    if (dPos >= stTrack.nMax) return stTrack.nMax;
    return static_cast<int>(dPos);
}

int ClampSliderPixel(const SliderTrack& stTrack, int nPixel) {
    const int nLow = stTrack.nMarginStart + stTrack.nThumbSize / 2;
    const int nHigh = stTrack.nLength - stTrack.nMarginEnd - stTrack.nThumbSize / 2;
    if (nHigh < nLow) return nLow;  // control smaller than its thumb
    return std::clamp(nPixel, nLow, nHigh);
}

int SliderDragOffset(const SliderTrack& stTrack, int nPos, int nCursor) {
    const int nOffset = nCursor - SliderPosToPixel(stTrack, nPos);
    return std::abs(nOffset) <= stTrack.nThumbSize / 2 ? nOffset : 0;
}
