#pragma once

#include <QRect>
#include <QSize>

// Rectangles of the main window's modes: full screen and the four size modes.
// Pure arithmetic in screen coordinates; the window applies the results.

// Size modes; the number is what the window stores.
inline constexpr int SIZE_MODE_NORMAL = 1;
inline constexpr int SIZE_MODE_DOUBLE = 2;
inline constexpr int SIZE_MODE_HALF = 3;
inline constexpr int SIZE_MODE_QUARTER = 4;

// Width and height the size modes add to the picture for the frame, the
// controls and the playlist column (the playlist width comes on top).
inline constexpr int SIZE_MODE_EXTRA_WIDTH = 13;
inline constexpr int SIZE_MODE_EXTRA_HEIGHT = 121;

// The window rectangle that puts the pane area over the whole screen: the
// window grows by what lies around the pane area, then every edge moves
// inwards by the system's frame inset (1 pixel before major version 6, else 5).
QRect FullScreenWindowRect(const QRect& rcWindow, const QRect& rcPaneArea, const QRect& rcScreen,
                           int nOsMajorVersion);

// The picture size a size mode fits the window to: 704 x 288 and 704 x 240
// count as their full-height frames (576 and 480 lines), then mode 2 doubles,
// 3 halves and 4 quarters both sides (integer division).
QSize SizeModePictureSize(int nSizeMode, QSize picture);

// The window rectangle of a size mode for an already scaled picture, centred
// on the screen whether the playlist is shown or not.
QRect SizeModeWindowRect(QSize scaledPicture, int nPlaylistWidth, const QRect& rcScreen);
