#pragma once

#include <functional>
#include <thread>
#include <vector>

// Runs the engine calls that move synchronised panes to a new instant, all at
// once and off the user-interface thread: each call waits for its own port to
// decode the picture, so sixteen panes in a row would freeze the window for
// the sum of their decodes. `done` runs on the worker when every call has
// returned; it may only post to the user-interface thread.
class SyncRepositioner {
public:
    SyncRepositioner() = default;
    ~SyncRepositioner() { Wait(); }
    SyncRepositioner(const SyncRepositioner&) = delete;
    SyncRepositioner& operator=(const SyncRepositioner&) = delete;

    // Waits for an earlier run first, so two runs never reach one port at once.
    void Run(std::vector<std::function<void()>> calls, std::function<void()> done);
    // Returns once the last run's calls have all returned.
    void Wait();
    bool Running() const { return m_worker.joinable(); }

private:
    std::thread m_worker;
};
