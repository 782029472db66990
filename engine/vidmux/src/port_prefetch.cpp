// While a port is paused or stepping, the group of pictures before the
// current one is decoded into the picture cache, a picture at a time between
// commands, on a demuxer and decoder of the port's own: the first back step
// after a pause then finds its picture instead of decoding the whole group.
// It runs on the port thread at the port's priority (a lower one starved it
// under load), only while the shared budget has room, and only for the port
// the user worked last. VIDMUX_PREFETCH=0 turns it off.

#include <algorithm>
#include <atomic>

#include "env_switch.h"
#include "picture_budget.h"
#include "picture_cache.h"
#include "port.h"

namespace vidmux {

namespace {

std::atomic<int> g_prefetchingPort{-1};

bool PrefetchEnabled() {
    static const bool enabled = EnabledUnlessZero("VIDMUX_PREFETCH");
    return enabled;
}

}  // namespace

void Port::ClaimPrefetch() { g_prefetchingPort = m_id; }

void Port::StopPrefetch() {
    m_prefetchSource.reset();
    m_prefetchKey = -1;
    m_prefetchDone = -1;
}

void Port::EndPrefetchGroup(int64_t key) {
    m_prefetchDone = key;
    // Its decoder goes until the next group is wanted: sixteen paused ports
    // must not keep sixteen more decoders.
    m_prefetchSource.reset();
}

bool Port::PrefetchSlice() {
    if (!PrefetchEnabled()) return false;
    if (g_prefetchingPort.load() != m_id) {
        m_prefetchSource.reset();
        return false;
    }
    if (!m_current || !m_source || !m_cache || m_reverse) return false;
    std::shared_ptr<const FrameIndex> index;
    {
        std::lock_guard lock(m_mutex);
        if (m_mode == Mode::Playing || m_mode == Mode::Stopped) return false;
        index = m_index;
    }
    if (!index) return false;
    const int64_t last = m_current->number - 1;
    if (last < 0 || m_cache->Has(last)) return false;
    const std::optional<KeyFrame> key = index->KeyForFrame(last);
    if (!key || key->number == m_prefetchDone) return false;
    if (key->number != m_prefetchKey) {
        m_prefetchKey = key->number;
        m_prefetchSeek = true;
    }
    if (!m_prefetchSource) {
        auto source = std::make_unique<MediaSource>();
        int error = 0;
        if (!source->Open(m_path, &error, &m_abortReads, 1)) {
            EndPrefetchGroup(key->number);
            return false;
        }
        source->SetIndex(index);
        m_prefetchSource = std::move(source);
        m_prefetchSeek = true;
    }
    const bool starting = m_prefetchSeek;
    if (m_prefetchSeek) {
        if (!m_prefetchSource->SeekToKey(*key)) {
            EndPrefetchGroup(key->number);
            return false;
        }
        m_prefetchSeek = false;
    }
    Picture picture;
    // Past the picture before the current one nothing is wanted.
    if (m_prefetchSource->Next(&picture) != MediaSource::Status::Picture ||
        picture.number > last) {
        EndPrefetchGroup(key->number);
        return false;
    }
    if (starting) {
        // Where the budget holds only part of the group, the part nearest
        // the current picture is kept: the steps reach it first.
        const size_t bytes = std::max<size_t>(PictureCache::BytesOf(picture), 1);
        const auto fit = static_cast<int64_t>(PictureBudget::Instance().FreeBytes() / bytes);
        m_prefetchKeepFrom = std::max(key->number, last - fit + 1);
    }
    // A full budget ends the group: prefetching never pushes pictures out.
    if (picture.number >= m_prefetchKeepFrom && !m_cache->PutIfRoom(picture)) {
        EndPrefetchGroup(key->number);
        return false;
    }
    if (picture.number == last) EndPrefetchGroup(key->number);
    return true;
}

}  // namespace vidmux
