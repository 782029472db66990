#include "play_clock.h"

#include <cmath>

namespace vidmux {

namespace {

// Members started together offer their first pictures within this time; the
// earliest of them sets the group clock.
constexpr auto kGatherWindow = std::chrono::milliseconds(40);
// A member this far behind the clock cannot keep up (a slow disk, a busy
// machine): the clock goes back to it and the others wait, so the panes stay
// in step rather than in time.
constexpr auto kMaxMemberLag = std::chrono::milliseconds(40);
// Further behind than this is a jump in the member's own recorded time, not
// slowness: holding the others that long would freeze them, so it presents
// at once and catches up alone.
constexpr auto kMaxHeldLag = std::chrono::seconds(2);

}  // namespace

double SpeedOfLevel(int level) { return std::ldexp(1.0, level); }

void PlayClock::Anchor(int64_t mediaMs, TimePoint now) {
    m_anchored = true;
    m_anchorMediaMs = mediaMs;
    m_anchorWall = now;
}

TimePoint PlayClock::DueTime(int64_t mediaMs) const {
    const double distanceMs =
        static_cast<double>(m_reverse ? m_anchorMediaMs - mediaMs : mediaMs - m_anchorMediaMs);
    const auto wall = std::chrono::duration<double, std::milli>(distanceMs / m_speed);
    return m_anchorWall + std::chrono::duration_cast<SteadyClock::duration>(wall);
}

int64_t PlayClock::MediaAt(TimePoint now) const {
    const double elapsedMs = std::chrono::duration<double, std::milli>(now - m_anchorWall).count();
    const int64_t moved = std::llround(elapsedMs * m_speed);
    return m_reverse ? m_anchorMediaMs - moved : m_anchorMediaMs + moved;
}

SyncGroup& SyncGroup::Instance() {
    // Never destroyed: ports may still be closing while the process exits.
    static SyncGroup* group = new SyncGroup;
    return *group;
}

void SyncGroup::Join(int port) {
    std::lock_guard lock(m_mutex);
    m_members.insert(port);
}

void SyncGroup::Leave(int port) {
    std::lock_guard lock(m_mutex);
    m_members.erase(port);
    m_playing.erase(port);
    if (m_playing.empty()) m_clock.Invalidate();
}

bool SyncGroup::IsMember(int port) {
    std::lock_guard lock(m_mutex);
    return m_members.count(port) != 0;
}

void SyncGroup::SetPlaying(int port, bool playing) {
    std::lock_guard lock(m_mutex);
    if (!m_members.count(port)) return;
    if (playing) {
        m_playing.insert(port);
    } else {
        m_playing.erase(port);
        if (m_playing.empty()) m_clock.Invalidate();
    }
}

void SyncGroup::Invalidate() {
    std::lock_guard lock(m_mutex);
    m_clock.Invalidate();
}

void SyncGroup::SetSpeed(double speed, TimePoint now) {
    std::lock_guard lock(m_mutex);
    if (m_clock.Anchored() && speed != m_clock.Speed()) m_clock.Anchor(m_clock.MediaAt(now), now);
    m_clock.SetSpeed(speed);
}

TimePoint SyncGroup::DueTime(int64_t absoluteMs, double speed, TimePoint now) {
    std::lock_guard lock(m_mutex);
    if (!m_clock.Anchored()) {
        m_clock.SetSpeed(speed);
        m_gatherUntil = now + kGatherWindow;
        m_clock.Anchor(absoluteMs, m_gatherUntil);
    } else if (now < m_gatherUntil && absoluteMs < m_clock.MediaAt(m_gatherUntil)) {
        m_clock.Anchor(absoluteMs, m_gatherUntil);
    }
    const TimePoint due = m_clock.DueTime(absoluteMs);
    const auto lag = now - due;
    if (lag > kMaxMemberLag && lag < kMaxHeldLag && m_playing.size() > 1) {
        m_clock.Anchor(absoluteMs, now);
        return now;
    }
    return due;
}

}  // namespace vidmux
