#include <gtest/gtest.h>

#include "engine_test_support.h"

using namespace enginetest;
using samplegen::Container;

namespace {

TEST(Position, LongGroupsOfPicturesSeekExactlyEverywhere) {
    samplegen::SampleParams params = SmallParams(Container::Recorder, true);
    params.frameCount = 120;
    params.gop = 50;
    PortGuard port;
    OpenIndexed(port, SampleFolder::Instance().Get("gop50.imx", params));
    ASSERT_EQ(Vemor_GetFileTotalFrames(port), 120u);
    for (uint32_t frame = 0; frame < 120; frame += 7) {
        ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, frame));
        ASSERT_EQ(ShownFrame(port), static_cast<int>(frame));
    }
}

TEST(Position, OutOfRangeRequestsFailAndKeepThePicture) {
    PortGuard port;
    OpenIndexed(port, SmallSample(Container::MpegTs));
    ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, 12));
    EXPECT_FALSE(Vemor_SetCurrentFrameNum(port, 50));
    EXPECT_EQ(Vemor_GetLastError(port), static_cast<uint32_t>(VIDMUX_ERR_OUT_OF_RANGE));
    EXPECT_FALSE(Vemor_SetPlayedTimeEx(port, 60000));
    EXPECT_EQ(ShownFrame(port), 12);
    EXPECT_EQ(Vemor_GetCurrentFrameNum(port), 12u);
}

TEST(Position, PlayedTimeFollowsTheShownFrame) {
    PortGuard port;
    OpenIndexed(port, SmallSample(Container::Mp4));
    ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, 24));
    EXPECT_EQ(Vemor_GetPlayedTime(port), 0u);
    ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, 25));
    EXPECT_EQ(Vemor_GetPlayedTime(port), 1u);
}

TEST(Position, SeekBeforeTheIndexIsBuiltStillLandsExactly) {
    // A long file whose index takes a moment: seek at once after opening.
    samplegen::SampleParams params = SmallParams(Container::Mp4);
    params.frameCount = 250;
    const std::string path = SampleFolder::Instance().Get("long.mp4", params);
    PortGuard port;
    ASSERT_TRUE(Vemor_OpenFile(port, path.c_str()));
    ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, 180));
    EXPECT_EQ(ShownFrame(port), 180);
}

}  // namespace
