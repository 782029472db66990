#include "picture_budget.h"

#include <algorithm>
#include <cstdlib>

#include "picture_cache.h"

namespace vidmux {

namespace {

size_t LimitFromEnvironment() {
    const char* text = std::getenv("VIDMUX_PICTURE_MEMORY_MB");
    if (text && *text) {
        char* end = nullptr;
        const unsigned long long mb = std::strtoull(text, &end, 10);
        if (end && *end == '\0' && mb > 0 && mb < (1ull << 24))
            return static_cast<size_t>(mb) << 20;
    }
    return kDefaultPictureMemoryMb << 20;
}

}  // namespace

PictureBudget::PictureBudget() : m_limit(LimitFromEnvironment()) {}

PictureBudget& PictureBudget::Instance() {
    // Never destroyed: caches may still go away while the process exits.
    static PictureBudget* budget = new PictureBudget;
    return *budget;
}

void PictureBudget::SetLimit(size_t bytes) {
    {
        std::lock_guard lock(m_mutex);
        m_limit = bytes;
    }
    Balance();
}

void PictureBudget::Register(PictureCache* cache) {
    std::lock_guard lock(m_mutex);
    m_caches.push_back(cache);
}

void PictureBudget::Unregister(PictureCache* cache) {
    std::lock_guard lock(m_mutex);
    m_caches.erase(std::remove(m_caches.begin(), m_caches.end(), cache), m_caches.end());
}

size_t PictureBudget::TotalBytes() {
    std::lock_guard lock(m_mutex);
    size_t total = 0;
    for (PictureCache* cache : m_caches) total += cache->Bytes();
    return total;
}

size_t PictureBudget::FreeBytes() {
    std::lock_guard lock(m_mutex);
    size_t cached = 0;
    size_t decoders = 0;
    for (PictureCache* cache : m_caches) {
        cached += cache->Bytes();
        decoders += cache->DecoderBytes();
    }
    // The caches' room as Balance reckons it.
    const size_t room = std::max(m_limit > decoders ? m_limit - decoders : 0, m_limit / 2);
    return room > cached ? room - cached : 0;
}

void PictureBudget::Balance() {
    std::lock_guard lock(m_mutex);
    for (;;) {
        size_t cached = 0;
        size_t decoders = 0;
        size_t holding = 0;
        for (PictureCache* cache : m_caches) {
            const size_t bytes = cache->Bytes();
            cached += bytes;
            decoders += cache->DecoderBytes();
            if (bytes > 0) ++holding;
        }
        // What the decoders keep is theirs; the caches share the rest, and
        // never less than half the budget, so that a small budget still
        // holds pictures to step back through.
        const size_t room = std::max(m_limit > decoders ? m_limit - decoders : 0, m_limit / 2);
        if (cached <= room || holding == 0) return;
        const size_t share = room / holding;
        // The farthest picture of the caches over their share; a cache that
        // is alone over the budget gives up its own farthest picture.
        PictureCache* victim = nullptr;
        int64_t farthest = -1;
        for (PictureCache* cache : m_caches) {
            if (cache->Bytes() <= share || cache->Count() <= 1) continue;
            const int64_t distance = cache->FarthestDistance();
            if (distance > farthest) {
                farthest = distance;
                victim = cache;
            }
        }
        if (!victim) return;
        victim->EvictFarthest();
    }
}

}  // namespace vidmux
