#include <gtest/gtest.h>

#include <string>

#include "mainwnd/control_ids.h"
#include "mainwnd/frame_geometry.h"
#include "mainwnd/main_layout.h"

namespace {
MainLayout Layout(int W, int H, int P = 192, bool bList = true, bool bRuler = false) {
    return ComputeMainLayout({W, H, P, bList, bRuler});
}
}  // namespace

// Every control's rectangle at the start-up client size and at a larger one,
// worked out by hand from the layout table.
TEST(MainLayout, EveryControlAtItsRectangleAtTwoClientSizes) {
    struct Expected {
        int nId;
        QRect small;  // client 792 x 565
        QRect large;  // client 1272 x 903
    };
    const Expected table[] = {
        {IDC_PANE_BAR, {1, 1, 595, 26}, {1, 1, 1075, 26}},
        {IDC_PLAYLIST_BAR, {599, 1, 192, 24}, {1079, 1, 192, 24}},
        {IDC_PLAYLIST_TITLE, {602, 5, 92, 15}, {1082, 5, 92, 15}},
        {IDC_PLAYLIST_HIDE, {772, 4, 18, 18}, {1252, 4, 18, 18}},
        {IDC_PLAY_ORDER, {753, 4, 18, 18}, {1233, 4, 18, 18}},
        {IDC_PLAYLIST_CLEAR, {734, 4, 18, 18}, {1214, 4, 18, 18}},
        {IDC_PLAYLIST_DELETE, {715, 4, 18, 18}, {1195, 4, 18, 18}},
        {IDC_PLAYLIST_ADD, {696, 4, 18, 18}, {1176, 4, 18, 18}},
        {IDC_CONTROL_BAR, {0, 481, 792, 64}, {0, 819, 1272, 64}},
        {IDC_PLAY_PAUSE, {18, 502, 38, 39}, {18, 840, 38, 39}},
        {IDC_STOP, {56, 502, 38, 39}, {56, 840, 38, 39}},
        {IDC_GOTO_START, {99, 508, 26, 25}, {99, 846, 26, 25}},
        {IDC_SPEED_DOWN, {126, 508, 26, 25}, {126, 846, 26, 25}},
        {IDC_SPEED_UP, {153, 508, 26, 25}, {153, 846, 26, 25}},
        {IDC_GOTO_END, {180, 508, 26, 25}, {180, 846, 26, 25}},
        {IDC_FRAME_BACK, {212, 508, 26, 25}, {212, 846, 26, 25}},
        {IDC_FRAME_FORWARD, {239, 508, 26, 25}, {239, 846, 26, 25}},
        {IDC_CAPTURE, {271, 508, 26, 25}, {271, 846, 26, 25}},
        {IDC_REVERSE, {298, 508, 26, 25}, {298, 846, 26, 25}},
        {IDC_SYNC, {325, 508, 26, 25}, {325, 846, 26, 25}},
        {IDC_SOUND, {362, 508, 26, 25}, {362, 846, 26, 25}},
        {IDC_TOOLBOX, {766, 510, 24, 22}, {1246, 848, 24, 22}},
        {IDC_PLAYLIST_TOGGLE, {741, 510, 24, 22}, {1221, 848, 24, 22}},
        {IDC_OPEN, {716, 510, 24, 22}, {1196, 848, 24, 22}},
        {IDC_LANGUAGE, {676, 512, 34, 17}, {1156, 850, 34, 17}},
        {IDC_VOLUME, {394, 517, 70, 8}, {394, 855, 70, 8}},
        {IDC_PROGRESS, {18, 485, 756, 10}, {18, 823, 1236, 10}},
        {IDC_STATUS, {0, 545, 100, 20}, {0, 883, 100, 20}},
        {IDC_LEFT_TIME, {100, 545, 492, 20}, {100, 883, 972, 20}},
        {IDC_RIGHT_TIME, {592, 545, 200, 20}, {1072, 883, 200, 20}},
        {IDC_PANE_AREA, {1, 27, 595, 453}, {1, 27, 1075, 791}},
        {IDC_SPLITTER, {596, 0, 3, 479}, {1076, 0, 3, 817}},
        {IDC_PLAYLIST, {599, 25, 192, 455}, {1079, 25, 192, 793}},
    };
    const MainLayout small = Layout(792, 565);
    const MainLayout large = Layout(1272, 903);
    for (const Expected& e : table) {
        EXPECT_EQ(small.at(e.nId).rect, e.small) << e.nId;
        EXPECT_EQ(large.at(e.nId).rect, e.large) << e.nId;
    }
    EXPECT_FALSE(small.at(IDC_LANGUAGE).bVisible);
    EXPECT_FALSE(small.at(IDC_SYNC_RULER).bVisible);
}

namespace {
// Bars that other controls sit on.
bool IsBackground(int nId) {
    return nId == IDC_PANE_BAR || nId == IDC_PLAYLIST_BAR || nId == IDC_CONTROL_BAR;
}
}  // namespace

TEST(MainLayout, NoControlOverlapsAnotherAndEverythingStaysInsideTheClient) {
    for (QSize size : {QSize(792, 565), QSize(1000, 700), QSize(1912, 1010)}) {
        for (int P : {PLAYLIST_WIDTH_MIN, PLAYLIST_WIDTH_DEFAULT, PLAYLIST_WIDTH_MAX}) {
            for (bool bRuler : {false, true}) {
                const QRect client(QPoint(0, 0), size);
                const MainLayout l = Layout(size.width(), size.height(), P, true, bRuler);
                const std::string where = std::to_string(size.width()) + "x" +
                                          std::to_string(size.height()) +
                                          " P=" + std::to_string(P) + (bRuler ? " ruler" : "");
                for (const auto& [nId, place] : l) {
                    if (!place.bVisible) continue;
                    EXPECT_TRUE(client.contains(place.rect)) << nId << " " << where;
                    if (IsBackground(nId)) continue;
                    for (const auto& [nOther, other] : l) {
                        if (nOther <= nId || !other.bVisible || IsBackground(nOther)) continue;
                        EXPECT_FALSE(place.rect.intersects(other.rect))
                            << nId << " and " << nOther << " " << where;
                    }
                }
                // What sits on a bar stays on it.
                for (int nId : {IDC_PLAYLIST_TITLE, IDC_PLAYLIST_HIDE, IDC_PLAY_ORDER,
                                IDC_PLAYLIST_CLEAR, IDC_PLAYLIST_DELETE, IDC_PLAYLIST_ADD}) {
                    EXPECT_TRUE(l.at(IDC_PLAYLIST_BAR).rect.contains(l.at(nId).rect))
                        << nId << " " << where;
                }
                for (int nId : {IDC_PLAY_PAUSE, IDC_STOP, IDC_SOUND, IDC_VOLUME, IDC_PROGRESS,
                                IDC_TOOLBOX, IDC_OPEN}) {
                    EXPECT_TRUE(l.at(IDC_CONTROL_BAR).rect.contains(l.at(nId).rect))
                        << nId << " " << where;
                }
            }
        }
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
