#include "controls/skin_scroll_geometry.h"

#include <QPair>
#include <algorithm>

namespace {

// A track this short has no room for a thumb.
constexpr int kMinTrackForThumb = 5;
constexpr int kMinThumb = 6;

}  // namespace

int SkinScrollTop(const SkinScrollInfo& info) { return info.nMax - info.nMin - info.nPage + 1; }

SkinScrollLayout LayoutSkinScroll(int nCell, int nLength, const SkinScrollInfo& info) {
    SkinScrollLayout layout;
    layout.nLength = std::max(0, nLength);
    layout.nArrow = nCell;
    layout.nTrack = std::max(layout.nLength - 2 * nCell, 0);
    if (layout.nTrack == 0) {
        // Too short for a track: two arrows of half the length each.
        layout.nArrow = layout.nLength / 2;
        layout.nThumbStart = layout.nArrow;
        return layout;
    }
    const int nRange = info.nMax - info.nMin + 1;
    if (layout.nTrack > kMinTrackForThumb && nRange > 0) {
        layout.nThumbLength = std::max(info.nPage * layout.nTrack / nRange, kMinThumb);
        layout.nThumbLength = std::min(layout.nThumbLength, layout.nTrack);
    }
    const int nTop = SkinScrollTop(info);
    const int nFree = layout.nTrack - layout.nThumbLength;
    const int nPos = info.nTrackPos >= 0 ? info.nTrackPos : info.nPos;
    if (nTop == 0) {
        layout.nThumbStart = layout.nArrow + nFree / 2;
    } else {
        layout.nThumbStart =
            layout.nArrow + nFree * std::clamp(nPos - info.nMin, 0, std::max(nTop, 0)) / nTop;
    }
    return layout;
}

QPair<int, int> SkinScrollPartSpan(const SkinScrollLayout& l, SkinScrollPart ePart) {
    const int nThumbEnd = l.nThumbStart + l.nThumbLength;
    switch (ePart) {
        case SkinScrollPart::ArrowUp:
            return {0, l.nArrow};
        case SkinScrollPart::PageUp:
            return {l.nArrow, l.nThumbStart};
        case SkinScrollPart::Thumb:
            return {l.nThumbStart, nThumbEnd};
        case SkinScrollPart::PageDown:
            return {nThumbEnd, l.nLength - l.nArrow};
        case SkinScrollPart::ArrowDown:
            return {l.nLength - l.nArrow, l.nLength};
        default:
            return {0, 0};
    }
}

SkinScrollPart HitTestSkinScroll(const SkinScrollLayout& layout, int nAlong) {
    for (SkinScrollPart ePart :
         {SkinScrollPart::ArrowUp, SkinScrollPart::PageUp, SkinScrollPart::Thumb,
          SkinScrollPart::PageDown, SkinScrollPart::ArrowDown}) {
        const QPair<int, int> span = SkinScrollPartSpan(layout, ePart);
        if (nAlong >= span.first && nAlong < span.second) return ePart;
    }
    return SkinScrollPart::None;
}

int SkinScrollDragPos(const SkinScrollInfo& info, const SkinScrollLayout& layout, int nStartPos,
                      int nOffset) {
    const int nFree = layout.nTrack - layout.nThumbLength;
    if (nFree <= 0) return nStartPos;
    const int nPos = nStartPos + nOffset * SkinScrollTop(info) / nFree;
    return std::max(std::min(nPos, SkinScrollTop(info)), info.nMin);
}

int SkinScrollApply(const SkinScrollInfo& info, int nCode, int nValue) {
    int nPos = info.nPos;
    switch (nCode) {
        case SCROLL_LINE_UP:
            nPos -= 1;
            break;
        case SCROLL_LINE_DOWN:
            nPos += 1;
            break;
        case SCROLL_PAGE_UP:
            nPos -= info.nPage;
            break;
        case SCROLL_PAGE_DOWN:
            nPos += info.nPage;
            break;
        case SCROLL_THUMB_POSITION:
        case SCROLL_THUMB_TRACK:
            nPos = nValue;
            break;
        default:
            break;
    }
    return std::max(std::min(nPos, SkinScrollTop(info)), info.nMin);
}

QRect SkinScrollCell(int nCell, SkinScrollPart ePart, bool bHorizontal, int nLook) {
    int nColumn = 3;  // the track, for both page parts
    if (ePart == SkinScrollPart::ArrowUp) nColumn = 0;
    if (ePart == SkinScrollPart::ArrowDown) nColumn = 1;
    if (ePart == SkinScrollPart::Thumb) nColumn = 2;
    if (bHorizontal) nColumn += 4;
    return QRect(nColumn * nCell, std::clamp(nLook, 0, 2) * nCell, nCell, nCell);
}
