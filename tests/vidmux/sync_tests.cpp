#include <gtest/gtest.h>

#include <thread>

#include "engine_test_support.h"

using namespace enginetest;
using samplegen::Container;
using namespace std::chrono_literals;

namespace {

int64_t AbsoluteMs(int32_t port) {
    VemorSystemTime t{};
    if (!Vemor_GetSystemTime(port, &t)) return -1;
    return ((static_cast<int64_t>(t.dwHour) * 60 + t.dwMin) * 60 + t.dwSec) * 1000 + t.dwMs;
}

// Largest distance between the two ports' absolute times seen over `duration`.
int64_t WorstDistance(int32_t a, int32_t b, std::chrono::milliseconds duration) {
    int64_t worst = 0;
    const auto end = std::chrono::steady_clock::now() + duration;
    while (std::chrono::steady_clock::now() < end) {
        worst = std::max(worst, std::abs(AbsoluteMs(a) - AbsoluteMs(b)));
        std::this_thread::sleep_for(7ms);
    }
    return worst;
}

TEST(SyncGroup, TwoRecordingsOfOneEventStayWithinAFrame) {
    samplegen::SampleParams first = SmallParams(Container::Recorder);
    first.frameCount = 150;
    first.start = samplegen::StartTime{2024, 3, 1, 12, 0, 0};
    samplegen::SampleParams second = SmallParams(Container::Mp4, true);
    second.frameCount = 150;
    second.start = first.start;
    PortGuard a, b;
    OpenIndexed(a, SampleFolder::Instance().Get("event-cam1.imx", first));
    OpenIndexed(b, SampleFolder::Instance().Get("event-cam2.mp4", second));
    ASSERT_TRUE(Vemor_SetSycGroup(a, 0));
    ASSERT_TRUE(Vemor_SetSycGroup(b, 0));
    ASSERT_TRUE(Vemor_Play(a, nullptr));
    ASSERT_TRUE(Vemor_Play(b, nullptr));
    EXPECT_LE(WorstDistance(a, b, 1500ms), 40);

    ASSERT_TRUE(Vemor_Pause(a, 1));
    ASSERT_TRUE(Vemor_Pause(b, 1));
    std::this_thread::sleep_for(200ms);
    ASSERT_TRUE(Vemor_Pause(a, 0));
    ASSERT_TRUE(Vemor_Pause(b, 0));
    std::this_thread::sleep_for(80ms);
    EXPECT_LE(WorstDistance(a, b, 800ms), 40);

    ASSERT_TRUE(Vemor_SetPlayedTimeEx(a, 3000));
    ASSERT_TRUE(Vemor_SetPlayedTimeEx(b, 3000));
    std::this_thread::sleep_for(80ms);
    EXPECT_LE(WorstDistance(a, b, 1000ms), 40);
    EXPECT_GE(AbsoluteMs(a), 12 * 3600000 + 3000);
}

TEST(SyncGroup, AMemberAheadWaitsForTheGroup) {
    samplegen::SampleParams params = SmallParams(Container::Recorder);
    params.frameCount = 150;
    params.start = samplegen::StartTime{2024, 3, 1, 12, 0, 0};
    samplegen::SampleParams later = params;
    later.start = samplegen::StartTime{2024, 3, 1, 12, 0, 2};  // starts two seconds later
    PortGuard a, b;
    OpenIndexed(a, SampleFolder::Instance().Get("group-early.imx", params));
    OpenIndexed(b, SampleFolder::Instance().Get("group-late.imx", later));
    ASSERT_TRUE(Vemor_SetSycGroup(a, 0));
    ASSERT_TRUE(Vemor_SetSycGroup(b, 0));
    ASSERT_TRUE(Vemor_Play(a, nullptr));
    ASSERT_TRUE(Vemor_Play(b, nullptr));
    std::this_thread::sleep_for(800ms);
    // The later recording's first picture lies two seconds ahead: it waits.
    EXPECT_LE(Vemor_GetCurrentFrameNum(b), 1u);
    EXPECT_GE(Vemor_GetCurrentFrameNum(a), 15u);
}

TEST(SyncGroup, AFileWithoutAbsoluteTimeCannotJoinNorFreezeTheOthers) {
    samplegen::SampleParams timed = SmallParams(Container::Recorder);
    timed.frameCount = 150;
    timed.start = samplegen::StartTime{2024, 3, 1, 12, 0, 0};
    PortGuard a, b;
    OpenIndexed(a, SampleFolder::Instance().Get("group-timed.imx", timed));
    OpenIndexed(b, SmallSample(Container::Mp4));
    EXPECT_FALSE(Vemor_SetSycGroup(b, 0));
    EXPECT_EQ(Vemor_GetLastError(b), static_cast<uint32_t>(VIDMUX_ERR_NO_TIME));
    ASSERT_TRUE(Vemor_SetSycGroup(a, 0));
    ASSERT_TRUE(Vemor_Play(a, nullptr));
    ASSERT_TRUE(Vemor_Play(b, nullptr));
    ASSERT_TRUE(WaitFor([&] { return Vemor_GetCurrentFrameNum(a) >= 12; }, 3s));
    ASSERT_TRUE(Vemor_Pause(a, 1));
    const int shown = ShownFrame(a);
    EXPECT_GE(shown, 12);
    EXPECT_GE(AbsoluteMs(a), 12 * 3600000 + shown * 40);
}

}  // namespace
