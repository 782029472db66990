#include <gtest/gtest.h>

#include "engine_test_support.h"

using namespace enginetest;
using samplegen::Container;
using namespace std::chrono_literals;

namespace {

class Backward : public testing::TestWithParam<Container> {};

TEST_P(Backward, StepBackAfterStepBackReadsEachEarlierFrame) {
    PortGuard port;
    OpenIndexed(port, SmallSample(GetParam(), true));
    ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, 40));
    for (int expected = 39; expected >= 0; --expected) {
        ASSERT_TRUE(Vemor_OneByOneBack(port)) << "at " << expected + 1;
        ASSERT_EQ(ShownFrame(port), expected);
        ASSERT_EQ(Vemor_GetCurrentFrameNum(port), static_cast<uint32_t>(expected));
    }
    EXPECT_FALSE(Vemor_OneByOneBack(port));
    EXPECT_EQ(Vemor_GetLastError(port), static_cast<uint32_t>(VIDMUX_ERR_OUT_OF_RANGE));
    EXPECT_EQ(ShownFrame(port), 0);
}

TEST_P(Backward, ReversePlayShowsEveryFrameInStrictlyDecreasingOrder) {
    CapturingWindow window(160, 120);
    PortGuard port;
    OpenIndexed(port, SmallSample(GetParam(), true));
    ASSERT_TRUE(Vemor_Play(port, window.window()));
    ASSERT_TRUE(Vemor_Pause(port, 1));
    ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, 49));
    ASSERT_TRUE(Vemor_ReversePlay(port));
    ASSERT_TRUE(Vemor_Fast(port));
    ASSERT_TRUE(Vemor_Fast(port));
    ASSERT_TRUE(WaitFor([&] { return Vemor_GetCurrentFrameNum(port) == 0; }, 10s));
    std::vector<int> frames = window.Frames();
    auto from = std::find(frames.begin(), frames.end(), 48);
    ASSERT_NE(from, frames.end());
    std::vector<int> reversed(from, frames.end());
    std::vector<int> expected;
    for (int i = 48; i >= 0; --i) expected.push_back(i);
    EXPECT_EQ(reversed, expected);
}

INSTANTIATE_TEST_SUITE_P(Formats, Backward,
                         testing::Values(Container::Recorder, Container::Mp4, Container::RawH264,
                                         Container::Matroska));

TEST(Backward, PlayAfterReverseGoesForwardFromTheCurrentPicture) {
    CapturingWindow window(160, 120);
    PortGuard port;
    OpenIndexed(port, SmallSample(Container::Recorder, true));
    ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, 30));
    ASSERT_TRUE(Vemor_ReversePlay(port));
    ASSERT_TRUE(WaitFor([&] { return Vemor_GetCurrentFrameNum(port) <= 26; }, 5s));
    ASSERT_TRUE(Vemor_Pause(port, 1));
    const int held = ShownFrame(port);
    const int before = window.Presented();
    ASSERT_TRUE(Vemor_Play(port, window.window()));
    ASSERT_TRUE(WaitFor([&] { return window.Presented() >= before + 3; }, 3s));
    const std::vector<int> frames = window.Frames();
    EXPECT_EQ(frames[before], held + 1);
    EXPECT_EQ(frames[before + 1], held + 2);
}

TEST(Backward, ReverseAtTheFirstFrameEndsPlay) {
    std::atomic<int> ends{0};
    PortGuard port;
    ASSERT_TRUE(Vemor_SetFileEndCallback(
        port, [](int32_t, void* user) { ++*static_cast<std::atomic<int>*>(user); }, &ends));
    OpenIndexed(port, SmallSample(Container::Mp4));
    ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, 5));
    ASSERT_TRUE(Vemor_ReversePlay(port));
    ASSERT_TRUE(WaitFor([&] { return ends.load() == 1; }, 3s));
    EXPECT_EQ(ShownFrame(port), 0);
}

}  // namespace

namespace {

TEST(Backward, ReversePlayAfterStopDrawsIntoTheLastWindowFromTheEnd) {
    CapturingWindow window(160, 120);
    PortGuard port;
    OpenIndexed(port, SmallSample(Container::Mp4));
    ASSERT_TRUE(Vemor_Play(port, window.window()));
    ASSERT_TRUE(Vemor_Stop(port));
    const int before = window.Presented();
    ASSERT_TRUE(Vemor_ReversePlay(port));
    ASSERT_TRUE(WaitFor([&] { return window.Presented() >= before + 3; }, 3s));
    const std::vector<int> frames = window.Frames();
    EXPECT_EQ(frames[before], 49);
    EXPECT_EQ(frames[before + 1], 48);
}

}  // namespace
