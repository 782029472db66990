#pragma once

#include <cstddef>
#include <mutex>
#include <vector>

namespace vidmux {

class PictureCache;

// One budget of decoded-picture memory for all ports: the pictures their
// caches keep and the pictures their decoders keep in their pools. When the
// caches grow past what the decoders leave, pictures go across ports,
// farthest from their own port's current picture first, from the ports that
// hold more than an equal share of it; a port within its share keeps its
// pictures. The decoders take at most half of the budget from the caches.
// The budget is VIDMUX_PICTURE_MEMORY_MB megabytes from the environment, or
// kDefaultPictureMemoryMb.
class PictureBudget {
public:
    static PictureBudget& Instance();

    size_t Limit() const { return m_limit; }
    // Tests and measurements: change the budget.
    void SetLimit(size_t bytes);

    void Register(PictureCache* cache);
    void Unregister(PictureCache* cache);
    // Evicts until the caches together fit the budget again.
    void Balance();
    // What the caches could take more without anything evicted.
    size_t FreeBytes();
    size_t TotalBytes();

private:
    PictureBudget();

    std::mutex m_mutex;
    std::vector<PictureCache*> m_caches;
    size_t m_limit;
};

inline constexpr size_t kDefaultPictureMemoryMb = 512;

}  // namespace vidmux
