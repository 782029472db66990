#include <gtest/gtest.h>

#include <thread>

#include "engine_test_support.h"

using namespace enginetest;
using samplegen::Container;
using namespace std::chrono_literals;

namespace {

struct EndCounter {
    std::atomic<int> ends{0};
    static void OnEnd(int32_t, void* user) { ++static_cast<EndCounter*>(user)->ends; }
};

TEST(Playback, PlaysEveryFrameInOrderAndReportsTheEndOnce) {
    EndCounter counter;
    CapturingWindow window(160, 120);
    PortGuard port;
    ASSERT_TRUE(Vemor_SetFileEndCallback(port, &EndCounter::OnEnd, &counter));
    OpenIndexed(port, SmallSample(Container::Recorder, true));
    ASSERT_TRUE(Vemor_Play(port, window.window()));
    ASSERT_TRUE(Vemor_Fast(port));
    ASSERT_TRUE(Vemor_Fast(port));
    ASSERT_TRUE(WaitFor([&] { return counter.ends.load() > 0; }, 10s));
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(counter.ends.load(), 1);
    std::vector<int> expected(50);
    for (int i = 0; i < 50; ++i) expected[i] = i;
    EXPECT_EQ(window.Frames(), expected);
    EXPECT_EQ(Vemor_GetCurrentFrameNum(port), 49u);
}

TEST(Playback, PauseHoldsThePictureAndPlayGoesOnFromIt) {
    CapturingWindow window(160, 120);
    PortGuard port;
    OpenIndexed(port, SmallSample(Container::Mp4));
    ASSERT_TRUE(Vemor_Play(port, window.window()));
    ASSERT_TRUE(WaitFor([&] { return window.Presented() >= 5; }, 5s));
    ASSERT_TRUE(Vemor_Pause(port, 1));
    const int held = ShownFrame(port);
    const int presented = window.Presented();
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(ShownFrame(port), held);
    EXPECT_EQ(window.Presented(), presented);
    EXPECT_EQ(Vemor_GetCurrentFrameNum(port), static_cast<uint32_t>(held));
    ASSERT_TRUE(Vemor_Pause(port, 0));
    ASSERT_TRUE(WaitFor([&] { return window.Presented() > presented; }, 2s));
    EXPECT_EQ(window.Frames()[presented], held + 1);
}

TEST(Playback, StopThenPlayStartsFromTheFirstPicture) {
    CapturingWindow window(160, 120);
    PortGuard port;
    OpenIndexed(port, SmallSample(Container::MpegTs));
    ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, 30));
    ASSERT_TRUE(Vemor_Stop(port));
    ASSERT_TRUE(Vemor_Play(port, window.window()));
    ASSERT_TRUE(WaitFor([&] { return window.Presented() >= 1; }, 2s));
    EXPECT_EQ(window.Frames().front(), 0);
}

TEST(Playback, RepositionWhilePlayingContinuesFromTheNewFrame) {
    CapturingWindow window(160, 120);
    PortGuard port;
    OpenIndexed(port, SmallSample(Container::Recorder));
    ASSERT_TRUE(Vemor_Play(port, window.window()));
    ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, 40));
    // The port counts a picture as current just before drawing it, so wait for
    // the window itself to have two pictures after frame 40.
    const auto twoDrawnAfter40 = [&] {
        const std::vector<int> drawn = window.Frames();
        const auto it = std::find(drawn.begin(), drawn.end(), 40);
        return it != drawn.end() && drawn.end() - it >= 3;
    };
    ASSERT_TRUE(WaitFor(twoDrawnAfter40, 3s));
    const std::vector<int> frames = window.Frames();
    auto at40 = std::find(frames.begin(), frames.end(), 40);
    ASSERT_NE(at40, frames.end());
    ASSERT_LT(at40 + 2, frames.end());
    EXPECT_EQ(*(at40 + 1), 41);
    EXPECT_EQ(*(at40 + 2), 42);
}

TEST(Playback, SpeedLevelTwoPlaysFourTimesFaster) {
    samplegen::SampleParams params = SmallParams(Container::Mp4);
    params.frameCount = 100;  // 4 s
    const std::string path = SampleFolder::Instance().Get("four-seconds.mp4", params);
    auto timeToEnd = [&](int level) {
        EndCounter counter;
        PortGuard port;
        EXPECT_TRUE(Vemor_SetFileEndCallback(port, &EndCounter::OnEnd, &counter));
        OpenIndexed(port, path);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_TRUE(Vemor_Play(port, nullptr));
        for (int i = 0; i < level; ++i) EXPECT_TRUE(Vemor_Fast(port));
        EXPECT_TRUE(WaitFor([&] { return counter.ends.load() > 0; }, 20s));
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    const double normal = timeToEnd(0);
    const double fast = timeToEnd(2);
    EXPECT_NEAR(normal, 4.0, 0.4);
    EXPECT_NEAR(fast, 1.0, 0.2);
}

TEST(Playback, ASpeedChangeInMidPlayGoesOnFromThePictureShown) {
    samplegen::SampleParams params = SmallParams(Container::Mp4);
    params.frameCount = 250;  // 10 s
    const std::string path = SampleFolder::Instance().Get("ten-seconds.mp4", params);
    CapturingWindow window(160, 120);
    PortGuard port;
    OpenIndexed(port, path);
    ASSERT_TRUE(Vemor_Play(port, window.window()));
    ASSERT_TRUE(WaitFor([&] { return window.Presented() >= 25; }, 5s));
    // The next picture after each change follows the last one shown; a clock
    // that kept its old start would jump by the time played so far times the
    // change of speed.
    auto nextAfterChange = [&](const std::function<void()>& change) {
        const int before = window.Presented();
        const int shown = window.Frames().back();
        change();
        EXPECT_TRUE(WaitFor([&] { return window.Presented() > before; }, 3s));
        const std::vector<int> frames = window.Frames();
        return std::pair<int, int>(shown, frames[static_cast<size_t>(before)]);
    };
    auto [shownBeforeFast, firstFast] = nextAfterChange([&] {
        ASSERT_TRUE(Vemor_Fast(port));
        ASSERT_TRUE(Vemor_Fast(port));
    });
    EXPECT_GE(firstFast, shownBeforeFast);
    EXPECT_LE(firstFast, shownBeforeFast + 4);
    // Four times as fast from there: about 50 pictures' worth in half a second.
    const int afterFast = window.Frames().back();
    std::this_thread::sleep_for(500ms);
    EXPECT_NEAR(window.Frames().back() - afterFast, 50, 15);

    auto [shownBeforeSlow, firstSlow] = nextAfterChange([&] {
        for (int i = 0; i < 3; ++i) ASSERT_TRUE(Vemor_Slow(port));
    });
    EXPECT_GE(firstSlow, shownBeforeSlow);
    EXPECT_LE(firstSlow, shownBeforeSlow + 2);
}

TEST(Playback, SpeedLevelsStopAtPlusAndMinusFour) {
    PortGuard port;
    OpenIndexed(port, SmallSample(Container::Mp4));
    ASSERT_TRUE(Vemor_Play(port, nullptr));
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(Vemor_Fast(port));
    EXPECT_FALSE(Vemor_Fast(port));
    EXPECT_EQ(Vemor_GetLastError(port), static_cast<uint32_t>(VIDMUX_ERR_OUT_OF_RANGE));
    for (int i = 0; i < 8; ++i) ASSERT_TRUE(Vemor_Slow(port));
    EXPECT_FALSE(Vemor_Slow(port));
    // Play starts again at normal speed.
    ASSERT_TRUE(Vemor_Play(port, nullptr));
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(Vemor_Slow(port));
}

TEST(Playback, DroppingBFramesSkipsThemButKeepsReferencePictures) {
    CapturingWindow window(160, 120);
    PortGuard port;
    OpenIndexed(port, SmallSample(Container::Mp4, true));
    ASSERT_TRUE(Vemor_ThrowBFrameNum(port, 2));
    ASSERT_TRUE(Vemor_Play(port, window.window()));
    // 4x leaves a fifth of a second between the wait and the pause below, so the
    // pause does not race the end of the file.
    for (int i = 0; i < 2; ++i) ASSERT_TRUE(Vemor_Fast(port));
    ASSERT_TRUE(WaitFor([&] { return Vemor_GetCurrentFrameNum(port) >= 30; }, 5s));
    const std::vector<int> frames = window.Frames();
    EXPECT_LT(frames.size(), 20u);  // only I and P pictures: a third of them
    EXPECT_TRUE(std::is_sorted(frames.begin(), frames.end()));
    EXPECT_EQ(frames.front(), 0);

    ASSERT_TRUE(Vemor_Pause(port, 1));
    ASSERT_TRUE(Vemor_ThrowBFrameNum(port, 0));
    ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, 10));
    EXPECT_EQ(ShownFrame(port), 10);
}

TEST(Playback, FileEndMessageReachesTheWindow) {
    struct Inbox {
        std::atomic<uint32_t> message{0};
    } inbox;
    VemorRenderWindow messages{};
    messages.user = &inbox;
    messages.post_message = [](void* user, uint32_t message) {
        static_cast<Inbox*>(user)->message = message;
    };
    PortGuard port;
    ASSERT_TRUE(Vemor_SetFileEndMsg(port, &messages, VIDMUX_MSG_FILE_END));
    OpenIndexed(port, SmallSample(Container::RawH264));
    ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, 45));
    ASSERT_TRUE(Vemor_Play(port, nullptr));
    EXPECT_TRUE(WaitFor([&] { return inbox.message.load() == VIDMUX_MSG_FILE_END; }, 3s));
}

}  // namespace
