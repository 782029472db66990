#include "playback/sync_repositioner.h"

void SyncRepositioner::Run(std::vector<std::function<void()>> calls, std::function<void()> done) {
    Wait();
    m_worker = std::thread([calls = std::move(calls), done = std::move(done)] {
        std::vector<std::thread> threads;
        threads.reserve(calls.size());
        for (const std::function<void()>& call : calls) threads.emplace_back(call);
        for (std::thread& thread : threads) thread.join();
        if (done) done();
    });
}

void SyncRepositioner::Wait() {
    if (m_worker.joinable()) m_worker.join();
}
