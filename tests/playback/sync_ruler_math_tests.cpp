#include <gtest/gtest.h>

#include "playback/sync_ruler_math.h"
#include "playback/sync_timeline.h"

namespace {

SyncFileEntry File(VemorSystemTime start, VemorSystemTime end) {
    SyncFileEntry entry;
    SetFileStartTime(&entry.stInfo, start);
    SetFileEndTime(&entry.stInfo, end);
    return entry;
}

std::vector<QString> Texts(const std::vector<RulerText>& boxes) {
    std::vector<QString> texts;
    for (const RulerText& box : boxes) texts.push_back(box.strText);
    return texts;
}

}  // namespace

TEST(SyncRulerLabels, OneDayShowsHoursZeroToTwentyFourAtTheEnds) {
    const std::vector<RulerText> boxes = RulerLabelBoxes(0, 1, 960);
    const std::vector<QString> texts = Texts(boxes);
    ASSERT_EQ(texts.size(), 25u);
    EXPECT_EQ(texts.front(), "0");
    EXPECT_EQ(texts[23], "23");
    EXPECT_EQ(texts[24], "24");
    EXPECT_EQ(boxes[0].rect, QRect(-5, 5, 20, 15));    // the first label sits at the left edge
    EXPECT_EQ(boxes[1].rect, QRect(30, 5, 20, 15));    // step 40: centred on x 40
    EXPECT_EQ(boxes[24].rect, QRect(945, 5, 20, 15));  // "24" ends at the right end
}

TEST(SyncRulerLabels, TwoDaysRunToFortySevenAndMinuteScalesWrapAtMidnight) {
    const QStringList hours = RulerLabels(0, 2);
    ASSERT_EQ(hours.size(), 48);
    EXPECT_EQ(hours.back(), "47");
    const QStringList halves = RulerLabels(1, 2);
    ASSERT_EQ(halves.size(), 96);
    EXPECT_EQ(halves[1], "00:30:00");
    EXPECT_EQ(halves[47], "23:30:00");
    EXPECT_EQ(halves[48], "00:00:00");
    EXPECT_EQ(RulerLabels(2, 1).size(), 144);
    EXPECT_EQ(RulerLabels(3, 1).size(), 288);
    EXPECT_EQ(RulerLabels(3, 1)[1], "00:05:00");
    EXPECT_TRUE(RulerLabels(4, 1).isEmpty());
    // Minute scales leave out the first label.
    const std::vector<RulerText> boxes = RulerLabelBoxes(1, 1, 4800);
    ASSERT_EQ(boxes.size(), 47u);
    EXPECT_EQ(boxes.front().strText, "00:30:00");
    EXPECT_EQ(boxes.front().rect, QRect(70, 5, 60, 15));
}

TEST(SyncRulerLabels, DayCountFollowsTheCalendar) {
    EXPECT_EQ(RulerDayCount({2024, 3, 1, 23, 50, 0, 0}, {2024, 3, 2, 0, 10, 0, 0}), 2);
    EXPECT_EQ(RulerDayCount({2024, 2, 28, 10, 0, 0, 0}, {2024, 3, 1, 10, 0, 0, 0}), 3);
    EXPECT_EQ(RulerDayCount({1998, 1, 1, 0, 0, 0, 0}, {1998, 1, 1, 0, 0, 0, 0}), 1);
    const std::vector<int> ticks = RulerTicks(3, 100);
    EXPECT_EQ(ticks, (std::vector<int>{0, 33, 66}));
}

TEST(SyncRulerZoom, ZoomingAtTheMouseKeepsTheTimeUnderIt) {
    const int nVisible = 851;
    RulerZoom zoom = ResetRulerZoom(nVisible);
    const int nMouse = kRulerLeft + 400;
    for (int i = 0; i < 30; ++i) {
        const double dBefore = RulerFractionAt(nMouse, zoom);
        ASSERT_TRUE(ZoomRuler(&zoom, true, nMouse, nVisible));
        EXPECT_NEAR(RulerFractionAt(nMouse, zoom), dBefore, 1.0 / zoom.nTotalWidth) << i;
    }
    EXPECT_EQ(zoom.nLevel, 31);
    EXPECT_EQ(zoom.nTotalWidth, 31 * nVisible);
    EXPECT_EQ(zoom.nScaleIndex, 2);
    for (int i = 0; i < 20; ++i) {
        const double dBefore = RulerFractionAt(nMouse, zoom);
        ASSERT_TRUE(ZoomRuler(&zoom, false, nMouse, nVisible));
        EXPECT_NEAR(RulerFractionAt(nMouse, zoom), dBefore, 1.0 / zoom.nTotalWidth) << i;
    }
    EXPECT_EQ(zoom.nScaleIndex, 1);
}

TEST(SyncRulerZoom, LimitsScalesAndScrollClamping) {
    const int nVisible = 500;
    RulerZoom zoom = ResetRulerZoom(nVisible);
    EXPECT_FALSE(ZoomRuler(&zoom, false, kRulerLeft, nVisible));  // already level 1
    // Zooming at the right edge keeps the right end in view.
    while (ZoomRuler(&zoom, true, kRulerLeft + nVisible + 300, nVisible)) {
        EXPECT_EQ(zoom.nScroll, zoom.nTotalWidth - nVisible);
    }
    EXPECT_EQ(zoom.nLevel, 60);
    EXPECT_EQ(zoom.nScaleIndex, 3);
    const int expected[] = {0, 0, 0, 1, 1, 2, 2, 2, 3, 3};
    const int levels[] = {1, 2, 3, 4, 11, 12, 13, 45, 46, 60};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(ScaleIndexOfLevel(levels[i]), expected[i]);
    EXPECT_EQ(ClampRulerScroll(-5, 1000, 500), 0);
    EXPECT_EQ(ClampRulerScroll(800, 1000, 500), 500);
    EXPECT_EQ(ClampRulerScroll(200, 1000, 500), 200);

    // A narrower window keeps the zoom; a wider one than the image resets it.
    RulerZoom resized = zoom;
    ResizeRuler(&resized, 400);
    EXPECT_EQ(resized.nLevel, 60);
    EXPECT_EQ(resized.nScroll, zoom.nScroll);
    RulerZoom small = ResetRulerZoom(300);
    ASSERT_TRUE(ZoomRuler(&small, true, kRulerLeft, 300));
    small.nScroll = 250;
    ResizeRuler(&small, 400);
    EXPECT_EQ(small.nScroll, 200);
    ResizeRuler(&small, 700);
    EXPECT_EQ(small.nLevel, 1);
    EXPECT_EQ(small.nTotalWidth, 700);
    EXPECT_EQ(small.nScroll, 0);
    // Zooming out after a widening grows the base to the visible width.
    RulerZoom grown = ResetRulerZoom(300);
    ASSERT_TRUE(ZoomRuler(&grown, true, kRulerLeft, 300));
    ASSERT_TRUE(ZoomRuler(&grown, false, kRulerLeft, 500));
    EXPECT_EQ(grown.nBaseWidth, 500);
    EXPECT_EQ(grown.nTotalWidth, 500);
}

TEST(SyncRulerBars, FilesBecomeBarsOfTheirTimeInTheirRows) {
    const SyncTimeline line = MakeSyncTimeline({2024, 3, 1, 6, 0, 0, 0}, {2024, 3, 1, 18, 0, 0, 0});
    const RulerBar bar = RulerBarOf(File({2024, 3, 1, 6, 0, 0, 0}, {2024, 3, 1, 18, 0, 0, 0}),
                                    line.stStart, line.stEnd);
    EXPECT_NEAR(bar.fStart, 0.25, 1e-5);
    EXPECT_NEAR(bar.fEnd, 0.75, 1e-5);
    // The day has 86399 seconds on the timeline, so 06:00 lies just past a
    // quarter and its column is rounded up.
    EXPECT_EQ(RulerBarRect(bar, 0, 1000), QRect(251, 21, 500, 20));
    EXPECT_EQ(RulerBarRect(bar, 3, 1000).top(), 84);
    // A recording of a few seconds is still one pixel wide.
    const RulerBar tiny = RulerBarOf(File({2024, 3, 1, 6, 0, 0, 0}, {2024, 3, 1, 6, 0, 2, 0}),
                                     line.stStart, line.stEnd);
    EXPECT_EQ(RulerBarRect(tiny, 1, 800).width(), 1);
}

TEST(SyncRulerCursor, PositionLabelAndRowScroll) {
    RulerZoom zoom = ResetRulerZoom(1000);
    EXPECT_EQ(RulerCursorX(0.5, zoom, 1000), kRulerLeft + 500);
    ASSERT_TRUE(ZoomRuler(&zoom, true, kRulerLeft, 1000));
    zoom.nScroll = 600;
    EXPECT_EQ(RulerCursorX(0.5, zoom, 1000), kRulerLeft + 400);
    EXPECT_FALSE(RulerCursorX(0.1, zoom, 1000).has_value());
    EXPECT_NEAR(RulerFractionAt(kRulerLeft + 400, zoom), 0.5, 1e-9);
    EXPECT_EQ(CursorLabelRect(300, 1149), QRect(307, 2, 100, 16));
    EXPECT_EQ(CursorLabelRect(1100, 1149), QRect(993, 2, 100, 16));
    EXPECT_EQ(CursorHandleRect(300), QRect(294, 1, 12, 18));
    EXPECT_EQ(CursorLineRect(300), QRect(299, 20, 2, 104));
    EXPECT_EQ(CursorLabelText({2024, 3, 1, 7, 5, 9, 0}), "2024-3-1 07:05:09");

    EXPECT_FALSE(RulerRowScroll(4).bEnabled);
    EXPECT_TRUE(RulerRowScroll(5).bEnabled);
    EXPECT_EQ(RulerRowScroll(5).nMax, 1);
    EXPECT_EQ(RulerRowScroll(16).nMax, 12);
}
