#include "picture_cache.h"

#include <sys/mman.h>

extern "C" {
#include <libavutil/imgutils.h>
}

#include "picture_budget.h"

namespace vidmux {

namespace {

// Row alignment of cached pictures, as the scaler and the encoders like it.
constexpr int kAlign = 32;

void UnmapPicture(void* opaque, uint8_t* data) { munmap(data, reinterpret_cast<size_t>(opaque)); }

// A copy of the picture in pages of its own: evicted from any thread, its
// memory goes straight back to the system instead of staying in the heap
// arena of the thread that allocated it.
SharedFrame OwnCopy(const AVFrame* frame) {
    const auto format = static_cast<AVPixelFormat>(frame->format);
    const int size = av_image_get_buffer_size(format, frame->width, frame->height, kAlign);
    if (size <= 0) return nullptr;
    void* pages = mmap(nullptr, static_cast<size_t>(size), PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (pages == MAP_FAILED) return nullptr;
    AVBufferRef* buffer =
        av_buffer_create(static_cast<uint8_t*>(pages), static_cast<size_t>(size), &UnmapPicture,
                         reinterpret_cast<void*>(static_cast<size_t>(size)), 0);
    AVFrame* copy = buffer ? av_frame_alloc() : nullptr;
    if (!copy) {
        if (buffer) {
            av_buffer_unref(&buffer);
        } else {
            munmap(pages, static_cast<size_t>(size));
        }
        return nullptr;
    }
    copy->format = frame->format;
    copy->width = frame->width;
    copy->height = frame->height;
    copy->buf[0] = buffer;
    if (av_image_fill_arrays(copy->data, copy->linesize, buffer->data, format, frame->width,
                             frame->height, kAlign) < 0 ||
        av_frame_copy(copy, frame) < 0 || av_frame_copy_props(copy, frame) < 0) {
        av_frame_free(&copy);
        return nullptr;
    }
    return SharedFrame(copy, [](const AVFrame* f) {
        AVFrame* mutableFrame = const_cast<AVFrame*>(f);
        av_frame_free(&mutableFrame);
    });
}

}  // namespace

PictureCache::PictureCache() { PictureBudget::Instance().Register(this); }

PictureCache::~PictureCache() { PictureBudget::Instance().Unregister(this); }

size_t PictureCache::BytesOf(const Picture& picture) {
    const AVFrame* frame = picture.frame.get();
    if (!frame) return 0;
    size_t bytes = 0;
    for (int plane = 0; plane < AV_NUM_DATA_POINTERS && frame->buf[plane]; ++plane) {
        bytes += frame->buf[plane]->size;
    }
    return bytes;
}

void PictureCache::Put(const Picture& picture) {
    if (!picture.frame) return;
    {
        std::lock_guard lock(m_mutex);
        if (m_pictures.count(picture.number)) return;
    }
    Picture kept = picture;
    kept.frame = OwnCopy(picture.frame.get());
    if (!kept.frame) return;
    {
        std::lock_guard lock(m_mutex);
        auto [it, inserted] = m_pictures.try_emplace(kept.number, std::move(kept));
        if (!inserted) return;
        m_bytes += BytesOf(it->second);
        if (m_bytes > m_peakBytes) m_peakBytes = m_bytes;
    }
    PictureBudget::Instance().Balance();
}

bool PictureCache::PutIfRoom(const Picture& picture) {
    if (!picture.frame) return false;
    {
        std::lock_guard lock(m_mutex);
        if (m_pictures.count(picture.number)) return true;
    }
    if (PictureBudget::Instance().FreeBytes() < BytesOf(picture)) return false;
    Picture kept = picture;
    kept.frame = OwnCopy(picture.frame.get());
    if (!kept.frame) return false;
    std::lock_guard lock(m_mutex);
    auto [it, inserted] = m_pictures.try_emplace(kept.number, std::move(kept));
    if (inserted) {
        m_bytes += BytesOf(it->second);
        if (m_bytes > m_peakBytes) m_peakBytes = m_bytes;
    }
    return true;
}

bool PictureCache::Has(int64_t number) {
    std::lock_guard lock(m_mutex);
    return m_pictures.count(number) != 0;
}

std::optional<Picture> PictureCache::Get(int64_t number) {
    std::lock_guard lock(m_mutex);
    m_focus = number;
    auto it = m_pictures.find(number);
    if (it == m_pictures.end()) return std::nullopt;
    return it->second;
}

void PictureCache::SetFocus(int64_t number) {
    std::lock_guard lock(m_mutex);
    m_focus = number;
}

void PictureCache::Clear() {
    std::lock_guard lock(m_mutex);
    m_pictures.clear();
    m_bytes = 0;
}

void PictureCache::DropAbove(int64_t number) {
    std::lock_guard lock(m_mutex);
    for (auto it = m_pictures.upper_bound(number); it != m_pictures.end();) {
        m_bytes -= BytesOf(it->second);
        it = m_pictures.erase(it);
    }
}

size_t PictureCache::Bytes() {
    std::lock_guard lock(m_mutex);
    return m_bytes;
}

size_t PictureCache::Count() {
    std::lock_guard lock(m_mutex);
    return m_pictures.size();
}

size_t PictureCache::PeakBytes() {
    std::lock_guard lock(m_mutex);
    return m_peakBytes;
}

int64_t PictureCache::FarthestDistance() {
    std::lock_guard lock(m_mutex);
    if (m_pictures.empty()) return -1;
    return std::max(m_focus - m_pictures.begin()->first, m_pictures.rbegin()->first - m_focus);
}

void PictureCache::EvictFarthest() {
    std::lock_guard lock(m_mutex);
    EvictFarthestLocked();
}

void PictureCache::EvictFarthestLocked() {
    if (m_pictures.empty()) return;
    auto first = m_pictures.begin();
    auto last = std::prev(m_pictures.end());
    auto victim = (m_focus - first->first) >= (last->first - m_focus) ? first : last;
    m_bytes -= BytesOf(victim->second);
    m_pictures.erase(victim);
}

}  // namespace vidmux
