#include <gtest/gtest.h>

#include "mainwnd/main_layout.h"
#include "mainwnd/window_mode_geometry.h"

TEST(SizeModeGeometry, FieldPicturesCountAsFullFramesBeforeScaling) {
    EXPECT_EQ(SizeModePictureSize(SIZE_MODE_NORMAL, {704, 288}), QSize(704, 576));
    EXPECT_EQ(SizeModePictureSize(SIZE_MODE_NORMAL, {704, 240}), QSize(704, 480));
    EXPECT_EQ(SizeModePictureSize(SIZE_MODE_DOUBLE, {704, 288}), QSize(1408, 1152));
    EXPECT_EQ(SizeModePictureSize(SIZE_MODE_QUARTER, {704, 240}), QSize(176, 120));
    // Only those two sizes are fields; a 720 x 288 or a 704 x 576 picture stays as it is.
    EXPECT_EQ(SizeModePictureSize(SIZE_MODE_NORMAL, {720, 288}), QSize(720, 288));
    EXPECT_EQ(SizeModePictureSize(SIZE_MODE_NORMAL, {704, 576}), QSize(704, 576));
    // Halving and quartering divide as integers.
    EXPECT_EQ(SizeModePictureSize(SIZE_MODE_HALF, {161, 121}), QSize(80, 60));
    EXPECT_EQ(SizeModePictureSize(SIZE_MODE_QUARTER, {161, 123}), QSize(40, 30));
    EXPECT_EQ(SizeModePictureSize(SIZE_MODE_DOUBLE, {0, 0}), QSize(0, 0));
}

TEST(SizeModeGeometry, WindowAddsPlaylistAndControlsAndIsCentredOnItsScreen) {
    const QSize picture = SizeModePictureSize(SIZE_MODE_NORMAL, {704, 288});
    const QRect rc = SizeModeWindowRect(picture, PLAYLIST_WIDTH_DEFAULT, QRect(0, 0, 1920, 1080));
    EXPECT_EQ(rc.size(), QSize(704 + PLAYLIST_WIDTH_DEFAULT + 13, 576 + 121));
    EXPECT_EQ(rc.topLeft(), QPoint((1920 - 909) / 2, (1080 - 697) / 2));
    // A second screen to the right: centred on that one.
    const QRect rcRight = SizeModeWindowRect({320, 240}, 250, QRect(1920, 0, 1280, 1024));
    EXPECT_EQ(rcRight, QRect(1920 + (1280 - 583) / 2, (1024 - 361) / 2, 583, 361));
    // A window larger than the screen starts left of and above it.
    const QRect rcLarge = SizeModeWindowRect({1408, 1152}, 150, QRect(0, 0, 1280, 1024));
    EXPECT_EQ(rcLarge.topLeft(), QPoint((1280 - 1571) / 2, (1024 - 1273) / 2));
}

TEST(FullScreenGeometry, PaneAreaCoversTheScreenUpToTheFrameInset) {
    // A window at (100, 50), 800 x 600, with its pane area at (105, 112), 595 x 453.
    const QRect rcWindow(100, 50, 800, 600);
    const QRect rcPane(105, 112, 595, 453);
    const QRect rcScreen(0, 0, 1920, 1080);
    for (int nVersion : {5, 6, 10}) {
        const int nInset = nVersion < 6 ? 1 : 5;
        const QRect rc = FullScreenWindowRect(rcWindow, rcPane, rcScreen, nVersion);
        // The pane area keeps its place inside the window.
        const QRect rcPaneAfter =
            rcPane.translated(rc.topLeft() - rcWindow.topLeft())
                .adjusted(0, 0, rc.width() - rcWindow.width(), rc.height() - rcWindow.height());
        EXPECT_EQ(rcPaneAfter, rcScreen.adjusted(nInset, nInset, -nInset, -nInset)) << nVersion;
    }
    const QRect rc = FullScreenWindowRect(rcWindow, rcPane, rcScreen, 6);
    EXPECT_EQ(rc, QRect(-5 + 5, -62 + 5, 1920 + 205 - 10, 1080 + 85 + 62 - 10));
}

TEST(FullScreenGeometry, SecondScreenIsCoveredWhereItLies) {
    const QRect rcWindow(2000, 100, 800, 600);
    const QRect rcPane(2005, 162, 595, 453);
    const QRect rcScreen(1920, 0, 1280, 1024);
    const QRect rc = FullScreenWindowRect(rcWindow, rcPane, rcScreen, 6);
    EXPECT_EQ(rc.left(), 1920 - 5 + 5);
    EXPECT_EQ(rc.top(), -62 + 5);
    EXPECT_EQ(rc.x() + rc.width(), 1920 + 1280 + 200 - 5);
    EXPECT_EQ(rc.y() + rc.height(), 1024 + 85 - 5);
}
