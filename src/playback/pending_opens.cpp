#include "playback/pending_opens.h"

#include <algorithm>
#include <thread>

namespace {
// A normal open, probe and first picture, takes 5-50 ms even on a loaded
// machine; one running this long is waiting on its file.
constexpr auto kSlowOpen = std::chrono::milliseconds(300);
}  // namespace

PendingOpens::PendingOpens(int nAtOnce, Clock::duration slowOpen)
    : m_nAtOnce(std::max(1, nAtOnce)), m_slowOpen(slowOpen) {}

PendingOpens& PendingOpens::Shared() {
    static PendingOpens* queue =
        new PendingOpens(static_cast<int>(std::thread::hardware_concurrency()) - 1, kSlowOpen);
    return *queue;
}

void PendingOpens::Add(std::function<void()> fnOpen) {
    std::lock_guard lock(m_mutex);
    m_pending.push_back(std::move(fnOpen));
    if (Quick(Clock::now()) < m_nAtOnce) {
        StartWorker();
    } else if (!m_bWatching) {
        m_bWatching = true;
        std::thread([this] { Watch(); }).detach();
    }
}

int PendingOpens::Quick(Clock::time_point now) const {
    return static_cast<int>(std::count_if(m_running.begin(), m_running.end(), [&](const auto& run) {
        return now - run.second < m_slowOpen;
    }));
}

void PendingOpens::StartWorker() {
    // Holds its place from now, so that the next Add counts it.
    const int nWorker = m_nNextWorker++;
    m_running[nWorker] = Clock::now();
    std::thread([this, nWorker] { Work(nWorker); }).detach();
}

void PendingOpens::Work(int nWorker) {
    std::unique_lock lock(m_mutex);
    while (!m_pending.empty()) {
        std::function<void()> fnOpen = std::move(m_pending.front());
        m_pending.pop_front();
        m_running[nWorker] = Clock::now();
        lock.unlock();
        fnOpen();
        lock.lock();
    }
    m_running.erase(nWorker);
    m_changed.notify_all();
}

void PendingOpens::Watch() {
    std::unique_lock lock(m_mutex);
    while (!m_pending.empty()) {
        const Clock::time_point now = Clock::now();
        if (Quick(now) < m_nAtOnce) {
            StartWorker();
            continue;
        }
        // The next moment a running open can turn slow.
        Clock::time_point next = Clock::time_point::max();
        for (const auto& run : m_running) next = std::min(next, run.second + m_slowOpen);
        m_changed.wait_until(lock, next);
    }
    m_bWatching = false;
}
