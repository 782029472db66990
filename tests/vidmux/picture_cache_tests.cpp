// The decoded-picture cache seen from outside the engine: with a limit of a
// few pictures, stepping back keeps the pictures nearest the current one, so
// each group of pictures is decoded a few times rather than once per step.
// A decode from a key frame shows as one watermark callback, because the
// watermark travels in front of every key frame.

#include <gtest/gtest.h>
#include <stdlib.h>

#include "engine_test_support.h"

using namespace enginetest;
using samplegen::Container;

namespace {

// 320x240 pictures take about 116 kB each decoded; one megabyte holds about eight.
// The budget is read when the first port opens, so this suite has a program of its own.
constexpr const char* kEightPictures = "1";

std::atomic<int> g_keyDecodes{0};

class PictureCacheLimit : public testing::Test {
protected:
    void SetUp() override { ::setenv("VIDMUX_PICTURE_MEMORY_MB", kEightPictures, 1); }
};

TEST_F(PictureCacheLimit, SteppingBackPastTheLimitKeepsThePicturesNearTheCurrentOne) {
    samplegen::SampleParams params = SmallParams(Container::Mp4);
    params.width = 320;
    params.height = 240;
    params.watermark = samplegen::Watermark{};
    const std::string path = SampleFolder::Instance().Get("cache-limit-320x240.mp4", params);

    PortGuard port;
    ASSERT_TRUE(Vemor_SetCheckWatermarkCallBack(
        port, [](int32_t, const uint8_t**, void*) { ++g_keyDecodes; }, nullptr));
    OpenIndexed(port, path);
    ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, 49));
    g_keyDecodes = 0;
    // Twenty-four steps back through the second group of pictures (key frame 25).
    for (int expected = 48; expected >= 25; --expected) {
        ASSERT_TRUE(Vemor_OneByOneBack(port)) << expected;
        ASSERT_EQ(ShownFrame(port), expected);
    }
    // Keeping the farthest pictures instead would decode the group at every step.
    EXPECT_GE(g_keyDecodes.load(), 2);
    EXPECT_LE(g_keyDecodes.load(), 8);
}

}  // namespace
