#include <gtest/gtest.h>

#include "controls/skin_scroll_geometry.h"

namespace {
SkinScrollInfo Info(int nMin, int nMax, int nPage, int nPos) {
    SkinScrollInfo info;
    info.nMin = nMin;
    info.nMax = nMax;
    info.nPage = nPage;
    info.nPos = nPos;
    return info;
}
}  // namespace

TEST(SkinScrollGeometry, ABarShorterThanTwoCellsHasTwoHalfArrowsAndNoThumb) {
    const SkinScrollLayout layout = LayoutSkinScroll(17, 30, Info(0, 10, 1, 3));
    EXPECT_EQ(layout.nArrow, 15);
    EXPECT_EQ(layout.nTrack, 0);
    EXPECT_EQ(layout.nThumbLength, 0);
    EXPECT_EQ(HitTestSkinScroll(layout, 0), SkinScrollPart::ArrowUp);
    EXPECT_EQ(HitTestSkinScroll(layout, 14), SkinScrollPart::ArrowUp);
    EXPECT_EQ(HitTestSkinScroll(layout, 15), SkinScrollPart::ArrowDown);
    EXPECT_EQ(HitTestSkinScroll(layout, 29), SkinScrollPart::ArrowDown);
    EXPECT_EQ(HitTestSkinScroll(layout, 30), SkinScrollPart::None);
    // A track of five pixels or less has no thumb either.
    EXPECT_EQ(LayoutSkinScroll(17, 39, Info(0, 10, 1, 3)).nThumbLength, 0);
}

TEST(SkinScrollGeometry, ThumbIsNeverShorterThanSixPixelsAndTracksThePosition) {
    // Track 100, range 1001, page 1: the proportional thumb would be 0.
    SkinScrollLayout layout = LayoutSkinScroll(17, 134, Info(0, 1000, 1, 0));
    EXPECT_EQ(layout.nTrack, 100);
    EXPECT_EQ(layout.nThumbLength, 6);
    EXPECT_EQ(layout.nThumbStart, 17);
    layout = LayoutSkinScroll(17, 134, Info(0, 1000, 1, 1000));
    EXPECT_EQ(layout.nThumbStart, 17 + 94);
    // The ruler's rows: five files, page 1, range 0..1.
    layout = LayoutSkinScroll(17, 100, Info(0, 1, 1, 1));
    EXPECT_EQ(layout.nThumbLength, 33);  // 1 x 66 / 2
    EXPECT_EQ(layout.nThumbStart, 17 + 33);
    EXPECT_EQ(HitTestSkinScroll(layout, 20), SkinScrollPart::PageUp);
    EXPECT_EQ(HitTestSkinScroll(layout, 60), SkinScrollPart::Thumb);
    EXPECT_EQ(HitTestSkinScroll(layout, 83), SkinScrollPart::ArrowDown);
    // Nothing to scroll: the thumb is centred.
    layout = LayoutSkinScroll(17, 100, Info(0, 0, 1, 0));
    EXPECT_EQ(layout.nThumbStart, 17 + (66 - layout.nThumbLength) / 2);
    // While dragged the thumb follows the track position.
    SkinScrollInfo tracking = Info(0, 10, 1, 0);
    tracking.nTrackPos = 10;
    EXPECT_EQ(LayoutSkinScroll(17, 134, tracking).nThumbStart,
              17 + 100 - LayoutSkinScroll(17, 134, tracking).nThumbLength);
}

TEST(SkinScrollGeometry, DragsAndNotificationsStayInsideTheRange) {
    const SkinScrollInfo info = Info(0, 10, 1, 4);
    const SkinScrollLayout layout = LayoutSkinScroll(17, 134, info);  // track 100, thumb 9
    EXPECT_EQ(SkinScrollTop(info), 10);
    EXPECT_EQ(SkinScrollDragPos(info, layout, 4, 0), 4);
    EXPECT_EQ(SkinScrollDragPos(info, layout, 4, 91), 10);
    EXPECT_EQ(SkinScrollDragPos(info, layout, 4, -500), 0);
    EXPECT_EQ(SkinScrollDragPos(info, layout, 4, 20), 6);
    EXPECT_EQ(SkinScrollApply(info, SCROLL_LINE_UP, 0), 3);
    EXPECT_EQ(SkinScrollApply(info, SCROLL_LINE_DOWN, 0), 5);
    EXPECT_EQ(SkinScrollApply(Info(0, 10, 3, 9), SCROLL_PAGE_DOWN, 0), 8);
    EXPECT_EQ(SkinScrollApply(Info(0, 10, 3, 1), SCROLL_PAGE_UP, 0), 0);
    EXPECT_EQ(SkinScrollApply(info, SCROLL_THUMB_TRACK, 7), 7);
    EXPECT_EQ(SkinScrollApply(info, SCROLL_THUMB_POSITION, 70), 10);
}

TEST(SkinScrollGeometry, PartsAreCutFromTheirCells) {
    EXPECT_EQ(SkinScrollCell(17, SkinScrollPart::ArrowUp, false, LOOK_NORMAL), QRect(0, 0, 17, 17));
    EXPECT_EQ(SkinScrollCell(17, SkinScrollPart::ArrowDown, false, LOOK_HOT),
              QRect(17, 17, 17, 17));
    EXPECT_EQ(SkinScrollCell(17, SkinScrollPart::Thumb, true, LOOK_PRESSED),
              QRect(6 * 17, 34, 17, 17));
    EXPECT_EQ(SkinScrollCell(17, SkinScrollPart::PageDown, false, LOOK_NORMAL),
              QRect(51, 0, 17, 17));
    EXPECT_EQ(SkinScrollCell(17, SkinScrollPart::PageUp, true, LOOK_NORMAL),
              QRect(7 * 17, 0, 17, 17));
}
