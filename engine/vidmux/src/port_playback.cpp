// The port thread's side of playing: fetching pictures in either direction,
// exact positioning, the clock, and the play commands.

#include <algorithm>

#include "audio_output.h"
#include "decoder_load.h"
#include "port.h"

namespace vidmux {

namespace {

// A picture due this close to now is shown at once rather than waited for.
constexpr auto kEarlyTolerance = std::chrono::milliseconds(2);
// A port more than this behind its own clock starts the clock again at the
// picture it has, instead of rushing through the backlog.
constexpr auto kMaxLateness = std::chrono::milliseconds(250);
// Tick of the coarse timer.
constexpr auto kCoarseTick = std::chrono::milliseconds(10);
// Attempts to start decoding from an earlier key frame when a seek lands late.
constexpr int kSeekAttempts = 4;

}  // namespace

void Port::ApplyDecodeSettings() {
    bool skipB, lowCost;
    {
        std::lock_guard lock(m_mutex);
        skipB = m_skipBFrames;
        lowCost = m_settings.lowResolution;
    }
    lowCost = lowCost || (m_windowSmall && ReducedDecodeAllowed());
    if (skipB != m_appliedSkipB) m_source->SetSkipBFrames(skipB);
    if (lowCost != m_appliedLowCost) m_source->SetLowCost(lowCost);
    m_appliedSkipB = skipB;
    m_appliedLowCost = lowCost;
}

void Port::PlayOnce(std::unique_lock<std::mutex>& lock) {
    lock.unlock();
    if (!m_pending) {
        Picture next;
        if (!FetchNext(&next)) {
            OnEnd();
            lock.lock();
            return;
        }
        m_pending = std::move(next);
    }
    const TimePoint now = SteadyClock::now();
    const TimePoint due = DueTime(*m_pending, now);
    lock.lock();
    if (due > now + kEarlyTolerance) {
        m_wake.wait_until(lock, due,
                          [&] { return m_quit || !m_jobs.empty() || m_mode != Mode::Playing; });
        return;
    }
    lock.unlock();
    Picture picture = std::move(*m_pending);
    m_pending.reset();
    Present(picture);
    lock.lock();
}

TimePoint Port::DueTime(const Picture& picture, TimePoint now) {
    TimePoint due;
    if (m_inGroup && !m_reverse) {
        const int64_t absolute = (m_hasStartTime ? m_startTime.load() : 0) + picture.recordedMs;
        due = SyncGroup::Instance().DueTime(absolute, m_clock.Speed(), now);
        m_clock.Anchor(picture.timeMs, due);
    } else {
        if (!m_clock.Anchored()) m_clock.Anchor(picture.timeMs, now);
        due = m_clock.DueTime(picture.timeMs);
        if (now - due > kMaxLateness) {
            m_clock.Anchor(picture.timeMs, now);
            due = now;
        }
    }
    bool coarse;
    {
        std::lock_guard lock(m_mutex);
        coarse = m_coarseTimer;
    }
    if (coarse) {
        const auto sinceEpoch = due.time_since_epoch();
        const auto ticks = (sinceEpoch + kCoarseTick - SteadyClock::duration(1)) / kCoarseTick;
        due = TimePoint(std::chrono::duration_cast<SteadyClock::duration>(ticks * kCoarseTick));
    }
    return due;
}

bool Port::FetchForward(Picture* out) {
    ApplyDecodeSettings();
    const bool inOrder = m_sourceLast >= 0 && (!m_current || m_sourceLast == m_current->number);
    if (inOrder) {
        if (m_source->Next(out) != MediaSource::Status::Picture) return false;
        m_cache->SetDecoderBytes(m_source->DecoderPictureBytes());
        m_sourceLast = out->number;
        DeliverWatermark(out->frame.get());
        return true;
    }
    std::optional<Picture> picture = DecodeExact(m_current ? m_current->number + 1 : 0);
    if (!picture || (m_current && picture->number <= m_current->number)) return false;
    *out = std::move(*picture);
    return true;
}

bool Port::FetchNext(Picture* out) {
    if (!m_reverse) return FetchForward(out);
    ApplyDecodeSettings();
    const int64_t from = m_current ? m_current->number : m_totalFrames.load();
    std::optional<Picture> picture = PictureBefore(from);
    if (!picture) return false;
    *out = std::move(*picture);
    return true;
}

std::optional<Picture> Port::DecodeExact(int64_t number) {
    if (number < 0) return std::nullopt;
    m_cache->SetFocus(number);
    Picture picture;
    const FrameIndex* index = m_source->Index();
    std::optional<KeyFrame> key = index ? index->KeyForFrame(number) : std::nullopt;
    for (int attempt = 0; key && attempt < kSeekAttempts; ++attempt) {
        if (!m_source->SeekToKey(*key)) break;
        bool first = true;
        bool landedLate = false;
        while (m_source->Next(&picture) == MediaSource::Status::Picture) {
            m_sourceLast = picture.number;
            DeliverWatermark(picture.frame.get());
            if (first && picture.number > number) {
                landedLate = true;
                break;
            }
            first = false;
            m_cache->SetDecoderBytes(m_source->DecoderPictureBytes());
            m_cache->Put(picture);
            // With B-frames dropped the exact picture may not come out; the
            // next one after it is the nearest.
            if (picture.number >= number) return picture;
        }
        if (!landedLate) return std::nullopt;
        key = index->KeyBefore(*key);
    }

    // No index yet, or the index could not be used: approach by time, or
    // decode from the start.
    bool nearby = m_source->SeekNearTimeMs(m_source->TimeMsOfNumber(number));
    for (int pass = 0; pass < 2; ++pass) {
        if (!nearby && !m_source->SeekToStart()) return std::nullopt;
        bool first = true;
        bool landedLate = false;
        while (m_source->Next(&picture) == MediaSource::Status::Picture) {
            m_sourceLast = picture.number;
            DeliverWatermark(picture.frame.get());
            if (first && nearby && picture.number > number) {
                landedLate = true;
                break;
            }
            first = false;
            if (picture.number >= number) return picture;
        }
        // A seek by time that found no picture at all (it landed in damage
        // or padding) is tried again from the start.
        if (!landedLate && !(first && nearby)) return std::nullopt;
        nearby = false;
    }
    return std::nullopt;
}

std::optional<Picture> Port::PictureBefore(int64_t number) {
    const int64_t target = number - 1;
    if (target < 0) return std::nullopt;
    m_cache->DropAbove(number);
    // A prefetch on its way to the picture is nearer than a new decode.
    while (!m_cache->Has(target) && PrefetchSlice()) {
    }
    if (std::optional<Picture> cached = m_cache->Get(target)) return cached;
    std::optional<Picture> picture = DecodeExact(target);
    m_cachePeak = std::max(m_cachePeak.load(), m_cache->PeakBytes());
    if (!picture || picture->number > target) {
        // B-frames dropped: take the nearest earlier picture the cache holds.
        for (int64_t n = target; n >= 0 && n > target - 4; --n) {
            if (std::optional<Picture> cached = m_cache->Get(n)) return cached;
        }
        return std::nullopt;
    }
    return picture;
}

void Port::EnterMode(Mode mode) {
    {
        std::lock_guard lock(m_mutex);
        m_mode = mode;
    }
    if (m_inGroup) SyncGroup::Instance().SetPlaying(m_id, mode == Mode::Playing);
    UpdateSound();
}

void Port::Reposition() {
    m_pending.reset();
    m_enhancement.ResetHistory();
    m_clock.Invalidate();
    m_endReported = false;
    if (m_inGroup) SyncGroup::Instance().Invalidate();
    AudioOutput::Instance().Flush(m_id);
}

void Port::OnEnd() {
    // A read that gave up because the file is being closed is no end of file.
    if (m_abortReads) return;
    PortCallbacks callbacks;
    std::unique_lock running(m_callbacksRunning);
    {
        std::lock_guard lock(m_mutex);
        if (m_mode != Mode::Playing) return;
        m_mode = Mode::Ended;
        callbacks = m_callbacks;
    }
    if (m_inGroup) SyncGroup::Instance().SetPlaying(m_id, false);
    UpdateSound();
    if (m_endReported) return;
    m_endReported = true;
    if (callbacks.fileEnd) callbacks.fileEnd(m_id, callbacks.fileEndUser);
    if (callbacks.fileEndWindow && callbacks.fileEndWindow->post_message) {
        callbacks.fileEndWindow->post_message(callbacks.fileEndWindow->user,
                                              callbacks.fileEndMessage);
    }
}

void Port::UpdateSound() {
    bool playing;
    {
        std::lock_guard lock(m_mutex);
        playing = m_mode == Mode::Playing;
    }
    AudioOutput& audio = AudioOutput::Instance();
    const bool wanted =
        m_source && playing && !m_reverse && m_level == 0 && m_hasAudio && audio.Audible(m_id);
    if (wanted) {
        m_source->SetAudioSink(
            [this](AudioBlock&& block) { AudioOutput::Instance().Push(m_id, std::move(block)); });
    } else {
        if (m_source) m_source->SetAudioSink(nullptr);
        audio.SetClock(m_id, nullptr);
        audio.Flush(m_id);
    }
}

void Port::InstallIndex(std::shared_ptr<const FrameIndex> index) {
    m_source->SetIndex(index);
    m_totalFrames = index->FrameCount();
    m_durationMs = index->DurationMs();
    {
        std::lock_guard lock(m_mutex);
        m_index = index;
    }
    std::unique_lock<std::mutex> running;
    const PortCallbacks callbacks = TakeCallbacks(running);
    if (callbacks.fileRef) callbacks.fileRef(m_id, callbacks.fileRefUser);
}

// ---- commands -------------------------------------------------------------

int Port::Play(VemorRenderWindow* window) {
    // Queued, not waited for: the user-interface thread starts play and must
    // not wait for a port thread that is busy with a picture. Every later
    // command is queued behind it and finds the port playing.
    auto start = [this, window] {
        StopPrefetch();
        Mode mode;
        {
            std::lock_guard lock(m_mutex);
            mode = m_mode;
        }
        m_window = window;
        if (mode == Mode::Stopped || mode == Mode::Ended) {
            const bool atStart = !m_current && m_pending && m_pending->number == 0 && !m_reverse;
            if (!atStart) {
                DropCurrent();
                m_pending.reset();
                m_sourceLast = -1;
            }
            m_endReported = false;
        }
        if (m_reverse) {
            m_reverse = false;
            m_pending.reset();
        }
        m_level = 0;
        m_clock.SetSpeed(1.0);
        m_clock.SetReverse(false);
        m_clock.Invalidate();
        if (m_inGroup) SyncGroup::Instance().SetSpeed(1.0, SteadyClock::now());
        EnterMode(Mode::Playing);
        return static_cast<int>(VIDMUX_NOERROR);
    };
    if (OnPortThread()) return start();
    return Post(start) ? static_cast<int>(VIDMUX_NOERROR) : static_cast<int>(VIDMUX_ERR_ORDER);
}

int Port::ReversePlay() {
    return Call([this] {
        StopPrefetch();
        if (!m_source->Index()) return static_cast<int>(VIDMUX_ERR_NO_INDEX);
        if (!m_reverse) m_pending.reset();
        m_reverse = true;
        m_level = 0;
        m_clock.SetSpeed(1.0);
        m_clock.SetReverse(true);
        m_clock.Invalidate();
        m_endReported = false;
        EnterMode(Mode::Playing);
        return static_cast<int>(VIDMUX_NOERROR);
    });
}

int Port::Pause(bool pause) {
    return Call([this, pause] {
        Mode mode;
        {
            std::lock_guard lock(m_mutex);
            mode = m_mode;
        }
        if (mode == Mode::Stopped || mode == Mode::Ended) return static_cast<int>(VIDMUX_ERR_ORDER);
        if (pause && mode == Mode::Playing) {
            ClaimPrefetch();
            // A play queued just before has shown nothing yet: the pause
            // holds the picture the play starts from.
            if (!m_current && m_pending) {
                const Picture first = std::move(*m_pending);
                m_pending.reset();
                Present(first);
            }
            EnterMode(Mode::Paused);
        }
        if (!pause && mode == Mode::Paused) {
            m_clock.Invalidate();
            EnterMode(Mode::Playing);
        }
        return static_cast<int>(VIDMUX_NOERROR);
    });
}

int Port::Stop() {
    return Call([this] {
        StopPrefetch();
        DropCurrent();
        m_pending.reset();
        m_sourceLast = -1;
        m_reverse = false;
        m_level = 0;
        m_clock = PlayClock();
        m_renderer.ResetHistory();
        m_enhancement.ResetHistory();
        m_shown.reset();
        m_shownFrom.reset();
        m_currentNumber = 0;
        m_currentTimeMs = 0;
        m_endReported = false;
        EnterMode(Mode::Stopped);
        return static_cast<int>(VIDMUX_NOERROR);
    });
}

int Port::ChangeSpeed(int step) {
    return Call([this, step] {
        const int level = m_level + step;
        if (level < -4 || level > 4) return static_cast<int>(VIDMUX_ERR_OUT_OF_RANGE);
        const TimePoint now = SteadyClock::now();
        if (m_clock.Anchored()) m_clock.Anchor(m_clock.MediaAt(now), now);
        m_level = level;
        m_clock.SetSpeed(SpeedOfLevel(level));
        if (m_inGroup) SyncGroup::Instance().SetSpeed(SpeedOfLevel(level), now);
        UpdateSound();
        return static_cast<int>(VIDMUX_NOERROR);
    });
}

int Port::StepForward() {
    return Call([this] {
        ClaimPrefetch();
        Picture picture;
        const bool pendingIsNext =
            m_pending && !m_reverse && (!m_current || m_pending->number > m_current->number);
        if (pendingIsNext) {
            picture = std::move(*m_pending);
        } else {
            const bool reverse = m_reverse;
            m_reverse = false;
            const bool got = FetchForward(&picture);
            m_reverse = reverse;
            if (!got) return static_cast<int>(VIDMUX_ERR_OUT_OF_RANGE);
        }
        m_pending.reset();
        m_clock.Invalidate();
        Present(picture);
        EnterMode(Mode::Paused);
        return static_cast<int>(VIDMUX_NOERROR);
    });
}

int Port::StepBack() {
    return Call([this] {
        ClaimPrefetch();
        if (!m_source->Index()) return static_cast<int>(VIDMUX_ERR_NO_INDEX);
        if (!m_current || m_current->number == 0) return static_cast<int>(VIDMUX_ERR_OUT_OF_RANGE);
        std::optional<Picture> picture = PictureBefore(m_current->number);
        if (!picture) return static_cast<int>(VIDMUX_ERR_DECODE);
        m_pending.reset();
        m_clock.Invalidate();
        Present(*picture);
        EnterMode(Mode::Paused);
        return static_cast<int>(VIDMUX_NOERROR);
    });
}

int Port::ThrowBFrames(uint32_t count) {
    std::lock_guard lock(m_mutex);
    m_skipBFrames = count > 0;
    return VIDMUX_NOERROR;
}

int Port::ShowExact(int64_t number) {
    ClaimPrefetch();
    ApplyDecodeSettings();
    std::optional<Picture> picture = DecodeExact(number);
    if (!picture) return VIDMUX_ERR_DECODE;
    Reposition();
    Present(*picture);
    Mode mode;
    {
        std::lock_guard lock(m_mutex);
        mode = m_mode;
    }
    // A repositioned port holds the picture; the next Play goes on from it.
    if (mode == Mode::Stopped || mode == Mode::Ended) EnterMode(Mode::Paused);
    return VIDMUX_NOERROR;
}

int Port::SetCurrentFrame(uint32_t number) {
    return Call([this, number] {
        if (static_cast<int64_t>(number) >= m_totalFrames.load()) {
            return static_cast<int>(VIDMUX_ERR_OUT_OF_RANGE);
        }
        return ShowExact(number);
    });
}

int Port::SetPlayedTimeMs(uint32_t ms) {
    return Call([this, ms] {
        if (static_cast<int64_t>(ms) > m_durationMs.load()) {
            return static_cast<int>(VIDMUX_ERR_OUT_OF_RANGE);
        }
        const int64_t number =
            std::clamp<int64_t>(m_source->NumberAtTimeMs(ms), 0, m_totalFrames.load() - 1);
        return ShowExact(number);
    });
}

}  // namespace vidmux
