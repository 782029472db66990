#include "picture_cache.h"

#include "picture_budget.h"

namespace vidmux {

namespace {

SharedFrame OwnCopy(const AVFrame* frame) {
    AVFrame* copy = av_frame_alloc();
    if (!copy) return nullptr;
    copy->format = frame->format;
    copy->width = frame->width;
    copy->height = frame->height;
    if (av_frame_get_buffer(copy, 0) < 0 || av_frame_copy(copy, frame) < 0 ||
        av_frame_copy_props(copy, frame) < 0) {
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
