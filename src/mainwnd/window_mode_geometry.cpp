#include "mainwnd/window_mode_geometry.h"

namespace {
// Interlaced recorder formats store one field; the picture on screen has twice the lines.
constexpr int kFieldWidth = 704;
constexpr int kPalFieldHeight = 288;
constexpr int kNtscFieldHeight = 240;
}  // namespace

QRect FullScreenWindowRect(const QRect& rcWindow, const QRect& rcPaneArea, const QRect& rcScreen,
                           int nOsMajorVersion) {
    // Right and bottom edges are exclusive here, as in the window system's rectangles.
    const int nWindowRight = rcWindow.x() + rcWindow.width();
    const int nWindowBottom = rcWindow.y() + rcWindow.height();
    const int nPaneRight = rcPaneArea.x() + rcPaneArea.width();
    const int nPaneBottom = rcPaneArea.y() + rcPaneArea.height();
    int nLeft = rcScreen.x() + rcWindow.x() - rcPaneArea.x();
    int nTop = rcScreen.y() + rcWindow.y() - rcPaneArea.y();
    int nRight = rcScreen.x() + rcScreen.width() + nWindowRight - nPaneRight;
    int nBottom = rcScreen.y() + rcScreen.height() + nWindowBottom - nPaneBottom;
    const int nInset = nOsMajorVersion < 6 ? 1 : 5;
    nLeft += nInset;
    nTop += nInset;
    nRight -= nInset;
    nBottom -= nInset;
    return QRect(nLeft, nTop, nRight - nLeft, nBottom - nTop);
}

QSize SizeModePictureSize(int nSizeMode, QSize picture) {
    int w = picture.width();
    int h = picture.height();
    if (w == kFieldWidth && h == kPalFieldHeight) h = 2 * kPalFieldHeight;
    if (w == kFieldWidth && h == kNtscFieldHeight) h = 2 * kNtscFieldHeight;
    switch (nSizeMode) {
        case SIZE_MODE_DOUBLE:
            return QSize(w * 2, h * 2);
        case SIZE_MODE_HALF:
            return QSize(w / 2, h / 2);
        case SIZE_MODE_QUARTER:
            return QSize(w / 4, h / 4);
        default:
            return QSize(w, h);
    }
}

QRect SizeModeWindowRect(QSize scaledPicture, int nPlaylistWidth, const QRect& rcScreen) {
    const int nWidth = scaledPicture.width() + nPlaylistWidth + SIZE_MODE_EXTRA_WIDTH;
    const int nHeight = scaledPicture.height() + SIZE_MODE_EXTRA_HEIGHT;
    const int nLeft = rcScreen.x() + (rcScreen.width() - nWidth) / 2;
    const int nTop = rcScreen.y() + (rcScreen.height() - nHeight) / 2;
    return QRect(nLeft, nTop, nWidth, nHeight);
}
