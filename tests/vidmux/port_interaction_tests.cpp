#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

#include "engine_test_support.h"

using namespace enginetest;
using samplegen::Container;
using namespace std::chrono_literals;

namespace {

// Each port's draw callback pauses the other port, once, while the other
// port's callback is running too.
struct CrossPause {
    int32_t other = -1;
    std::atomic<bool>* bothInside = nullptr;
    std::atomic<int>* inside = nullptr;
    std::atomic<bool> called{false};
    std::atomic<int> result{-1};
    std::atomic<uint32_t> error{0};
};

void PauseTheOther(int32_t, VemorDrawContext*, void* user) {
    auto* self = static_cast<CrossPause*>(user);
    if (self->called.exchange(true)) return;
    ++*self->inside;
    const auto deadline = std::chrono::steady_clock::now() + 2s;
    while (self->inside->load() < 2 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
    }
    self->result = Vemor_Pause(self->other, 1);
    self->error = Vemor_GetLastError(self->other);
}

TEST(PortInteraction, CallbacksPausingEachOthersPortDoNotHang) {
    CapturingWindow windowA(160, 120), windowB(160, 120);
    PortGuard a, b;
    OpenIndexed(a, SmallSample(Container::Mp4));
    OpenIndexed(b, SmallSample(Container::Recorder));
    std::atomic<bool> bothInside{false};
    std::atomic<int> inside{0};
    CrossPause fromA, fromB;
    fromA.other = b;
    fromB.other = a;
    fromA.bothInside = fromB.bothInside = &bothInside;
    fromA.inside = fromB.inside = &inside;
    ASSERT_TRUE(Vemor_RegisterDrawFun(a, &PauseTheOther, &fromA));
    ASSERT_TRUE(Vemor_RegisterDrawFun(b, &PauseTheOther, &fromB));
    ASSERT_TRUE(Vemor_Play(a, windowA.window()));
    ASSERT_TRUE(Vemor_Play(b, windowB.window()));
    ASSERT_TRUE(WaitFor([&] { return fromA.result >= 0 && fromB.result >= 0; }, 5s))
        << "a callback is still waiting on the other port";
    // Both callbacks were inside at once: one call would have closed the
    // circle and is refused, the other waits its turn and pauses.
    EXPECT_EQ(fromA.result + fromB.result, 1);
    CrossPause& refused = fromA.result == 0 ? fromA : fromB;
    EXPECT_EQ(refused.error, static_cast<uint32_t>(VIDMUX_ERR_WOULD_DEADLOCK));
    int32_t paused = fromA.result == 1 ? b : a;
    const int held = ShownFrame(paused);
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(ShownFrame(paused), held);
    EXPECT_TRUE(Vemor_Stop(a));
    EXPECT_TRUE(Vemor_Stop(b));
}

// A recording followed by two gigabytes of nothing (a sparse file): indexing
// it reads for seconds.
std::string SlowToIndex() {
    const std::string path = SampleFolder::Instance().Path("padded.ts");
    if (!std::filesystem::exists(path)) {
        std::filesystem::copy_file(SmallSample(Container::MpegTs), path);
        std::filesystem::resize_file(path, 2ull << 30);
    }
    return path;
}

TEST(PortInteraction, ReversePlayAndBackStepNeedTheIndex) {
    PortGuard port;
    ASSERT_TRUE(Vemor_OpenFile(port, SlowToIndex().c_str()));
    EXPECT_FALSE(Vemor_ReversePlay(port));
    EXPECT_EQ(Vemor_GetLastError(port), static_cast<uint32_t>(VIDMUX_ERR_NO_INDEX));
    ASSERT_TRUE(Vemor_OneByOne(port));
    ASSERT_TRUE(Vemor_OneByOne(port));
    EXPECT_EQ(ShownFrame(port), 1);
    EXPECT_FALSE(Vemor_OneByOneBack(port));
    EXPECT_EQ(Vemor_GetLastError(port), static_cast<uint32_t>(VIDMUX_ERR_NO_INDEX));
}

TEST(PortInteraction, CloseFreeAndOpenReturnPromptlyWhileIndexing) {
    using Clock = std::chrono::steady_clock;
    // Generous for loaded machines and sanitizers; the benchmark measures the real bound.
    constexpr auto kPrompt = 300ms;
    const std::string other = SmallSample(Container::Mp4);
    auto openOther = [&](int32_t port) {
        const auto start = Clock::now();
        EXPECT_TRUE(Vemor_OpenFile(port, other.c_str()));
        return Clock::now() - start;
    };
    Clock::duration alone;
    {
        PortGuard fresh;
        alone = openOther(fresh);
    }
    for (int round = 0; round < 3; ++round) {
        int32_t port = -1;
        ASSERT_TRUE(Vemor_GetPort(&port));
        ASSERT_TRUE(Vemor_OpenFile(port, SlowToIndex().c_str()));
        std::this_thread::sleep_for(100ms);
        auto start = Clock::now();
        EXPECT_TRUE(Vemor_CloseFile(port));
        EXPECT_LT(Clock::now() - start, kPrompt) << "close";
        // Opening another file is not held up by the reader of the last one.
        EXPECT_LT(openOther(port), alone + kPrompt) << "open";
        EXPECT_TRUE(Vemor_CloseFile(port));
        ASSERT_TRUE(Vemor_OpenFile(port, SlowToIndex().c_str()));
        std::this_thread::sleep_for(100ms);
        start = Clock::now();
        EXPECT_TRUE(Vemor_FreePort(port));
        EXPECT_LT(Clock::now() - start, kPrompt) << "free";
    }
}

}  // namespace

// A draw callback that holds the port thread for a while on its first call.
struct SlowDraw {
    std::atomic<int> calls{0};
    std::atomic<bool> inside{false};
    std::atomic<bool> finished{false};
};

void DrawSlowlyOnce(int32_t, VemorDrawContext*, void* user) {
    auto* self = static_cast<SlowDraw*>(user);
    if (self->calls++ > 0) return;
    self->inside = true;
    std::this_thread::sleep_for(300ms);
    self->finished = true;
}

TEST(PortInteraction, ReplacingACallbackWaitsForTheOneRunning) {
    CapturingWindow window(160, 120);
    PortGuard port;
    OpenIndexed(port, SmallSample(Container::Mp4));
    SlowDraw slow;
    ASSERT_TRUE(Vemor_RegisterDrawFun(port, &DrawSlowlyOnce, &slow));
    ASSERT_TRUE(Vemor_Play(port, window.window()));
    ASSERT_TRUE(WaitFor([&] { return slow.inside.load(); }, 5s));
    // Once the change returns, the replaced callback has finished and is
    // never called again: whatever it pointed at may go.
    ASSERT_TRUE(Vemor_RegisterDrawFun(port, nullptr, nullptr));
    EXPECT_TRUE(slow.finished);
    const int calls = slow.calls;
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(slow.calls, calls);
    EXPECT_TRUE(Vemor_Stop(port));
}
