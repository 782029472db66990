#pragma once

#include <QRect>

// Arithmetic of the skinned scroll bar: where its arrows, track and thumb
// lie, what a point hits, where a thumb drag leads, and which cell of the
// skin each part is drawn from. Pure; the widget applies it.

struct SkinScrollInfo {
    int nMin = 0;
    int nMax = 100;
    int nPage = 10;
    int nPos = 5;
    int nTrackPos = -1;  // -1 while the thumb is not dragged
};

enum class SkinScrollPart { None = -1, ArrowUp = 0, PageUp, Thumb, PageDown, ArrowDown };

// Standard scroll notification codes.
enum SkinScrollCode {
    SCROLL_LINE_UP = 0,
    SCROLL_LINE_DOWN = 1,
    SCROLL_PAGE_UP = 2,
    SCROLL_PAGE_DOWN = 3,
    SCROLL_THUMB_POSITION = 4,
    SCROLL_THUMB_TRACK = 5,
};

// Looks of a part: rows of the skin.
enum SkinScrollLook { LOOK_NORMAL = 0, LOOK_HOT = 1, LOOK_PRESSED = 2 };

struct SkinScrollLayout {
    int nArrow = 0;  // length of each arrow
    int nLength = 0;
    int nTrack = 0;
    int nThumbLength = 0;  // 0: no thumb drawn
    int nThumbStart = 0;
};

// `nCell` is the skin's cell side, `nLength` the bar's length along its axis.
SkinScrollLayout LayoutSkinScroll(int nCell, int nLength, const SkinScrollInfo& info);
// The part at a distance along the bar.
SkinScrollPart HitTestSkinScroll(const SkinScrollLayout& layout, int nAlong);
// The span of a part along the bar: [first, second).
QPair<int, int> SkinScrollPartSpan(const SkinScrollLayout& layout, SkinScrollPart ePart);
// Highest position the thumb can reach: maximum - minimum - page + 1.
int SkinScrollTop(const SkinScrollInfo& info);
// Position after dragging the thumb `nOffset` pixels from where it was at `nStartPos`.
int SkinScrollDragPos(const SkinScrollInfo& info, const SkinScrollLayout& layout, int nStartPos,
                      int nOffset);
// The standard answer to a notification: lines and pages move by 1 and by a
// page, thumb codes set the given value; limited to minimum..top.
int SkinScrollApply(const SkinScrollInfo& info, int nCode, int nValue);
// The cell of the skin a part is drawn from.
QRect SkinScrollCell(int nCell, SkinScrollPart ePart, bool bHorizontal, int nLook);
