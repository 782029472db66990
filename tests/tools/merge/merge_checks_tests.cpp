#include <gtest/gtest.h>

#include "tools/merge/merge_checks.h"

namespace {

constexpr uint64_t kGiB = 1ULL << 30;

TEST(MergeChecks, FullSizesAddUpSoLargeFilesAreNotMistakenForSmallOnes) {
    // Two 5 GiB files: their low 32 bits alone would add up to only 2 GiB.
    EXPECT_EQ(TotalMergeSize({5 * kGiB, 5 * kGiB}), 10 * kGiB);
    EXPECT_EQ(CheckMergeList(2, false, TotalMergeSize({5 * kGiB, 5 * kGiB})), MergeCheck::TooLarge);
    EXPECT_EQ(TotalMergeSize({~0ULL, 5}), ~0ULL);  // saturates instead of wrapping to 4
    EXPECT_EQ(TotalMergeSize({}), 0u);
}

TEST(MergeChecks, TheChecksComeInTheirOrderAndTheLimitsAreExact) {
    EXPECT_EQ(CheckMergeList(1, true, kMergeSizeLimit), MergeCheck::TooFewFiles);
    EXPECT_EQ(CheckMergeList(2, true, kMergeSizeLimit), MergeCheck::NoOutputPath);
    EXPECT_EQ(CheckMergeList(2, false, kMergeSizeLimit), MergeCheck::TooLarge);
    EXPECT_EQ(CheckMergeList(2, false, kMergeSizeLimit - 1), MergeCheck::Ok);
    EXPECT_TRUE(FitsOnDisk(1000, 1000));
    EXPECT_FALSE(FitsOnDisk(1001, 1000));
}

TEST(MergeChecks, OnlyTheFilesThatFitUnderTheLimitAreTaken) {
    EXPECT_EQ(FilesThatFit(0, 5), 5);
    EXPECT_EQ(FilesThatFit(998, 5), 2);
    EXPECT_EQ(FilesThatFit(kMaxMergeFiles, 3), 0);
    EXPECT_EQ(FilesThatFit(kMaxMergeFiles + 1, 3), 0);
    EXPECT_EQ(FilesThatFit(10, 0), 0);
}

}  // namespace
