#include "playback/pane_layout.h"

namespace {
// Start and length of slot `i` when `nTotal` pixels are shared by `nSide` slots.
void Slot(int32_t nTotal, int32_t nSide, int32_t i, int32_t* pStart, int32_t* pLength) {
    const int32_t nBase = nTotal / nSide;
    const int32_t nExtra = nTotal % nSide;
    *pLength = nBase + (i < nExtra ? 1 : 0);
    *pStart = i * nBase + (i < nExtra ? i : nExtra);
}
}  // namespace

int32_t GridSide(int32_t nLayout) {
    switch (nLayout) {
        case 1:
            return 1;
        case 4:
            return 2;
        case 9:
            return 3;
        case 16:
            return 4;
        default:
            return 0;
    }
}

QRect GridCell(int32_t nSide, int32_t nIndex, int32_t nWidth, int32_t nHeight) {
    if (nSide <= 0 || nIndex < 0 || nIndex >= nSide * nSide) return QRect();
    int32_t nX = 0, nW = 0, nY = 0, nH = 0;
    Slot(nWidth, nSide, nIndex % nSide, &nX, &nW);
    Slot(nHeight, nSide, nIndex / nSide, &nY, &nH);
    return QRect(nX, nY, nW, nH);
}

std::vector<PanePlacement> LayoutPanes(int32_t nLayout, bool bEnlarged, int32_t nSelIndex,
                                       int32_t nWidth, int32_t nHeight) {
    const int32_t nSide = GridSide(nLayout);
    if (nSide == 0) return {};
    if (nSide == 1) return {{0, QRect(0, 0, nWidth, nHeight)}};
    if (bEnlarged) {
        if (nSelIndex < 0 || nSelIndex >= 16) return {};
        return {{nSelIndex, QRect(0, 0, nWidth, nHeight)}};
    }
    std::vector<PanePlacement> panes;
    panes.reserve(static_cast<size_t>(nLayout));
    for (int32_t i = 0; i < nLayout; ++i) panes.push_back({i, GridCell(nSide, i, nWidth, nHeight)});
    return panes;
}

int32_t PaneIndexAt(int32_t nLayout, int32_t nWidth, int32_t nHeight, QPoint point) {
    const int32_t nSide = GridSide(nLayout);
    if (nSide == 0) return -1;
    if (nSide == 1) return 0;
    for (int32_t i = 0; i < nLayout; ++i) {
        if (GridCell(nSide, i, nWidth, nHeight).contains(point)) return i;
    }
    return -1;
}
