#pragma once

#include <QRect>
#include <QSize>
#include <map>

// Geometry of the main window's client area: where every control goes for a
// client size, the playlist width and the two optional parts (playlist, sync
// ruler). Pure arithmetic; the window applies it.

inline constexpr int PLAYLIST_WIDTH_DEFAULT = 192;
inline constexpr int PLAYLIST_WIDTH_MIN = 150;
inline constexpr int PLAYLIST_WIDTH_MAX = 250;
// Below this client width the open, playlist and tool box buttons are hidden.
inline constexpr int WIDE_BUTTONS_MIN_WIDTH = 580;
inline constexpr int SPLITTER_HOT_ZONE = 7;

struct MainLayoutInput {
    int nWidth = 0;
    int nHeight = 0;
    int nPlaylistWidth = PLAYLIST_WIDTH_DEFAULT;
    bool bPlaylistShown = true;
    bool bSyncRuler = false;  // synchronous mode with the ruler visible
};

struct ControlPlace {
    QRect rect;
    bool bVisible = true;
};

// Every control by its id (control_ids.h), including the pane area and the ruler.
using MainLayout = std::map<int, ControlPlace>;

// Height of the strip under the control bar: the status line or the ruler.
int BottomStrip(bool bSyncRuler);

MainLayout ComputeMainLayout(const MainLayoutInput& in);

// The playlist width after the splitter moved `nDx` pixels from where a drag
// started with width `nStartWidth`; moving left widens the playlist.
int DraggedPlaylistWidth(int nStartWidth, int nDx);

// Where a left press starts a splitter drag: 7 pixels left of the right edge
// of the splitter line; empty while the playlist is hidden.
QRect SplitterHotZone(const MainLayoutInput& in);

// The smallest window the user can drag to: 800 x 600, or 1 x 1 while one
// file plays or pauses in the one-pane layout.
QSize MinimumWindowSize(int nLayout, bool bPlayingOrPaused);
