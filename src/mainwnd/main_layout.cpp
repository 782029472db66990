#include "mainwnd/main_layout.h"

#include <algorithm>

#include "mainwnd/control_ids.h"

namespace {
constexpr int kStatusStrip = 20;
constexpr int kRulerStrip = 129;
constexpr int kControlBarHeight = 64;
// From the title's right end to the playlist's right edge: the five header
// buttons (W - 96 and right of it) and a gap of two pixels.
constexpr int kTitleRightRoom = 100;

// Small buttons of the control bar, left to right.
constexpr int kSmallButtons[] = {IDC_GOTO_START, IDC_SPEED_DOWN,    IDC_SPEED_UP, IDC_GOTO_END,
                                 IDC_FRAME_BACK, IDC_FRAME_FORWARD, IDC_CAPTURE,  IDC_REVERSE,
                                 IDC_SYNC,       IDC_SOUND};
constexpr int kSmallButtonX[] = {99, 126, 153, 180, 212, 239, 271, 298, 325, 362};
// Playlist header buttons, right to left.
constexpr int kHeaderButtons[] = {IDC_PLAYLIST_HIDE, IDC_PLAY_ORDER, IDC_PLAYLIST_CLEAR,
                                  IDC_PLAYLIST_DELETE, IDC_PLAYLIST_ADD};
}  // namespace

int BottomStrip(bool bSyncRuler) { return bSyncRuler ? kRulerStrip : kStatusStrip; }

MainLayout ComputeMainLayout(const MainLayoutInput& in) {
    const int W = in.nWidth;
    const int H = in.nHeight;
    const int P = in.nPlaylistWidth;
    const int B = BottomStrip(in.bSyncRuler);
    const bool bList = in.bPlaylistShown;
    MainLayout out;

    // With the playlist hidden nothing sits right of the pane bar, so it spans
    // the width like the pane area below it.
    out[IDC_PANE_BAR] = {bList ? QRect(1, 1, W - P - 5, 26) : QRect(1, 1, W - 2, 26)};
    out[IDC_PLAYLIST_BAR] = {QRect(W - P - 1, 1, P, 24), bList};
    // The title takes the room up to the header buttons, so that longer
    // translations of "Playlist" fit.
    out[IDC_PLAYLIST_TITLE] = {QRect(W - P + 2, 5, P - kTitleRightRoom, 15), bList};
    for (int i = 0; i < 5; ++i) {
        out[kHeaderButtons[i]] = {QRect(W - 20 - 19 * i, 4, 18, 18), bList};
    }
    out[IDC_CONTROL_BAR] = {QRect(0, H - B - kControlBarHeight, W, kControlBarHeight)};
    out[IDC_PLAY_PAUSE] = {QRect(18, H - B - 43, 38, 39)};
    out[IDC_STOP] = {QRect(56, H - B - 43, 38, 39)};
    for (int i = 0; i < 10; ++i) {
        out[kSmallButtons[i]] = {QRect(kSmallButtonX[i], H - B - 37, 26, 25)};
    }
    const bool bWide = W >= WIDE_BUTTONS_MIN_WIDTH;
    out[IDC_TOOLBOX] = {QRect(W - 26, H - B - 35, 24, 22), bWide};
    out[IDC_PLAYLIST_TOGGLE] = {QRect(W - 51, H - B - 35, 24, 22), bWide};
    out[IDC_OPEN] = {QRect(W - 76, H - B - 35, 24, 22), bWide};
    out[IDC_LANGUAGE] = {QRect(W - 116, H - B - 33, 34, 17), false};
    out[IDC_VOLUME] = {QRect(394, H - B - 28, 70, 8)};
    out[IDC_PROGRESS] = {QRect(18, H - B - 60, W - 36, 10)};

    const bool bStatus = !in.bSyncRuler;
    out[IDC_STATUS] = {QRect(0, H - 20, 100, 20), bStatus};
    out[IDC_LEFT_TIME] = {QRect(100, H - 20, W - 300, 20), bStatus};
    out[IDC_RIGHT_TIME] = {QRect(W - 200, H - 20, 200, 20), bStatus};
    out[IDC_SYNC_RULER] = {QRect(0, H - kRulerStrip, W, kRulerStrip), in.bSyncRuler};

    if (bList) {
        out[IDC_PANE_AREA] = {QRect(1, 27, W - P - 5, H - B - 92)};
        out[IDC_LOGO] = {QRect(1, 1, W - 2, H - B - 66), false};
        out[IDC_SPLITTER] = {QRect(W - P - 4, 0, 3, H - B - 66)};
    } else {
        out[IDC_PANE_AREA] = {QRect(2, 27, W - 5, H - B - 92)};
        out[IDC_LOGO] = {QRect(1, 1, W - 2, H - B - 66), false};
        out[IDC_SPLITTER] = {QRect(W - 4, 0, 3, H - B - 66)};
    }
    out[IDC_PLAYLIST] = {QRect(W - P - 1, 25, P, H - B - 90), bList};
    return out;
}

int DraggedPlaylistWidth(int nStartWidth, int nDx) {
    return std::clamp(nStartWidth - nDx, PLAYLIST_WIDTH_MIN, PLAYLIST_WIDTH_MAX);
}

QRect SplitterHotZone(const MainLayoutInput& in) {
    if (!in.bPlaylistShown) return QRect();
    const QRect line = ComputeMainLayout(in).at(IDC_SPLITTER).rect;
    return QRect(line.x() + line.width() - SPLITTER_HOT_ZONE, line.y(), SPLITTER_HOT_ZONE,
                 line.height());
}

QSize MinimumWindowSize(int nLayout, bool bPlayingOrPaused) {
    if (nLayout == 1 && bPlayingOrPaused) return QSize(1, 1);
    return QSize(800, 600);
}
