// Picture settings, sound, the synchronisation group and the queries that
// read what the port thread published.

#include "audio_output.h"
#include "port.h"

namespace vidmux {

namespace {

bool OnColorScale(int value) { return value >= 0 && value <= 128; }

}  // namespace

void Port::RedrawIfHeld() {
    Post([this] {
        bool held;
        {
            std::lock_guard lock(m_mutex);
            held = m_mode != Mode::Playing;
        }
        if (held) Redraw();
        return static_cast<int>(VIDMUX_NOERROR);
    });
}

int Port::SetDisplayRegion(uint32_t region, const VemorRect* rect, VemorRenderWindow* /*window*/,
                           bool enable) {
    if (region != 0) return VIDMUX_ERR_NOT_SUPPORTED;
    if (enable && !rect) return VIDMUX_ERR_NULL_POINTER;
    {
        std::lock_guard lock(m_mutex);
        if (!m_running) return VIDMUX_ERR_ORDER;
        if (enable) {
            if (!ClampRegion(*rect, m_width.load(), m_height.load()))
                return VIDMUX_ERR_OUT_OF_RANGE;
            m_settings.region = *rect;
        } else {
            m_settings.region.reset();
        }
    }
    RedrawIfHeld();
    return VIDMUX_NOERROR;
}

int Port::SetColor(uint32_t region, const ColorAdjust& color) {
    if (region != 0) return VIDMUX_ERR_NOT_SUPPORTED;
    if (!OnColorScale(color.brightness) || !OnColorScale(color.contrast) ||
        !OnColorScale(color.saturation) || !OnColorScale(color.hue)) {
        return VIDMUX_ERR_OUT_OF_RANGE;
    }
    {
        std::lock_guard lock(m_mutex);
        m_settings.color = color;
    }
    RedrawIfHeld();
    return VIDMUX_NOERROR;
}

int Port::SetDisplayType(int type) {
    if (type != 1 && type != 2) return VIDMUX_ERR_OUT_OF_RANGE;
    {
        std::lock_guard lock(m_mutex);
        m_settings.lowResolution = type == 2;
    }
    RedrawIfHeld();
    return VIDMUX_NOERROR;
}

int Port::SetPicQuality(bool high) {
    {
        std::lock_guard lock(m_mutex);
        m_settings.highQuality = high;
    }
    RedrawIfHeld();
    return VIDMUX_NOERROR;
}

int Port::SetDeflash(bool on) {
    std::lock_guard lock(m_mutex);
    m_settings.deflash = on;
    return VIDMUX_NOERROR;
}

int Port::SetTimerType(uint32_t type) {
    if (type != 1 && type != 2) return VIDMUX_ERR_OUT_OF_RANGE;
    std::lock_guard lock(m_mutex);
    m_coarseTimer = type == 2;
    return VIDMUX_NOERROR;
}

int Port::PlaySound(bool exclusive) {
    {
        std::lock_guard lock(m_mutex);
        if (!m_running) return VIDMUX_ERR_ORDER;
    }
    if (!m_hasAudio) return VIDMUX_ERR_NO_AUDIO;
    AudioOutput& audio = AudioOutput::Instance();
    if (exclusive) {
        audio.SetExclusive(m_id);
    } else {
        audio.SetShared(m_id, true);
    }
    Post([this] {
        UpdateSound();
        return static_cast<int>(VIDMUX_NOERROR);
    });
    return VIDMUX_NOERROR;
}

int Port::StopSoundShare() {
    AudioOutput::Instance().SetShared(m_id, false);
    Post([this] {
        UpdateSound();
        return static_cast<int>(VIDMUX_NOERROR);
    });
    return VIDMUX_NOERROR;
}

int Port::SetVolume(uint16_t volume) {
    AudioOutput::Instance().SetVolume(m_id, volume);
    return VIDMUX_NOERROR;
}

int Port::JoinSyncGroup(uint32_t group) {
    if (group != 0) return VIDMUX_ERR_NOT_SUPPORTED;
    if (!FileOpen()) return VIDMUX_ERR_ORDER;
    // The group clock runs in absolute time; a member without it would set
    // the clock to its own zero and hold the others there.
    if (!m_hasStartTime) return VIDMUX_ERR_NO_TIME;
    SyncGroup::Instance().Join(m_id);
    m_inGroup = true;
    return VIDMUX_NOERROR;
}

int Port::KeyFramePos(uint32_t ms, uint32_t type, bool next, VemorFramePos* pos) {
    if (!pos) return VIDMUX_ERR_NULL_POINTER;
    if (type != 2) return VIDMUX_ERR_NOT_SUPPORTED;
    std::shared_ptr<const FrameIndex> index;
    {
        std::lock_guard lock(m_mutex);
        if (!m_running) return VIDMUX_ERR_ORDER;
        index = m_index;
    }
    if (!index) return VIDMUX_ERR_NO_INDEX;
    std::optional<KeyFrame> key = next ? index->KeyAtOrAfterMs(ms) : index->KeyAtOrBeforeMs(ms);
    if (!key) return VIDMUX_ERR_OUT_OF_RANGE;
    *pos = VemorFramePos{};
    pos->nFilePos = m_programStream && key->pos >= 0 ? PackStartBefore(m_path, key->pos) : key->pos;
    pos->nFrameNum = static_cast<int32_t>(key->number);
    pos->nFrameTime = static_cast<int32_t>(key->timeMs);
    pos->nFrameType = 1;
    return VIDMUX_NOERROR;
}

bool Port::FileOpen() {
    std::lock_guard lock(m_mutex);
    return m_running;
}

int Port::SystemTime(VemorSystemTime* time) {
    if (!time) return VIDMUX_ERR_NULL_POINTER;
    if (!FileOpen()) return VIDMUX_ERR_ORDER;
    if (!m_hasStartTime) return VIDMUX_ERR_NO_TIME;
    *time = SystemTimeFromCivil(m_startTime.load() + m_currentRecordedMs.load());
    return VIDMUX_NOERROR;
}

int Port::PictureSize(int32_t* width, int32_t* height) {
    if (!width || !height) return VIDMUX_ERR_NULL_POINTER;
    if (!FileOpen()) return VIDMUX_ERR_ORDER;
    *width = m_width;
    *height = m_height;
    return VIDMUX_NOERROR;
}

int Port::ReadPublished(int64_t value, uint32_t* out) {
    if (!FileOpen()) return VIDMUX_ERR_ORDER;
    *out = static_cast<uint32_t>(value);
    return VIDMUX_NOERROR;
}

int Port::TotalFrames(uint32_t* frames) { return ReadPublished(m_totalFrames.load(), frames); }

int Port::FileTimeSeconds(uint32_t* seconds) {
    return ReadPublished(m_durationMs.load() / 1000, seconds);
}

int Port::PlayedTimeSeconds(uint32_t* seconds) {
    return ReadPublished(m_currentTimeMs.load() / 1000, seconds);
}

int Port::CurrentFrame(uint32_t* frame) { return ReadPublished(m_currentNumber.load(), frame); }

}  // namespace vidmux
