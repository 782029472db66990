#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>

// Runs opens in the order they were asked for, and only as many at once as
// leave a processor to the window: each open probes its file and decodes a
// first picture flat out, and sixteen of them side by side starve the
// window's own thread (and Qt's painting helpers) for tens of milliseconds.
// An open that takes longer than a normal one (a file on a stalled network
// share, a drive spinning up) stops counting, so that it never holds up the
// files behind it.
class PendingOpens {
public:
    using Clock = std::chrono::steady_clock;

    PendingOpens(int nAtOnce, Clock::duration slowOpen);

    // The queue the player's background opens share; never destroyed, since
    // a worker may still be finishing while the process exits.
    static PendingOpens& Shared();

    void Add(std::function<void()> fnOpen);

private:
    // Opens running for less than the slow limit.
    int Quick(Clock::time_point now) const;
    void StartWorker();
    void Work(int nWorker);
    // While opens wait and every place is held, lets one in once an open
    // running has become slow.
    void Watch();

    const int m_nAtOnce;
    const Clock::duration m_slowOpen;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::function<void()>> m_pending;
    std::map<int, Clock::time_point> m_running;  // worker -> its open's start
    int m_nNextWorker = 0;
    bool m_bWatching = false;
};
