#include <gtest/gtest.h>

#include "play_clock.h"

using namespace vidmux;
using namespace std::chrono_literals;

namespace {

// Two playing members whose clock was set by a picture at 10 000 ms, due at
// the end of the 40 ms gathering window after t0.
struct TwoMembers : ::testing::Test {
    SyncGroup group;
    TimePoint t0 = TimePoint(1000s);
    void SetUp() override {
        group.Join(1);
        group.Join(2);
        group.SetPlaying(1, true);
        group.SetPlaying(2, true);
        group.DueTime(10000, 1.0, t0);
    }
    TimePoint Settled() const { return t0 + 1s; }
};

double Ms(TimePoint::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

}  // namespace

TEST_F(TwoMembers, AMemberThatFallsBehindHoldsTheGroupBack) {
    // One second on the clock stands at 10 960 ms; the second member only now
    // offers its picture of 10 860 ms: 100 ms behind.
    const TimePoint now = Settled();
    const TimePoint lateDue = group.DueTime(10860, 1.0, now);
    EXPECT_EQ(lateDue, now);
    // The clock went back to it: the first member's next picture, 10 960 ms,
    // waits 100 ms instead of being due at once.
    EXPECT_NEAR(Ms(group.DueTime(10960, 1.0, now) - now), 100.0, 1.0);
}

TEST_F(TwoMembers, SmallLatenessAndLongJumpsLeaveTheClockAlone) {
    const TimePoint now = Settled();
    const double expectedAhead = Ms(group.DueTime(11100, 1.0, now) - now);
    // 20 ms late is ordinary scheduling: shown late, clock unchanged.
    EXPECT_NEAR(Ms(now - group.DueTime(10940, 1.0, now)), 20.0, 1.0);
    // A member whose recorded time jumped a minute back must not freeze the
    // others for a minute.
    group.DueTime(-50000, 1.0, now);
    EXPECT_NEAR(Ms(group.DueTime(11100, 1.0, now) - now), expectedAhead, 1.0);
}

TEST(GroupClock, ALoneMemberNeverHoldsItself) {
    SyncGroup group;
    group.Join(1);
    group.SetPlaying(1, true);
    const TimePoint t0 = TimePoint(1000s);
    group.DueTime(0, 1.0, t0);
    const TimePoint now = t0 + 2s;
    // 460 ms behind with nobody to wait: the clock keeps its time.
    EXPECT_NEAR(Ms(now - group.DueTime(1500, 1.0, now)), 460.0, 1.0);
}
