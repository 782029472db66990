#include <gtest/gtest.h>

#include "playback/sync_timeline.h"

namespace {

FileTimeInfo Span(VemorSystemTime start, VemorSystemTime end) {
    FileTimeInfo info{};
    SetFileStartTime(&info, start);
    SetFileEndTime(&info, end);
    return info;
}

VemorSystemTime At(uint32_t d, uint32_t h, uint32_t mi, uint32_t s = 0, uint32_t ms = 0) {
    return VemorSystemTime{2024, 3, d, h, mi, s, ms};
}

}  // namespace

TEST(SyncTimeSpan, PicksEarliestStartAndLatestEndOfOverlappingFiles) {
    const std::vector<FileTimeInfo> records = {Span(At(1, 10, 5), At(1, 10, 40)),
                                               Span(At(1, 10, 0), At(1, 10, 30)),
                                               Span(At(1, 10, 10), At(1, 11, 0))};
    FileTimeInfo earliest{}, latest{};
    ASSERT_TRUE(GetSyncTimeSpan(records, &earliest, &latest));
    EXPECT_EQ(earliest, records[1]);
    EXPECT_EQ(latest, records[2]);
}

TEST(SyncTimeSpan, RefusesTouchingSpansEmptySetsAndMoreThanSixteen) {
    FileTimeInfo earliest{}, latest{};
    // 10:00-10:30 and 10:30-11:00 touch but do not overlap.
    EXPECT_FALSE(
        GetSyncTimeSpan({Span(At(1, 10, 0), At(1, 10, 30)), Span(At(1, 10, 30), At(1, 11, 0))},
                        &earliest, &latest));
    // One millisecond of overlap is enough.
    EXPECT_TRUE(GetSyncTimeSpan(
        {Span(At(1, 10, 0), At(1, 10, 30, 0, 1)), Span(At(1, 10, 30), At(1, 11, 0))}, &earliest,
        &latest));
    // Each pair must overlap, not only neighbours.
    EXPECT_FALSE(
        GetSyncTimeSpan({Span(At(1, 10, 0), At(1, 10, 20)), Span(At(1, 10, 10), At(1, 10, 50)),
                         Span(At(1, 10, 30), At(1, 11, 0))},
                        &earliest, &latest));
    EXPECT_FALSE(GetSyncTimeSpan({}, &earliest, &latest));
    std::vector<FileTimeInfo> seventeen(17, Span(At(1, 10, 0), At(1, 11, 0)));
    EXPECT_FALSE(GetSyncTimeSpan(seventeen, &earliest, &latest));
    seventeen.pop_back();
    EXPECT_TRUE(GetSyncTimeSpan(seventeen, &earliest, &latest));
}

TEST(SyncTimeSpan, EqualKeysLetTheLaterFileWin) {
    std::vector<FileTimeInfo> records = {Span(At(1, 10, 0), At(1, 11, 0)),
                                         Span(At(1, 10, 0), At(1, 11, 0))};
    records[1][0] = 7;  // tells the two apart
    FileTimeInfo earliest{}, latest{};
    ASSERT_TRUE(GetSyncTimeSpan(records, &earliest, &latest));
    EXPECT_EQ(earliest[0], 7);
    EXPECT_EQ(latest[0], 7);
}

TEST(SyncTimeline, CoversWholeDaysFromTheFirstStartToTheLastEnd) {
    const SyncTimeline line = MakeSyncTimeline(At(1, 23, 50, 12, 345), At(2, 0, 10));
    EXPECT_EQ(line.stStart.dwDay, 1u);
    EXPECT_EQ(line.stStart.dwHour, 0u);
    EXPECT_EQ(line.stStart.dwMs, 0u);
    EXPECT_EQ(line.stEnd.dwDay, 2u);
    EXPECT_EQ(line.stEnd.dwHour, 23u);
    EXPECT_EQ(line.stEnd.dwMin, 59u);
    EXPECT_EQ(line.stEnd.dwSec, 59u);
    EXPECT_EQ(SecondsSinceYearOne(VemorSystemTime{1, 1, 2, 0, 0, 1, 0}), 86401);
}

TEST(SyncSeekPlan, SeeksByTheFileClockAndParksFilesOutsideTheTime) {
    const auto start = At(1, 10, 0, 0, 400);
    const auto end = At(1, 10, 30);
    SyncSeekStep step = PlanSyncSeek(start, end, At(1, 10, 1, 5));
    EXPECT_EQ(step.eAction, SyncSeekAction::SeekTo);
    EXPECT_EQ(step.nMilliseconds, 64600u);  // 65 s after 10:00:00.400
    EXPECT_EQ(PlanSyncSeek(start, end, At(1, 9, 59, 59)).eAction, SyncSeekAction::ToStart);
    EXPECT_EQ(PlanSyncSeek(start, end, At(1, 10, 30, 1)).eAction, SyncSeekAction::ToEnd);
    // The first second of the file shows its first picture, its last second
    // parks it at its end: no pane keeps a picture of another time.
    step = PlanSyncSeek(start, end, At(1, 10, 0));
    EXPECT_EQ(step.eAction, SyncSeekAction::SeekTo);
    EXPECT_EQ(step.nMilliseconds, 0u);
    EXPECT_EQ(PlanSyncSeek(start, end, At(1, 10, 30)).eAction, SyncSeekAction::ToEnd);
}
