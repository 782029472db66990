#include <gtest/gtest.h>

#include <climits>

#include "controls/progress_fill.h"

namespace {

TEST(ProgressFill, FilledWidthTruncatesAndStaysInsideTheBar) {
    EXPECT_EQ(ProgressFillWidth(50, 0, 100, 300), 150);
    EXPECT_EQ(ProgressFillWidth(1, 0, 3, 100), 33);
    EXPECT_EQ(ProgressFillWidth(15, 10, 20, 101), 50);  // 50.5 truncates
    EXPECT_EQ(ProgressFillWidth(-20, 0, 100, 300), 0);
    EXPECT_EQ(ProgressFillWidth(250, 0, 100, 300), 300);
    EXPECT_EQ(ProgressFillWidth(INT_MAX, INT_MIN, INT_MAX, 1000), 1000);
}

TEST(ProgressFill, PercentIsTruncatedAndBounded) {
    EXPECT_EQ(ProgressPercent(50, 0, 100), 50);
    EXPECT_EQ(ProgressPercent(2, 0, 3), 66);
    EXPECT_EQ(ProgressPercent(999, 0, 1000), 99) << "never shows 100 before the end";
    EXPECT_EQ(ProgressPercent(1000, 0, 1000), 100);
    EXPECT_EQ(ProgressPercent(5000, 0, 1000), 100);
}

TEST(ProgressFill, EmptyOrInvertedRangeFillsNothing) {
    EXPECT_EQ(ProgressFillWidth(5, 7, 7, 300), 0);
    EXPECT_EQ(ProgressFillWidth(5, 9, 1, 300), 0);
    EXPECT_EQ(ProgressPercent(7, 7, 7), 0);
}

}  // namespace
