// A paused port decodes the group before its picture in the background: only
// into the room the shared budget has, on a decoder of its own (play goes on
// from the paused picture), and the steps back land on the exact pictures.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "engine_test_support.h"
#include "process_stats.h"

using namespace enginetest;
using namespace std::chrono_literals;

namespace {

constexpr int kBudgetMb = 48;

// How many of this process's descriptors are open on `path`.
int DescriptorsOpenOn(const std::string& path) {
    const std::filesystem::path target = std::filesystem::canonical(path);
    int count = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
        std::error_code linkError;
        if (std::filesystem::read_symlink(entry.path(), linkError) == target) ++count;
    }
    return count;
}

// 720p pictures (1.4 MB each decoded) in groups of 90: one group is far more
// than the budget.
std::string LongGroups() {
    samplegen::SampleParams params = SmallParams(samplegen::Container::MpegTs);
    params.width = 1280;
    params.height = 720;
    params.frameCount = 180;
    params.gop = 90;
    return SampleFolder::Instance().Get("prefetch-720p.ts", params);
}

class Prefetch : public testing::Test {
protected:
    static void SetUpTestSuite() {
        // Read when the first picture cache is made, which is after this line.
        ::setenv("VIDMUX_PICTURE_MEMORY_MB", std::to_string(kBudgetMb).c_str(), 1);
    }
};

TEST_F(Prefetch, APausedPortFillsOnlyTheBudgetsRoomAndStepsBackExactly) {
    PortGuard port;
    OpenIndexed(port, LongGroups());
    // On a key frame: the seek decodes that one picture and caches nothing else.
    ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, 90));
    const int64_t before = ProcessStats::Now().nRssKiB;
    std::this_thread::sleep_for(2s);
    // The whole group before would be 90 x 1.4 MB; the budget holds a third.
    EXPECT_LT(ProcessStats::Now().nRssKiB - before, (kBudgetMb + 24) * 1024);
    for (int expected = 89; expected >= 60; --expected) {
        ASSERT_TRUE(Vemor_OneByOneBack(port)) << "at " << expected + 1;
        ASSERT_EQ(ShownFrame(port), expected);
        ASSERT_EQ(Vemor_GetCurrentFrameNum(port), static_cast<uint32_t>(expected));
    }
}

TEST_F(Prefetch, PlayAfterAPrefetchGoesOnFromThePausedPicture) {
    CapturingWindow window(320, 180);
    PortGuard port;
    OpenIndexed(port, LongGroups());
    ASSERT_TRUE(Vemor_Play(port, window.window()));
    ASSERT_TRUE(Vemor_Pause(port, 1));
    ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, 120));
    // Long enough for the prefetch of pictures 90-119 to be under way.
    std::this_thread::sleep_for(300ms);
    const int shownBefore = window.Presented();
    ASSERT_TRUE(Vemor_Play(port, window.window()));
    ASSERT_TRUE(WaitFor([&] { return window.Presented() >= shownBefore + 5; }, 10s));
    ASSERT_TRUE(Vemor_Pause(port, 1));
    const std::vector<int> frames = window.Frames();
    for (size_t i = shownBefore; i < frames.size(); ++i) {
        EXPECT_EQ(frames[i], 121 + static_cast<int>(i) - shownBefore) << "picture " << i;
    }
    // A seek into another group, then steps back through it.
    ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, 40));
    for (int expected = 39; expected >= 35; --expected) {
        ASSERT_TRUE(Vemor_OneByOneBack(port));
        ASSERT_EQ(ShownFrame(port), expected);
    }
}

TEST_F(Prefetch, ThePrefetchReaderAndDecoderGoOnceTheirGroupIsDone) {
    const std::string path = LongGroups();
    PortGuard port;
    OpenIndexed(port, path);
    const int nPortsOwn = DescriptorsOpenOn(path);
    ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, 90));
    // The prefetch reads the group before on a reader of its own...
    EXPECT_TRUE(WaitFor([&] { return DescriptorsOpenOn(path) > nPortsOwn; }, 5s));
    // ...and lets it go with its decoder once the group is done, although
    // the port stays paused: sixteen paused ports keep no second decoder each.
    EXPECT_TRUE(WaitFor([&] { return DescriptorsOpenOn(path) == nPortsOwn; }, 15s));
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(DescriptorsOpenOn(path), nPortsOwn);
    ASSERT_TRUE(Vemor_OneByOneBack(port));
    EXPECT_EQ(ShownFrame(port), 89);
}

TEST_F(Prefetch, ClosingWhilePrefetchingLeavesNothingRunning) {
    for (int round = 0; round < 3; ++round) {
        PortGuard port;
        OpenIndexed(port, LongGroups());
        ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, 179));
        std::this_thread::sleep_for(50ms);
        // PortGuard frees the port here, with the prefetch mid-group.
    }
    PortGuard port;
    OpenIndexed(port, LongGroups());
    ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, 100));
    ASSERT_TRUE(Vemor_OneByOneBack(port));
    EXPECT_EQ(ShownFrame(port), 99);
}

}  // namespace
