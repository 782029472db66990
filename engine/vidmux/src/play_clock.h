#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <set>

namespace vidmux {

using SteadyClock = std::chrono::steady_clock;
using TimePoint = SteadyClock::time_point;

// Speed of a level: -4..+4 gives 1/16x..16x.
double SpeedOfLevel(int level);

// A port's clock: which media time is due at which wall time. It runs
// forward, or backward for reverse play, at the port's speed.
class PlayClock {
public:
    void Anchor(int64_t mediaMs, TimePoint now);
    void SetSpeed(double speed) { m_speed = speed; }
    double Speed() const { return m_speed; }
    void SetReverse(bool reverse) { m_reverse = reverse; }
    bool Reverse() const { return m_reverse; }
    bool Anchored() const { return m_anchored; }
    void Invalidate() { m_anchored = false; }

    TimePoint DueTime(int64_t mediaMs) const;
    int64_t MediaAt(TimePoint now) const;

private:
    bool m_anchored = false;
    bool m_reverse = false;
    double m_speed = 1.0;
    int64_t m_anchorMediaMs = 0;
    TimePoint m_anchorWall{};
};

// Synchronisation group 0: its members present pictures by one clock in
// absolute time. After the group was idle or repositioned, the clock is set
// by the earliest picture any member offers within a short gathering window;
// members ahead of the clock wait, members behind it present without waiting
// until they have caught up.
class SyncGroup {
public:
    static SyncGroup& Instance();

    void Join(int port);
    void Leave(int port);
    bool IsMember(int port);

    // A member started or stopped playing. When no member plays, the clock
    // stops and the next member to present sets it again.
    void SetPlaying(int port, bool playing);
    // A member was repositioned: the clock is set again by the next picture.
    void Invalidate();
    void SetSpeed(double speed, TimePoint now);

    TimePoint DueTime(int64_t absoluteMs, double speed, TimePoint now);

private:
    std::mutex m_mutex;
    std::set<int> m_members;
    std::set<int> m_playing;
    PlayClock m_clock;
    TimePoint m_gatherUntil{};
};

}  // namespace vidmux
