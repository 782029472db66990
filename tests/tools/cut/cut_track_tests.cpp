#include <gtest/gtest.h>

#include "tools/cut/cut_track.h"

namespace {

constexpr int kWidth = 440;  // a 400-pixel track from x = 20 to x = 420
constexpr uint32_t kTotal = 100;

TEST(CutTrack, PanelLiesOverTheBottomOfTheWindow) {
    EXPECT_EQ(CutPanelRect(QRect(100, 50, 800, 600)), QRect(104, 563, 792, 83));
}

TEST(CutTrack, TimesAndTrackPositionsMapBothWaysTruncating) {
    EXPECT_EQ(TimeToTrackX(0, kWidth, kTotal), 20);
    EXPECT_EQ(TimeToTrackX(50, kWidth, kTotal), 220);
    EXPECT_EQ(TimeToTrackX(100, kWidth, kTotal), 420);
    EXPECT_EQ(TrackXToTime(221, kWidth, kTotal), 50);
    EXPECT_EQ(TrackXToTime(223, kWidth, kTotal), 50);  // 100 * 203 / 400 = 50.75
    EXPECT_EQ(TimeToTrackX(1, 440, 3), 20 + 400 / 3);
    // A file without a length draws an empty track and never divides by zero.
    EXPECT_EQ(TimeToTrackX(7, kWidth, 0), 20);
    EXPECT_EQ(TrackXToTime(300, kWidth, 0), 0);
    const CutTrackRects empty = TrackRectsForTimes(CutTimes{0, 0}, kWidth, 0);
    EXPECT_EQ(empty.rcRange.width(), 0);
    EXPECT_EQ(empty.rcAfter, QRect(20, 25, 400, 5));
}

TEST(CutTrack, BarsAndMarkersFollowTheMarkerPositions) {
    const CutTrackRects rects = TrackRects(120, 300, kWidth);
    EXPECT_EQ(rects.rcBefore, QRect(20, 25, 100, 5));
    EXPECT_EQ(rects.rcRange, QRect(120, 25, 180, 5));
    EXPECT_EQ(rects.rcAfter, QRect(300, 25, 120, 5));
    EXPECT_EQ(rects.rcStartMarker, QRect(110, 30, 10, 15));
    EXPECT_EQ(rects.rcEndMarker, QRect(300, 30, 10, 15));
}

TEST(CutTrack, DraggedMarkersStopAtTheTrackAndAtEachOther) {
    CutTimes times{20, 60};  // markers at x = 100 and x = 260
    EXPECT_EQ(DragStartMarker(&times, 5, 100, 260, kWidth, kTotal), 20);
    EXPECT_EQ(times.nStart, 0);
    // Dragged past the end marker, the start meets it and takes the end time.
    EXPECT_EQ(DragStartMarker(&times, 400, 20, 260, kWidth, kTotal), 260);
    EXPECT_EQ(times, (CutTimes{60, 60}));

    times = CutTimes{20, 60};
    EXPECT_EQ(DragEndMarker(&times, 30, 100, 260, kWidth, kTotal), 100);
    EXPECT_EQ(times, (CutTimes{20, 20}));
    EXPECT_EQ(DragEndMarker(&times, 900, 100, 100, kWidth, kTotal), 420);
    EXPECT_EQ(times.nEnd, 100);
}

TEST(CutTrack, TrimmingStepsOneSecondWithinTheFileAndTheOtherTime) {
    CutTimes times{0, kTotal};
    EXPECT_FALSE(TrimCutTimes(&times, 1154, kTotal));  // start already 0
    EXPECT_FALSE(TrimCutTimes(&times, 1157, kTotal));  // end already at the file's end
    EXPECT_TRUE(TrimCutTimes(&times, 1155, kTotal));
    EXPECT_TRUE(TrimCutTimes(&times, 1156, kTotal));
    EXPECT_EQ(times, (CutTimes{1, 99}));

    times = CutTimes{5, 5};
    EXPECT_FALSE(TrimCutTimes(&times, 1155, kTotal));
    EXPECT_FALSE(TrimCutTimes(&times, 1156, kTotal));
    EXPECT_FALSE(TrimCutTimes(&times, 1137, kTotal));
    EXPECT_EQ(times, (CutTimes{5, 5}));
}

TEST(CutTrack, TimesAreWrittenAsHoursMinutesSeconds) {
    EXPECT_EQ(FormatCutTime(0), "00:00:00");
    EXPECT_EQ(FormatCutTime(3725), "01:02:05");
    EXPECT_EQ(FormatCutTime(100 * 3600), "100:00:00");
    EXPECT_EQ(CutElapsedText(61, 3599), "00:01:01/00:59:59");
}

}  // namespace
