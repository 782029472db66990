// Opens take turns in the order asked for, a few at a time, and one that
// hangs on its file does not hold up those behind it.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "playback/pending_opens.h"

using namespace std::chrono_literals;

namespace {

// The queues live for the whole run, since their workers end on their own;
// the list keeps them reachable.
PendingOpens& NewQueue(int nAtOnce, std::chrono::milliseconds slowOpen) {
    static auto* queues = new std::vector<PendingOpens*>;
    queues->push_back(new PendingOpens(nAtOnce, slowOpen));
    return *queues->back();
}

}  // namespace

TEST(PendingOpensTest, OpensRunInTurnAndNoMoreAtOnceThanAllowed) {
    for (int nAtOnce : {1, 2}) {
        PendingOpens& queue = NewQueue(nAtOnce, 10s);
        std::mutex mutex;
        std::vector<int> started;
        std::atomic<int> nRunning{0}, nMostRunning{0}, nDone{0};
        for (int i = 0; i < 8; ++i) {
            queue.Add([&, i] {
                {
                    std::lock_guard lock(mutex);
                    started.push_back(i);
                }
                const int nNow = ++nRunning;
                int nMost = nMostRunning;
                while (nNow > nMost && !nMostRunning.compare_exchange_weak(nMost, nNow)) {
                }
                std::this_thread::sleep_for(30ms);
                --nRunning;
                ++nDone;
            });
        }
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (nDone < 8 && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(5ms);
        }
        ASSERT_EQ(nDone, 8) << nAtOnce;
        EXPECT_EQ(nMostRunning, nAtOnce);
        std::lock_guard lock(mutex);
        // Side by side, two may note their start in either order.
        if (nAtOnce == 1) {
            EXPECT_EQ(started, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
        }
        std::sort(started.begin(), started.end());
        EXPECT_EQ(started, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    }
}

TEST(PendingOpensTest, AnOpenHangingOnItsFileDoesNotHoldUpTheNext) {
    PendingOpens& queue = NewQueue(1, 100ms);
    // The hung open outlives this test's frame: it holds its own state.
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    auto pHungDone = std::make_shared<std::atomic<bool>>(false);
    std::promise<std::chrono::steady_clock::time_point> nextRan;
    const auto start = std::chrono::steady_clock::now();
    queue.Add([released, pHungDone] {
        released.wait_for(5s);
        *pHungDone = true;
    });
    queue.Add([&] { nextRan.set_value(std::chrono::steady_clock::now()); });
    auto ran = nextRan.get_future();
    ASSERT_EQ(ran.wait_for(3s), std::future_status::ready);
    // It waited its turn for as long as a normal open may take, no longer.
    const auto waited = ran.get() - start;
    EXPECT_GE(waited, 90ms);
    EXPECT_LT(waited, 1s);
    EXPECT_FALSE(*pHungDone);
    release.set_value();
}
