#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>

#include "media_source.h"

namespace vidmux {

// Decoded pictures around the current one, so that stepping back and reverse
// play decode each group of pictures once instead of once per step. Bounded
// by bytes: when full, the pictures farthest from the one asked for last go.
class PictureCache {
public:
    explicit PictureCache(size_t maxBytes) : m_maxBytes(maxBytes) {}

    void Put(const Picture& picture);
    std::optional<Picture> Get(int64_t number);
    void Clear();
    // Stepping backwards never needs pictures after `number` again.
    void DropAbove(int64_t number);
    size_t Bytes() const { return m_bytes; }
    size_t Count() const { return m_pictures.size(); }
    size_t PeakBytes() const { return m_peakBytes; }

private:
    static size_t BytesOf(const Picture& picture);
    void EvictFarthest();

    std::map<int64_t, Picture> m_pictures;
    size_t m_maxBytes;
    size_t m_bytes = 0;
    size_t m_peakBytes = 0;
    int64_t m_focus = 0;
};

}  // namespace vidmux
