#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "conversion_job.h"
#include "conversion_settings.h"

namespace trovan {

// The conversion behind one handle: its paths and settings, and the thread
// that converts once started.
class Conversion {
public:
    ~Conversion();

    int Initial(const std::string& source, const std::string& target);
    int SetParams(const TrovanParams& params);
    int Start();
    int Percent(int32_t* percent);
    // Ends a running conversion and waits for its thread.
    void Stop();

private:
    enum class State { Idle, Running, Finished, Failed };

    void Join();

    std::mutex m_mutex;
    std::string m_source;
    std::string m_target;
    ConversionSettings m_settings;
    std::thread m_thread;
    std::shared_ptr<JobProgress> m_progress;
    std::atomic<State> m_state{State::Idle};
    std::atomic<int> m_result{TROVAN_OK};
};

}  // namespace trovan
