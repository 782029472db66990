#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "engine_test_support.h"
#include "process_stats.h"

using namespace enginetest;
using samplegen::Container;

namespace {

// Four ports seek to the end of a long group of 720p pictures and step back
// through it. Decoding that far fills each port's picture cache; one shared
// budget of 64 MB holds them all, and every step still shows exactly the
// picture before.
TEST(MemoryBudget, PortsShareOneBudgetAndStillStepExactly) {
    // Read when the first picture cache is made, which is after this line.
    ::setenv("VIDMUX_PICTURE_MEMORY_MB", "64", 1);
    samplegen::SampleParams params = SmallParams(Container::MpegTs);
    params.width = 1280;
    params.height = 720;
    params.frameCount = 100;
    params.gop = 90;
    const std::string path = SampleFolder::Instance().Get("long-group-720p.ts", params);

    PortGuard ports[4];
    for (PortGuard& port : ports) OpenIndexed(port, path);
    const int64_t before = ProcessStats::Now().nRssKiB;
    for (PortGuard& port : ports) {
        ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, 89));
        ASSERT_EQ(ShownFrame(port), 89);
    }
    // Without a shared budget: 4 x 90 pictures of 1.4 MB, about 500 MB.
    EXPECT_LT(ProcessStats::Now().nRssKiB - before, 250 * 1024);
    for (int step = 88; step >= 79; --step) {
        for (PortGuard& port : ports) {
            ASSERT_TRUE(Vemor_OneByOneBack(port));
            ASSERT_EQ(ShownFrame(port), step);
        }
    }
}

}  // namespace
