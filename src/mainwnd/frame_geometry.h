#pragma once

#include <QRect>
#include <QSize>

// The self-drawn frame of the main window: a 31-pixel caption with the logo
// and four buttons, and 4-pixel borders left, right and at the bottom.
// Rectangles are in window coordinates.

inline constexpr int CAPTION_HEIGHT = 31;
inline constexpr int FRAME_BORDER = 4;

enum class CaptionButton { None, Menu, Minimize, Maximize, Close };

struct CaptionButtonRects {
    QRect menu;
    QRect minimize;
    QRect maximize;
    QRect close;
};

CaptionButtonRects CaptionButtonsFor(int nWindowWidth);
CaptionButton CaptionButtonAt(int nWindowWidth, QPoint point);

// The icon area whose press opens the system menu.
QRect CaptionIconRect();
QRect LogoRect();

// Where the client area sits inside a window of the given size.
QRect ClientRectIn(QSize window);
QSize WindowSizeForClient(QSize client);

// Which edges a press at `point` resizes: the borders and, along the caption,
// its top 4 pixels. None inside the caption or the client area.
Qt::Edges ResizeEdgesAt(QSize window, QPoint point);
