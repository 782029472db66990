#pragma once

#include <QPoint>
#include <QRect>
#include <cstdint>
#include <vector>

// Where the pane container places its panes: an equal grid of 1, 4, 9 or 16
// cells that covers the client area exactly. The first W mod n columns and
// the first H mod n rows are one pixel larger than the others.

struct PanePlacement {
    int32_t nIndex;
    QRect rect;
};

// Grid side for a layout (1, 2, 3 or 4); 0 for any other pane count.
int32_t GridSide(int32_t nLayout);

// The rectangle of cell `nIndex` in an n x n grid over a W x H area.
QRect GridCell(int32_t nSide, int32_t nIndex, int32_t nWidth, int32_t nHeight);

// The panes to show and their rectangles. Layout 1 shows pane 0; an enlarged
// view shows only the selected pane; otherwise every pane of the grid. Any
// other layout places nothing.
std::vector<PanePlacement> LayoutPanes(int32_t nLayout, bool bEnlarged, int32_t nSelIndex,
                                       int32_t nWidth, int32_t nHeight);

// The grid cell holding `point`, or -1 when it lies in no cell. Layout 1 is
// always pane 0; the enlarged view is not considered.
int32_t PaneIndexAt(int32_t nLayout, int32_t nWidth, int32_t nHeight, QPoint point);
