#include <gtest/gtest.h>

#include "mainwnd/control_ids.h"
#include "mainwnd/frame_geometry.h"
#include "mainwnd/main_layout.h"

namespace {
MainLayout Layout(int W, int H, int P = 192, bool bList = true, bool bRuler = false) {
    return ComputeMainLayout({W, H, P, bList, bRuler});
}
}  // namespace

TEST(MainLayout, EveryControlAtItsRectangleForSeveralClientSizes) {
    for (QSize size : {QSize(792, 565), QSize(1271, 903), QSize(1000, 700)}) {
        const int W = size.width();
        const int H = size.height();
        const int P = 192;
        const MainLayout l = Layout(W, H);
        EXPECT_EQ(l.at(IDC_PANE_BAR).rect, QRect(1, 1, W - P - 5, 26));
        EXPECT_EQ(l.at(IDC_PLAYLIST_BAR).rect, QRect(W - P - 1, 1, P, 24));
        EXPECT_EQ(l.at(IDC_PLAYLIST_TITLE).rect, QRect(W - P + 2, 5, 60, 15));
        EXPECT_EQ(l.at(IDC_PLAYLIST_HIDE).rect, QRect(W - 20, 4, 18, 18));
        EXPECT_EQ(l.at(IDC_PLAY_ORDER).rect, QRect(W - 39, 4, 18, 18));
        EXPECT_EQ(l.at(IDC_PLAYLIST_ADD).rect, QRect(W - 96, 4, 18, 18));
        EXPECT_EQ(l.at(IDC_CONTROL_BAR).rect, QRect(0, H - 84, W, 64));
        EXPECT_EQ(l.at(IDC_PLAY_PAUSE).rect, QRect(18, H - 63, 38, 39));
        EXPECT_EQ(l.at(IDC_STOP).rect, QRect(56, H - 63, 38, 39));
        EXPECT_EQ(l.at(IDC_GOTO_START).rect, QRect(99, H - 57, 26, 25));
        EXPECT_EQ(l.at(IDC_FRAME_BACK).rect, QRect(212, H - 57, 26, 25));
        EXPECT_EQ(l.at(IDC_SOUND).rect, QRect(362, H - 57, 26, 25));
        EXPECT_EQ(l.at(IDC_TOOLBOX).rect, QRect(W - 26, H - 55, 24, 22));
        EXPECT_EQ(l.at(IDC_OPEN).rect, QRect(W - 76, H - 55, 24, 22));
        EXPECT_EQ(l.at(IDC_LANGUAGE).rect, QRect(W - 116, H - 53, 34, 17));
        EXPECT_FALSE(l.at(IDC_LANGUAGE).bVisible);
        EXPECT_EQ(l.at(IDC_VOLUME).rect, QRect(394, H - 48, 70, 8));
        EXPECT_EQ(l.at(IDC_PROGRESS).rect, QRect(18, H - 80, W - 36, 10));
        EXPECT_EQ(l.at(IDC_STATUS).rect, QRect(0, H - 20, 100, 20));
        EXPECT_EQ(l.at(IDC_LEFT_TIME).rect, QRect(100, H - 20, W - 300, 20));
        EXPECT_EQ(l.at(IDC_RIGHT_TIME).rect, QRect(W - 200, H - 20, 200, 20));
        EXPECT_EQ(l.at(IDC_PANE_AREA).rect, QRect(1, 27, W - P - 5, H - 112));
        EXPECT_EQ(l.at(IDC_SPLITTER).rect, QRect(W - P - 4, 0, 3, H - 86));
        EXPECT_EQ(l.at(IDC_PLAYLIST).rect, QRect(W - P - 1, 25, P, H - 110));
        EXPECT_FALSE(l.at(IDC_SYNC_RULER).bVisible);
    }
}

TEST(MainLayout, HiddenPlaylistWidensThePaneAreaAndHidesTheListParts) {
    const MainLayout l = Layout(900, 700, 200, false);
    EXPECT_EQ(l.at(IDC_PANE_AREA).rect, QRect(2, 27, 895, 588));
    EXPECT_EQ(l.at(IDC_SPLITTER).rect, QRect(896, 0, 3, 614));
    EXPECT_EQ(l.at(IDC_LOGO).rect, QRect(1, 1, 898, 614));
    for (int nId : {IDC_PLAYLIST, IDC_PLAYLIST_BAR, IDC_PLAYLIST_TITLE, IDC_PLAYLIST_ADD,
                    IDC_PLAYLIST_DELETE, IDC_PLAYLIST_CLEAR, IDC_PLAY_ORDER, IDC_PLAYLIST_HIDE}) {
        EXPECT_FALSE(l.at(nId).bVisible) << nId;
    }
    EXPECT_TRUE(SplitterHotZone({900, 700, 200, false, false}).isEmpty());
}

TEST(MainLayout, SyncRulerTakesTheBottomAndHidesTheStatusLine) {
    const MainLayout l = Layout(800, 700, 192, true, true);
    EXPECT_EQ(l.at(IDC_SYNC_RULER).rect, QRect(0, 571, 800, 129));
    EXPECT_TRUE(l.at(IDC_SYNC_RULER).bVisible);
    EXPECT_FALSE(l.at(IDC_STATUS).bVisible);
    EXPECT_FALSE(l.at(IDC_RIGHT_TIME).bVisible);
    EXPECT_EQ(l.at(IDC_CONTROL_BAR).rect, QRect(0, 507, 800, 64));
    EXPECT_EQ(l.at(IDC_PANE_AREA).rect.height(), 700 - 129 - 92);
}

TEST(MainLayout, NarrowWindowHidesTheOpenPlaylistAndToolboxButtons) {
    for (int nId : {IDC_OPEN, IDC_PLAYLIST_TOGGLE, IDC_TOOLBOX}) {
        EXPECT_FALSE(Layout(579, 500).at(nId).bVisible);
        EXPECT_TRUE(Layout(580, 500).at(nId).bVisible);
    }
}

TEST(MainLayout, SplitterDragStaysWithinItsBoundsAndHotZoneIsLeftOfTheLine) {
    EXPECT_EQ(DraggedPlaylistWidth(192, -30), 222);
    EXPECT_EQ(DraggedPlaylistWidth(192, -500), 250);
    EXPECT_EQ(DraggedPlaylistWidth(192, 500), 150);
    EXPECT_EQ(DraggedPlaylistWidth(192, 42), 150);
    EXPECT_EQ(DraggedPlaylistWidth(192, 43), 150);
    EXPECT_EQ(DraggedPlaylistWidth(192, 41), 151);
    const MainLayoutInput in{792, 565, 192, true, false};
    const QRect line = ComputeMainLayout(in).at(IDC_SPLITTER).rect;
    const QRect zone = SplitterHotZone(in);
    EXPECT_EQ(zone.right(), line.right());
    EXPECT_EQ(zone.width(), 7);
}

TEST(MainLayout, MinimumSizeShrinksOnlyForOnePlayingPane) {
    EXPECT_EQ(MinimumWindowSize(1, true), QSize(1, 1));
    EXPECT_EQ(MinimumWindowSize(1, false), QSize(800, 600));
    EXPECT_EQ(MinimumWindowSize(4, true), QSize(800, 600));
}

TEST(FrameGeometry, CaptionButtonsSitRightToLeftWithTheirGaps) {
    const CaptionButtonRects r = CaptionButtonsFor(800);
    EXPECT_EQ(r.close, QRect(775, 5, 19, 18));
    EXPECT_EQ(r.maximize, QRect(754, 5, 19, 18));
    EXPECT_EQ(r.minimize, QRect(733, 5, 19, 18));
    EXPECT_EQ(r.menu, QRect(689, 5, 19, 18));
    EXPECT_EQ(CaptionButtonAt(800, QPoint(780, 10)), CaptionButton::Close);
    EXPECT_EQ(CaptionButtonAt(800, QPoint(774, 10)), CaptionButton::None);
    EXPECT_EQ(CaptionButtonAt(800, QPoint(690, 22)), CaptionButton::Menu);
    EXPECT_EQ(CaptionButtonAt(800, QPoint(690, 23)), CaptionButton::None);
}

TEST(FrameGeometry, ClientSitsUnderTheCaptionAndResizeGripsFollowTheBorders) {
    EXPECT_EQ(ClientRectIn(QSize(800, 600)), QRect(4, 31, 792, 565));
    EXPECT_EQ(WindowSizeForClient(QSize(792, 565)), QSize(800, 600));
    const QSize w(800, 600);
    EXPECT_EQ(ResizeEdgesAt(w, QPoint(1, 300)), Qt::LeftEdge);
    EXPECT_EQ(ResizeEdgesAt(w, QPoint(798, 300)), Qt::RightEdge);
    EXPECT_EQ(ResizeEdgesAt(w, QPoint(400, 598)), Qt::BottomEdge);
    EXPECT_EQ(ResizeEdgesAt(w, QPoint(799, 599)), Qt::RightEdge | Qt::BottomEdge);
    EXPECT_EQ(ResizeEdgesAt(w, QPoint(2, 595)), Qt::LeftEdge | Qt::BottomEdge);
    EXPECT_EQ(ResizeEdgesAt(w, QPoint(400, 2)), Qt::TopEdge);
    EXPECT_EQ(ResizeEdgesAt(w, QPoint(400, 15)), Qt::Edges());
    EXPECT_EQ(ResizeEdgesAt(w, QPoint(400, 300)), Qt::Edges());
    EXPECT_EQ(ResizeEdgesAt(w, QPoint(900, 300)), Qt::Edges());
}
