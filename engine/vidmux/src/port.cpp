#include "port.h"

#include <cstring>

#include "audio_output.h"
#include "call_waits.h"
#include "decoder_load.h"

namespace vidmux {

namespace {

// Opening reads at most this many packets looking for the first picture, so
// a large damaged file is refused quickly instead of being read to its end.
constexpr int kFirstPictureMaxPackets = 2000;
// How long a close waits for the index thread to notice it should stop.
constexpr auto kIndexStopWait = std::chrono::milliseconds(60);

}  // namespace

Port::Port(int id) : m_id(id) {}

Port::~Port() {
    StopThreads();
    AudioOutput::Instance().Forget(m_id);
    SyncGroup::Instance().Leave(m_id);
}

bool Port::OnPortThread() const { return std::this_thread::get_id() == m_threadId.load(); }

int Port::Call(std::function<int()> work) {
    if (OnPortThread()) return work();
    ScopedCallWait wait(m_id);
    if (!wait.Allowed()) return VIDMUX_ERR_WOULD_DEADLOCK;
    auto job = std::make_shared<Job>();
    job->work = std::move(work);
    std::unique_lock lock(m_mutex);
    if (!m_running) return VIDMUX_ERR_ORDER;
    m_jobs.push_back(job);
    m_wake.notify_all();
    m_jobDone.wait(lock, [&] { return job->done; });
    return job->result;
}

bool Port::Post(std::function<int()> work) {
    auto job = std::make_shared<Job>();
    job->work = std::move(work);
    job->detached = true;
    std::lock_guard lock(m_mutex);
    if (!m_running) return false;
    m_jobs.push_back(job);
    m_wake.notify_all();
    return true;
}

void Port::Run() {
    std::unique_lock lock(m_mutex);
    while (!m_quit) {
        if (!m_jobs.empty()) {
            std::shared_ptr<Job> job = m_jobs.front();
            m_jobs.pop_front();
            lock.unlock();
            const int result = job->work();
            lock.lock();
            job->result = result;
            job->done = true;
            m_jobDone.notify_all();
            continue;
        }
        if (m_mode != Mode::Playing) {
            // Idle: a picture of the group before the current one, if wanted.
            lock.unlock();
            const bool prefetched = PrefetchSlice();
            lock.lock();
            if (!prefetched && m_jobs.empty() && !m_quit && m_mode != Mode::Playing) {
                m_wake.wait(lock);
            }
            continue;
        }
        PlayOnce(lock);
    }
    // The enhancer was made on this thread and goes with it.
    m_enhancement.Release();
    // Release callers still waiting: the file is gone.
    for (const std::shared_ptr<Job>& job : m_jobs) {
        job->result = VIDMUX_ERR_ORDER;
        job->done = true;
    }
    m_jobs.clear();
    m_jobDone.notify_all();
}

int Port::OpenFile(const std::string& path) {
    if (OnPortThread()) return VIDMUX_ERR_ORDER;
    std::lock_guard life(m_lifeMutex);
    {
        std::lock_guard lock(m_mutex);
        if (m_running) return VIDMUX_ERR_ORDER;
    }
    auto source = std::make_unique<MediaSource>();
    int error = VIDMUX_NOERROR;
    m_abortReads = false;
    const int decoderThreads = DecoderThreadsFor(OpenFiles::Add());
    if (!source->Open(path, &error, &m_abortReads, decoderThreads)) {
        OpenFiles::Remove();
        return error;
    }
    // A file that yields no picture is not playable, whatever its container
    // says. The picture is kept: it is the first one Play shows.
    Picture first;
    if (source->Next(&first, kFirstPictureMaxPackets) != MediaSource::Status::Picture) {
        OpenFiles::Remove();
        return VIDMUX_ERR_DECODE;
    }
    m_fileCounted = true;
    m_windowSmall = false;

    m_source = std::move(source);
    m_path = path;
    m_programStream = m_source->ProgramStream();
    m_cache = std::make_unique<PictureCache>();
    DropCurrent();
    m_pending = first;
    m_sourceLast = first.number;
    m_level = 0;
    m_reverse = false;
    m_endReported = false;
    m_window = nullptr;
    m_clock = PlayClock();
    m_renderer.ResetHistory();
    m_currentNumber = 0;
    m_currentTimeMs = 0;
    m_currentRecordedMs = 0;
    m_totalFrames = m_source->FrameCount();
    m_durationMs = m_source->DurationMs();
    m_width = m_source->Width();
    m_height = m_source->Height();
    m_hasStartTime = m_source->StartTime().has_value();
    m_startTime = m_source->StartTime().value_or(0);
    m_hasAudio = m_source->HasAudio();
    {
        std::lock_guard lock(m_mutex);
        m_index.reset();
        m_mode = Mode::Stopped;
        m_quit = false;
        m_running = true;
    }
    m_thread = std::thread([this] {
        m_threadId = std::this_thread::get_id();
        CallWaits::SetCallingPort(m_id);
        Run();
    });
    auto task = std::make_shared<IndexTask>();
    m_indexTask = task;
    m_indexThread = std::thread([this, path, task] {
        std::shared_ptr<const FrameIndex> index = BuildFrameIndex(path, task->abort);
        std::lock_guard lock(task->mutex);
        // Once a close gave up waiting, the port may be gone: touch only the task.
        if (index && !task->abort) {
            Post([this, index] {
                InstallIndex(index);
                return VIDMUX_NOERROR;
            });
        }
        task->done = true;
        task->finished.notify_all();
    });
    return VIDMUX_NOERROR;
}

void Port::StopThreads() {
    m_abortReads = true;
    if (m_indexTask) {
        std::unique_lock lock(m_indexTask->mutex);
        m_indexTask->abort = true;
        const bool done =
            m_indexTask->finished.wait_for(lock, kIndexStopWait, [&] { return m_indexTask->done; });
        lock.unlock();
        if (done) {
            m_indexThread.join();
        } else {
            m_indexThread.detach();
        }
        m_indexTask.reset();
    }
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
        m_running = false;
        m_wake.notify_all();
    }
    if (m_thread.joinable()) m_thread.join();
    m_threadId = std::thread::id();
}

int Port::CloseFile() {
    if (OnPortThread()) return VIDMUX_ERR_ORDER;
    // Closing waits for the port's thread to finish.
    ScopedCallWait wait(m_id);
    if (!wait.Allowed()) return VIDMUX_ERR_WOULD_DEADLOCK;
    std::lock_guard life(m_lifeMutex);
    {
        std::lock_guard lock(m_mutex);
        if (!m_running) return VIDMUX_ERR_ORDER;
    }
    StopThreads();
    StopPrefetch();
    AudioOutput::Instance().Flush(m_id);
    AudioOutput::Instance().SetClock(m_id, nullptr);
    SyncGroup::Instance().Leave(m_id);
    m_inGroup = false;
    DropCurrent();
    m_shown.reset();
    m_shownFrom.reset();
    m_pending.reset();
    m_cache.reset();
    m_source.reset();
    if (m_fileCounted) OpenFiles::Remove();
    m_fileCounted = false;
    m_window = nullptr;
    {
        std::lock_guard lock(m_mutex);
        m_index.reset();
        m_mode = Mode::Stopped;
    }
    m_currentNumber = 0;
    m_currentTimeMs = 0;
    m_currentRecordedMs = 0;
    m_totalFrames = 0;
    m_durationMs = 0;
    m_width = 0;
    m_height = 0;
    m_hasStartTime = false;
    m_hasAudio = false;
    return VIDMUX_NOERROR;
}

void Port::UpdateCallbacks(const std::function<void(PortCallbacks&)>& change) {
    {
        std::lock_guard lock(m_mutex);
        change(m_callbacks);
    }
    // A callback this replaced may be running on the port thread right now:
    // once it has finished the caller may free whatever it pointed at. The
    // wait is for the callback alone, not for the port thread to come round.
    // A port thread waiting here, from a callback of its own, takes part in
    // the same check for waits that would never end as a call does.
    if (OnPortThread()) return;
    ScopedCallWait wait(m_id);
    if (wait.Allowed()) std::lock_guard running(m_callbacksRunning);
}

PortCallbacks Port::TakeCallbacks(std::unique_lock<std::mutex>& running) {
    running = std::unique_lock(m_callbacksRunning);
    std::lock_guard lock(m_mutex);
    return m_callbacks;
}

}  // namespace vidmux
