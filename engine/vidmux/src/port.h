#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "media_source.h"
#include "picture_cache.h"
#include "play_clock.h"
#include "port_enhancement.h"
#include "renderer.h"
#include "vidmux.h"

namespace vidmux {

// Callbacks and message targets a player registered on a port.
struct PortCallbacks {
    VemorDisplayCallBack display = nullptr;
    void* displayUser = nullptr;
    VemorDrawFun draw = nullptr;
    void* drawUser = nullptr;
    VemorIVSDrawFun ivsDraw = nullptr;
    void* ivsDrawUser = nullptr;
    VemorFileRefCallBack fileRef = nullptr;
    void* fileRefUser = nullptr;
    VemorWatermarkCallBack watermark = nullptr;
    void* watermarkUser = nullptr;
    VemorDecCallBack decode = nullptr;
    void* decodeUser = nullptr;
    VemorFileEndCallBack fileEnd = nullptr;
    void* fileEndUser = nullptr;
    VemorEncTypeChangeCallBack encChange = nullptr;
    void* encChangeUser = nullptr;
    VemorRenderWindow* fileEndWindow = nullptr;
    uint32_t fileEndMessage = 0;
    VemorRenderWindow* encChangeWindow = nullptr;
    uint32_t encChangeMessage = 0;
    bool ivsEnabled = true;
};

// One engine port. Everything that touches the file runs on the port's own
// thread: commands from other threads are queued to it and the caller waits
// for the result, so callbacks always arrive on the port's thread. Cheap
// queries read values the port thread publishes. A port thread (a callback)
// may call other ports; a call that would wait on a port whose thread waits
// on the caller's is refused (VIDMUX_ERR_WOULD_DEADLOCK, see CallWaits).
//
// Each command returns VIDMUX_NOERROR or a VIDMUX_ERR_* code.
class Port {
public:
    explicit Port(int id);
    ~Port();
    Port(const Port&) = delete;
    Port& operator=(const Port&) = delete;

    int Id() const { return m_id; }
    bool OnPortThread() const;

    int OpenFile(const std::string& path);
    int CloseFile();

    int Play(VemorRenderWindow* window);
    int ReversePlay();
    int Pause(bool pause);
    int Stop();
    int ChangeSpeed(int step);
    int StepForward();
    int StepBack();
    int ThrowBFrames(uint32_t count);
    int SetCurrentFrame(uint32_t number);
    int SetPlayedTimeMs(uint32_t ms);

    int Snapshot(bool jpeg, uint8_t* buffer, uint32_t size, uint32_t* outSize);
    int Refresh();
    int SetDisplayRegion(uint32_t region, const VemorRect* rect, VemorRenderWindow* window,
                         bool enable);
    int SetColor(uint32_t region, const ColorAdjust& color);
    int SetDisplayType(int type);
    int SetPicQuality(bool high);
    int SetDeflash(bool on);
    int SetTimerType(uint32_t type);

    int PlaySound(bool exclusive);
    int StopSoundShare();
    int SetVolume(uint16_t volume);
    int JoinSyncGroup(uint32_t group);

    int KeyFramePos(uint32_t ms, uint32_t type, bool next, VemorFramePos* pos);
    int SystemTime(VemorSystemTime* time);
    int PictureSize(int32_t* width, int32_t* height);
    int TotalFrames(uint32_t* frames);
    int FileTimeSeconds(uint32_t* seconds);
    int PlayedTimeSeconds(uint32_t* seconds);
    int CurrentFrame(uint32_t* frame);

    void UpdateCallbacks(const std::function<void(PortCallbacks&)>& change);
    int SetVieModules(int32_t modules, bool enable);
    int SetVieRegion(int32_t region, const VemorRect* rect);
    int SetVieParams(const void* params);

    uint32_t LastError() const { return m_lastError.load(); }
    void SetLastError(int error) { m_lastError.store(static_cast<uint32_t>(error)); }

    bool FileOpen();
    // Hands out a value the port thread published, once a file is open.
    int ReadPublished(int64_t value, uint32_t* out);

    // Peak bytes of the picture cache, for measurements.
    size_t CachePeakBytes() const { return m_cachePeak.load(); }

private:
    enum class Mode { Stopped, Playing, Paused, Ended };
    struct Job {
        std::function<int()> work;
        int result = VIDMUX_ERR_ORDER;
        bool done = false;
        bool detached = false;
    };

    // ---- calling the port thread
    int Call(std::function<int()> work);
    // Queues work without waiting for it; false when the port thread has
    // ended. Commands queued later still run after it.
    bool Post(std::function<int()> work);
    void Run();
    void StopThreads();

    // ---- on the port thread (port_playback.cpp)
    void PlayOnce(std::unique_lock<std::mutex>& lock);
    bool FetchNext(Picture* out);
    bool FetchForward(Picture* out);
    void ApplyDecodeSettings();
    std::optional<Picture> DecodeExact(int64_t number);
    int ShowExact(int64_t number);
    std::optional<Picture> PictureBefore(int64_t number);
    TimePoint DueTime(const Picture& picture, TimePoint now);
    void EnterMode(Mode mode);
    void Reposition();
    void OnEnd();
    void UpdateSound();
    void InstallIndex(std::shared_ptr<const FrameIndex> index);

    // ---- on the port thread (port_render.cpp)
    void Present(const Picture& picture);
    // The current picture as the user sees it: enhanced under the settings
    // in force, made again only when the picture or the settings changed.
    const AVFrame* ShownFrame();
    void Draw(const AVFrame* frame);
    void Redraw();
    void DropCurrent();
    // Decodes the current picture again in full when it was reduced, and
    // shows it; play goes on from it.
    void RestoreFullQuality();
    // Decodes one picture of the group before the current one into the
    // cache while the port is paused or stepping; false when there is
    // nothing to do. Only the port that asked last prefetches.
    bool PrefetchSlice();
    void ClaimPrefetch();
    void StopPrefetch();
    void EndPrefetchGroup(int64_t key);
    // Whether the window is below half the part of the picture it shows.
    void NoteWindowSize(const AVFrame* frame, int width, int height,
                        const RenderSettings& settings);
    void RedrawIfHeld();
    void DeliverDecoded(const Picture& picture);
    void DeliverWatermark(const AVFrame* frame);
    // The callbacks as they are now, for the port thread to run; `running`
    // holds m_callbacksRunning until the caller has run them.
    PortCallbacks TakeCallbacks(std::unique_lock<std::mutex>& running);

    const int m_id;
    std::atomic<uint32_t> m_lastError{VIDMUX_NOERROR};

    // Serialises opening and closing against each other.
    std::mutex m_lifeMutex;
    std::thread m_thread;
    // The index is built on a thread of its own that a close does not wait
    // for beyond a short bound: a read stalled on a dead network share must
    // not hold the caller. The thread shares only this with the port.
    struct IndexTask {
        std::atomic<bool> abort{false};
        std::mutex mutex;
        std::condition_variable finished;
        bool done = false;
    };
    std::shared_ptr<IndexTask> m_indexTask;
    std::thread m_indexThread;
    // Makes every read of the playing file give up at once.
    std::atomic<bool> m_abortReads{false};
    std::atomic<std::thread::id> m_threadId{};

    // Guarded by m_mutex.
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_jobDone;
    std::deque<std::shared_ptr<Job>> m_jobs;
    bool m_quit = false;
    bool m_running = false;  // a file is open and the port thread serves it
    Mode m_mode = Mode::Stopped;
    PortCallbacks m_callbacks;
    // Held by the port thread from taking its copy of the callbacks until it
    // has run them: a change waits on it, and only while one runs.
    std::mutex m_callbacksRunning;
    std::shared_ptr<const FrameIndex> m_index;
    EnhanceSettings m_enhance;
    RenderSettings m_settings;
    bool m_coarseTimer = false;
    bool m_skipBFrames = false;

    // Published by the port thread.
    std::atomic<int64_t> m_currentNumber{0};
    std::atomic<int64_t> m_currentTimeMs{0};
    std::atomic<int64_t> m_currentRecordedMs{0};
    std::atomic<int64_t> m_totalFrames{0};
    std::atomic<int64_t> m_durationMs{0};
    std::atomic<int32_t> m_width{0};
    std::atomic<int32_t> m_height{0};
    std::atomic<bool> m_hasStartTime{false};
    std::atomic<int64_t> m_startTime{0};
    std::atomic<bool> m_hasAudio{false};
    std::atomic<size_t> m_cachePeak{0};

    // Port thread only.
    std::unique_ptr<MediaSource> m_source;
    std::string m_path;
    bool m_programStream = false;
    std::unique_ptr<PictureCache> m_cache;
    Renderer m_renderer;
    VemorRenderWindow* m_window = nullptr;
    std::optional<Picture> m_current;
    PortEnhancement m_enhancement;
    SharedFrame m_shown;      // m_current as shown, see ShownFrame
    SharedFrame m_shownFrom;  // the decoded picture m_shown was made from
    uint64_t m_shownGeneration = 0;
    // Whether m_current holds a picture, for threads that ask to redraw it.
    std::atomic<bool> m_hasCurrent{false};
    std::optional<Picture> m_pending;
    int64_t m_sourceLast = -1;  // number of the picture the source delivered last
    PlayClock m_clock;
    int m_level = 0;
    bool m_reverse = false;
    std::atomic<bool> m_inGroup{false};
    bool m_endReported = false;
    bool m_appliedSkipB = false;
    bool m_appliedLowCost = false;
    bool m_windowSmall = false;  // the last picture was drawn below half its size
    // Prefetch of the group before the current picture (port_prefetch.cpp).
    std::unique_ptr<MediaSource> m_prefetchSource;
    int64_t m_prefetchKey = -1;   // key picture of the group being prefetched
    int64_t m_prefetchDone = -1;  // key picture of the group finished or given up
    int64_t m_prefetchKeepFrom = -1;  // pictures before this one are decoded, not kept
    bool m_prefetchSeek = false;  // the prefetch decoder has to start at m_prefetchKey
    bool m_fileCounted = false;  // this port's file is in OpenFiles
    int32_t m_lastCodedWidth = 0;
    int32_t m_lastCodedHeight = 0;
    std::vector<uint8_t> m_decodeBuffer;
};

}  // namespace vidmux
