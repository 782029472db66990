#include "mainwnd/frame_geometry.h"

namespace {
// Corners a little larger than the border are easier to grab.
constexpr int kCornerGrip = 12;

// From (left, top) to (right, bottom) with the right and bottom edges outside.
QRect Span(int nLeft, int nTop, int nRight, int nBottom) {
    return QRect(nLeft, nTop, nRight - nLeft, nBottom - nTop);
}
}  // namespace

CaptionButtonRects CaptionButtonsFor(int w) {
    CaptionButtonRects r;
    r.close = Span(w - 25, 5, w - 6, 23);
    r.maximize = Span(r.close.left() - 21, 5, r.close.left() - 2, 23);
    r.minimize = Span(r.maximize.left() - 21, 5, r.maximize.left() - 2, 23);
    r.menu = Span(r.minimize.left() - 44, 5, r.minimize.left() - 25, 23);
    return r;
}

CaptionButton CaptionButtonAt(int nWindowWidth, QPoint point) {
    const CaptionButtonRects r = CaptionButtonsFor(nWindowWidth);
    if (r.close.contains(point)) return CaptionButton::Close;
    if (r.maximize.contains(point)) return CaptionButton::Maximize;
    if (r.minimize.contains(point)) return CaptionButton::Minimize;
    if (r.menu.contains(point)) return CaptionButton::Menu;
    return CaptionButton::None;
}

QRect CaptionIconRect() { return Span(5, 5, 21, 21); }

QRect LogoRect() { return QRect(8, 0, 95, 29); }

QRect ClientRectIn(QSize window) {
    return QRect(FRAME_BORDER, CAPTION_HEIGHT, window.width() - 2 * FRAME_BORDER,
                 window.height() - CAPTION_HEIGHT - FRAME_BORDER);
}

QSize WindowSizeForClient(QSize client) {
    return QSize(client.width() + 2 * FRAME_BORDER,
                 client.height() + CAPTION_HEIGHT + FRAME_BORDER);
}

Qt::Edges ResizeEdgesAt(QSize window, QPoint point) {
    const int w = window.width();
    const int h = window.height();
    const int x = point.x();
    const int y = point.y();
    if (x < 0 || y < 0 || x >= w || y >= h) return {};
    Qt::Edges edges;
    const bool bLeft = x < FRAME_BORDER || (x < kCornerGrip && y >= h - kCornerGrip);
    const bool bRight = x >= w - FRAME_BORDER || (x >= w - kCornerGrip && y >= h - kCornerGrip);
    const bool bTop = y < FRAME_BORDER;
    const bool bBottom = y >= h - FRAME_BORDER ||
                         (y >= h - kCornerGrip && (x < FRAME_BORDER || x >= w - FRAME_BORDER));
    if (bLeft) edges |= Qt::LeftEdge;
    if (bRight) edges |= Qt::RightEdge;
    if (bTop) edges |= Qt::TopEdge;
    if (bBottom) edges |= Qt::BottomEdge;
    return edges;
}
