#include <gtest/gtest.h>

#include "tools/cut/cut_method.h"
#include "tools/cut/cut_plan.h"

namespace {

constexpr uint32_t kTotal = 10;
constexpr int64_t kFileSize = 50000;
const CutKeyFrame kStartKey{true, 1000, 2000};
const CutKeyFrame kEndKey{true, 9000, 6000};

TEST(CutPlan, RangeRunsFromTheStartKeyFrameToTheEndKeyFrame) {
    CutRange range;
    ASSERT_EQ(PlanCutRange(kTotal, {3, 5}, kStartKey, kEndKey, kFileSize, &range),
              CutMessage::None);
    EXPECT_EQ(range.nStart, 1000);
    EXPECT_EQ(range.nEnd, 9000);
    EXPECT_EQ(range.Length(), 8000);
    EXPECT_EQ(range.nStartMs, 2000);
    EXPECT_EQ(range.nEndMs, 6000);
    EXPECT_FALSE(range.bToFileEnd);
}

TEST(CutPlan, AnEndAtTheFilesEndTakesTheRestOfTheFile) {
    // No key frame follows the last picture, so no look-up can give this end.
    CutRange range;
    ASSERT_EQ(PlanCutRange(kTotal, {3, 10}, kStartKey, CutKeyFrame{}, kFileSize, &range),
              CutMessage::None);
    EXPECT_EQ(range.nEnd, kFileSize);
    EXPECT_TRUE(range.bToFileEnd);
}

TEST(CutPlan, FailedLookUpsAndAFileWithoutLengthAreRefused) {
    CutRange range;
    range.nStart = -7;
    EXPECT_EQ(PlanCutRange(0, {0, 0}, kStartKey, kEndKey, kFileSize, &range),
              CutMessage::GetKeyFramePosFail);
    EXPECT_EQ(PlanCutRange(kTotal, {3, 5}, CutKeyFrame{}, kEndKey, kFileSize, &range),
              CutMessage::GetKeyFramePosFail);
    EXPECT_EQ(PlanCutRange(kTotal, {3, 5}, kStartKey, CutKeyFrame{}, kFileSize, &range),
              CutMessage::GetKeyFramePosFail);
    EXPECT_EQ(range.nStart, -7);  // left alone
}

TEST(CutPlan, AnEmptyOrReversedRangeIsRefused) {
    CutRange range;
    EXPECT_EQ(
        PlanCutRange(kTotal, {4, 4}, kStartKey, CutKeyFrame{true, 1000, 2000}, kFileSize, &range),
        CutMessage::StartNotLessThanEnd);
    EXPECT_EQ(
        PlanCutRange(kTotal, {4, 5}, kStartKey, CutKeyFrame{true, 999, 1960}, kFileSize, &range),
        CutMessage::StartNotLessThanEnd);
    // A start key frame past the shrunken file's end gives nothing to cut either.
    EXPECT_EQ(PlanCutRange(kTotal, {4, 10}, kStartKey, CutKeyFrame{}, 1000, &range),
              CutMessage::StartNotLessThanEnd);
}

TEST(CutPlan, FreeSpaceMustExceedTheClipAndItsHead) {
    EXPECT_FALSE(HasRoomForCut(8040, 8000, 40));
    EXPECT_TRUE(HasRoomForCut(8041, 8000, 40));
    EXPECT_FALSE(HasRoomForCut(0, 0, 0));
    EXPECT_FALSE(HasRoomForCut(UINT64_MAX, UINT64_MAX, 40));
}

TEST(CutMethod, IndexedContainersAreStreamCopiedAndStreamsByteCopied) {
    EXPECT_EQ(CutMethodForFormat("mpeg", false), CutMethod::ByteCopy);
    EXPECT_EQ(CutMethodForFormat("mpegts", false), CutMethod::ByteCopy);
    EXPECT_EQ(CutMethodForFormat("h264", false), CutMethod::ByteCopy);
    EXPECT_EQ(CutMethodForFormat("mov,mp4,m4a,3gp,3g2,mj2", false), CutMethod::StreamCopy);
    EXPECT_EQ(CutMethodForFormat("matroska,webm", false), CutMethod::StreamCopy);
    EXPECT_EQ(CutMethodForFormat("avi", false), CutMethod::StreamCopy);
    EXPECT_EQ(CutMethodForFormat("mov,mp4,m4a,3gp,3g2,mj2", true), CutMethod::ByteCopy);
    const uint8_t recorder[] = {'4', 'V', 'X', 'V', 0};
    const uint8_t other[] = {'I', 'M', 'X', 'W'};
    EXPECT_TRUE(HasRecorderMagic(recorder, sizeof(recorder)));
    EXPECT_FALSE(HasRecorderMagic(other, sizeof(other)));
    EXPECT_FALSE(HasRecorderMagic(recorder, 3));
}

}  // namespace
