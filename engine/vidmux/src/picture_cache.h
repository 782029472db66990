#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>

#include "media_source.h"

namespace vidmux {

// Decoded pictures around a port's current one, so that stepping back and
// reverse play decode each group of pictures once instead of once per step.
// All caches share one PictureBudget: when it is exceeded, pictures go
// farthest from their port's current picture first. The port thread fills
// and reads its cache; the budget may evict from any thread.
class PictureCache {
public:
    PictureCache();
    ~PictureCache();
    PictureCache(const PictureCache&) = delete;
    PictureCache& operator=(const PictureCache&) = delete;

    // Keeps a copy of the picture in memory of its own, so that the
    // decoder's pool of pictures does not grow with the cache.
    void Put(const Picture& picture);
    // Keeps the picture only while the shared budget has room for it, and
    // evicts nothing; false when it was not kept for want of room.
    bool PutIfRoom(const Picture& picture);
    static size_t BytesOf(const Picture& picture);
    std::optional<Picture> Get(int64_t number);
    // Without moving the focus.
    bool Has(int64_t number);
    // The picture the port is heading for; eviction keeps what is near it.
    void SetFocus(int64_t number);
    void Clear();
    // Stepping backwards never needs pictures after `number` again.
    void DropAbove(int64_t number);
    size_t Bytes();
    size_t Count();
    // Memory of the pictures the port's decoder keeps: not the cache's to
    // give back, but counted in the same budget.
    void SetDecoderBytes(size_t bytes) { m_decoderBytes = bytes; }
    size_t DecoderBytes() const { return m_decoderBytes; }
    size_t PeakBytes();

    // For the budget: distance of the farthest picture from the one asked
    // for last, and its eviction.
    int64_t FarthestDistance();
    void EvictFarthest();

private:
    void EvictFarthestLocked();

    std::mutex m_mutex;
    std::map<int64_t, Picture> m_pictures;
    size_t m_bytes = 0;
    size_t m_peakBytes = 0;
    std::atomic<size_t> m_decoderBytes{0};
    int64_t m_focus = 0;
};

}  // namespace vidmux
