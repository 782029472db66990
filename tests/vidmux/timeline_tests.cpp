#include <gtest/gtest.h>

#include "timeline.h"

using vidmux::kNoTimestamp;
using vidmux::TimelineBuilder;

namespace {

constexpr int64_t kFrame = 3600;  // 25 pictures a second at 90 kHz

TEST(Timeline, PicturesReorderedForDecodingWithoutDecodeTimesStayOneSegment) {
    TimelineBuilder timeline(kFrame);
    // I P B B P B B ... as a stream without decoding times delivers them.
    const int order[] = {0, 3, 1, 2, 6, 4, 5, 9, 7, 8};
    for (int n : order) EXPECT_EQ(timeline.Add(n * kFrame, kNoTimestamp, n * 1000), n * kFrame);
    // A reference picture after a run of fifteen B-frames, then the run.
    EXPECT_EQ(timeline.Add(25 * kFrame, kNoTimestamp, 10000), 25 * kFrame);
    for (int n = 10; n < 25; ++n) {
        EXPECT_EQ(timeline.Add(n * kFrame, kNoTimestamp, n * 1000), n * kFrame);
    }
    EXPECT_EQ(timeline.Segments().size(), 1u);
    // A clock jump of a minute is still a jump.
    EXPECT_EQ(timeline.Add(25 * kFrame + 60LL * 90000, kNoTimestamp, 30000),
              26 * kFrame + 16 * kFrame);
    EXPECT_EQ(timeline.Segments().size(), 2u);
}

TEST(Timeline, JumpsBothWaysContinueOneFrameAfterTheLatestPicture) {
    TimelineBuilder timeline(kFrame);
    for (int n = 0; n < 10; ++n) timeline.Add(n * kFrame, n * kFrame, n);
    // A clock set back by an hour, then forward by a minute.
    const int64_t back = -3600LL * 90000;
    EXPECT_EQ(timeline.Add(back, back, 10), 10 * kFrame);
    EXPECT_EQ(timeline.Add(back + kFrame, back + kFrame, 11), 11 * kFrame);
    const int64_t ahead = back + kFrame + 60LL * 90000;
    EXPECT_EQ(timeline.Add(ahead, ahead, 12), 12 * kFrame);
    ASSERT_EQ(timeline.Segments().size(), 3u);
    EXPECT_EQ(timeline.Segments()[1].gapTicks, 0);
    // The minute the recorder skipped stays on its clock.
    EXPECT_EQ(timeline.Segments()[2].gapTicks, 60LL * 90000 - kFrame);
    EXPECT_EQ(timeline.Segments()[2].firstPos, 12);
}

TEST(Timeline, ShortHolesAndRepeatedDecodeTimesAreNoJumps) {
    TimelineBuilder timeline(kFrame);
    timeline.Add(0, 0, 0);
    timeline.Add(kFrame, kFrame, 1);
    timeline.Add(kFrame, kFrame, 2);          // same decoding time again
    timeline.Add(9 * kFrame, 9 * kFrame, 3);  // eight pictures missing
    EXPECT_EQ(timeline.Add(10 * kFrame, kNoTimestamp, 4), 10 * kFrame);
    EXPECT_EQ(timeline.Add(kNoTimestamp, kNoTimestamp, 5), 11 * kFrame);
    EXPECT_EQ(timeline.Segments().size(), 1u);
}

}  // namespace
