#include <gtest/gtest.h>

#include "playback/play_helper.h"

namespace {

VemorSystemTime T(uint32_t y, uint32_t mo, uint32_t d, uint32_t h = 0, uint32_t mi = 0,
                  uint32_t s = 0, uint32_t ms = 0) {
    return VemorSystemTime{y, mo, d, h, mi, s, ms};
}

::testing::AssertionResult SameTime(const VemorSystemTime& a, const VemorSystemTime& b) {
    if (a.dwYear == b.dwYear && a.dwMon == b.dwMon && a.dwDay == b.dwDay && a.dwHour == b.dwHour &&
        a.dwMin == b.dwMin && a.dwSec == b.dwSec && a.dwMs == b.dwMs) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << a.dwYear << "-" << a.dwMon << "-" << a.dwDay << " " << a.dwHour << ":" << a.dwMin
           << ":" << a.dwSec << "." << a.dwMs;
}

}  // namespace

TEST(PlayHelper, LeapYearsAndMonthLengths) {
    EXPECT_TRUE(CPlayHelper::IsLeapYear(2024));
    EXPECT_TRUE(CPlayHelper::IsLeapYear(2000));
    EXPECT_FALSE(CPlayHelper::IsLeapYear(1900));
    EXPECT_FALSE(CPlayHelper::IsLeapYear(2023));
    EXPECT_EQ(CPlayHelper::DaysInMonth(2024, 2), 29u);
    EXPECT_EQ(CPlayHelper::DaysInMonth(2100, 2), 28u);
    EXPECT_EQ(CPlayHelper::DaysInMonth(2023, 4), 30u);
    EXPECT_EQ(CPlayHelper::DaysInMonth(2023, 13), 0u);
}

TEST(PlayHelper, IsEarlierIsStrictToTheSecondAndIgnoresMilliseconds) {
    const auto a = T(2024, 3, 1, 10, 0, 0, 900);
    const auto b = T(2024, 3, 1, 10, 0, 0, 100);
    EXPECT_FALSE(CPlayHelper::IsEarlier(&a, &b));
    EXPECT_FALSE(CPlayHelper::IsEarlier(&b, &a));
    const auto c = T(2024, 3, 1, 10, 0, 1);
    EXPECT_TRUE(CPlayHelper::IsEarlier(&a, &c));
    const auto nextYear = T(2025, 1, 1);
    const auto lateDec = T(2024, 12, 31, 23, 59, 59);
    EXPECT_TRUE(CPlayHelper::IsEarlier(&lateDec, &nextYear));
    EXPECT_FALSE(CPlayHelper::IsEarlier(nullptr, &a));
    EXPECT_FALSE(CPlayHelper::IsEarlier(&a, nullptr));
}

TEST(PlayHelper, SecondsBetweenCountsCalendarDaysBothWays) {
    const auto feb28 = T(2024, 2, 28, 23, 0, 0);
    const auto mar1 = T(2024, 3, 1, 1, 0, 0);
    EXPECT_EQ(CPlayHelper::GetSecondsBetween(&feb28, &mar1), 86400 + 2 * 3600);
    EXPECT_EQ(CPlayHelper::GetSecondsBetween(&mar1, &feb28), -(86400 + 2 * 3600));
    const auto feb28y23 = T(2023, 2, 28, 23, 0, 0);
    const auto mar1y23 = T(2023, 3, 1, 1, 0, 0);
    EXPECT_EQ(CPlayHelper::GetSecondsBetween(&feb28y23, &mar1y23), 2 * 3600);
    const auto y2000 = T(2000, 1, 1);
    const auto y2001 = T(2001, 1, 1);
    EXPECT_EQ(CPlayHelper::GetSecondsBetween(&y2000, &y2001), 366 * 86400);
    const auto yearOne = T(1, 1, 1);
    const auto yearTwo = T(2, 1, 1);
    EXPECT_EQ(CPlayHelper::GetSecondsBetween(&yearOne, &yearTwo), 365 * 86400);
    EXPECT_EQ(CPlayHelper::GetSecondsBetween(nullptr, &y2000), 0);
}

TEST(PlayHelper, AddTimeUnitCarriesThroughTheCalendar) {
    auto t = T(2023, 12, 31, 23, 59, 59, 999);
    ASSERT_TRUE(CPlayHelper::AddTimeUnit(CPlayHelper::UNIT_MILLISECOND, &t));
    EXPECT_TRUE(SameTime(t, T(2024, 1, 1)));

    auto leapDay = T(2024, 2, 28, 23, 59, 59);
    ASSERT_TRUE(CPlayHelper::AddTimeUnit(CPlayHelper::UNIT_SECOND, &leapDay));
    EXPECT_TRUE(SameTime(leapDay, T(2024, 2, 29)));
    ASSERT_TRUE(CPlayHelper::AddTimeUnit(CPlayHelper::UNIT_DAY, &leapDay));
    EXPECT_TRUE(SameTime(leapDay, T(2024, 3, 1)));

    // A month or a year added to a day the new month lacks starts the next month.
    auto jan31 = T(2023, 1, 31, 8);
    ASSERT_TRUE(CPlayHelper::AddTimeUnit(CPlayHelper::UNIT_MONTH, &jan31));
    EXPECT_TRUE(SameTime(jan31, T(2023, 3, 1, 8)));
    auto feb29 = T(2024, 2, 29);
    ASSERT_TRUE(CPlayHelper::AddTimeUnit(CPlayHelper::UNIT_YEAR, &feb29));
    EXPECT_TRUE(SameTime(feb29, T(2025, 3, 1)));
    auto dec = T(2024, 12, 5);
    ASSERT_TRUE(CPlayHelper::AddTimeUnit(CPlayHelper::UNIT_MONTH, &dec));
    EXPECT_TRUE(SameTime(dec, T(2025, 1, 5)));

    auto unchanged = T(2024, 1, 1);
    EXPECT_FALSE(CPlayHelper::AddTimeUnit(7, &unchanged));
    EXPECT_FALSE(CPlayHelper::AddTimeUnit(-1, &unchanged));
    EXPECT_TRUE(SameTime(unchanged, T(2024, 1, 1)));
    EXPECT_FALSE(CPlayHelper::AddTimeUnit(CPlayHelper::UNIT_DAY, nullptr));
}

TEST(PlayHelper, PrecentNeedsAStrictlyOrderedTriple) {
    const auto start = T(2024, 3, 1);
    const auto end = T(2024, 3, 1, 23, 59, 59);
    const auto noon = T(2024, 3, 1, 12);
    double dPrecent = -1;
    ASSERT_TRUE(CPlayHelper::GetPrecentByGlobalTime(&start, &end, &noon, &dPrecent));
    EXPECT_DOUBLE_EQ(dPrecent, 43200.0 / 86399.0);
    EXPECT_FALSE(CPlayHelper::GetPrecentByGlobalTime(&start, &end, &start, &dPrecent));
    EXPECT_FALSE(CPlayHelper::GetPrecentByGlobalTime(&start, &end, &end, &dPrecent));
    EXPECT_FALSE(CPlayHelper::GetPrecentByGlobalTime(&end, &start, &noon, &dPrecent));
}

TEST(PlayHelper, HalfOfATwoDayTimelineIsTheLastSecondOfTheFirstDay) {
    const auto start = T(2024, 3, 1);
    const auto end = T(2024, 3, 2, 23, 59, 59);
    EXPECT_EQ(CPlayHelper::GetSecondsBetween(&start, &end), 172799);
    VemorSystemTime t{};
    ASSERT_TRUE(CPlayHelper::GetGlobalTimeByPrecent(&start, &end, 0.5, &t));
    EXPECT_TRUE(SameTime(t, T(2024, 3, 1, 23, 59, 59)));
    ASSERT_TRUE(CPlayHelper::GetGlobalTimeByPrecent(&start, &end, 0.0, &t));
    EXPECT_TRUE(SameTime(t, start));
    ASSERT_TRUE(CPlayHelper::GetGlobalTimeByPrecent(&start, &end, 1.0, &t));
    EXPECT_TRUE(SameTime(t, end));
    EXPECT_FALSE(CPlayHelper::GetGlobalTimeByPrecent(&start, &end, 1.01, &t));
    EXPECT_FALSE(CPlayHelper::GetGlobalTimeByPrecent(&start, &end, -0.01, &t));
    EXPECT_FALSE(CPlayHelper::GetGlobalTimeByPrecent(&end, &start, 0.5, &t));
}

TEST(PlayHelper, LongTimelinesLandOnRealCalendarDays) {
    // 2024-01-01 .. 2024-03-31 23:59:59: a 30-day month block would give
    // 2024-02-31 for 61 days; calendar addition gives 2024-03-02.
    const auto start = T(2024, 1, 1);
    const auto end = T(2024, 3, 31, 23, 59, 59);
    const double dSpan = static_cast<double>(CPlayHelper::GetSecondsBetween(&start, &end));
    VemorSystemTime t{};
    ASSERT_TRUE(CPlayHelper::GetGlobalTimeByPrecent(&start, &end, (61 * 86400 + 3600) / dSpan, &t));
    EXPECT_TRUE(SameTime(t, T(2024, 3, 2, 1)));
    // Every fraction maps back onto itself through the seconds.
    for (double dFrac = 0.05; dFrac < 1.0; dFrac += 0.1) {
        ASSERT_TRUE(CPlayHelper::GetGlobalTimeByPrecent(&start, &end, dFrac, &t));
        EXPECT_GE(t.dwDay, 1u);
        EXPECT_LE(t.dwDay, CPlayHelper::DaysInMonth(t.dwYear, t.dwMon));
        EXPECT_EQ(CPlayHelper::GetSecondsBetween(&start, &t), static_cast<int64_t>(dFrac * dSpan));
    }
    // Across a year end and a leap day.
    const auto s2 = T(2023, 12, 1);
    const auto e2 = T(2024, 3, 1, 23, 59, 59);
    const double dSpan2 = static_cast<double>(CPlayHelper::GetSecondsBetween(&s2, &e2));
    ASSERT_TRUE(CPlayHelper::GetGlobalTimeByPrecent(&s2, &e2, (90 * 86400.0) / dSpan2, &t));
    EXPECT_TRUE(SameTime(t, T(2024, 2, 29)));
}
