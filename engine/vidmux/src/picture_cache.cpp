#include "picture_cache.h"

namespace vidmux {

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
    auto [it, inserted] = m_pictures.try_emplace(picture.number, picture);
    if (!inserted) return;
    m_bytes += BytesOf(picture);
    while (m_bytes > m_maxBytes && m_pictures.size() > 1) EvictFarthest();
    if (m_bytes > m_peakBytes) m_peakBytes = m_bytes;
}

std::optional<Picture> PictureCache::Get(int64_t number) {
    m_focus = number;
    auto it = m_pictures.find(number);
    if (it == m_pictures.end()) return std::nullopt;
    return it->second;
}

void PictureCache::Clear() {
    m_pictures.clear();
    m_bytes = 0;
}

void PictureCache::DropAbove(int64_t number) {
    for (auto it = m_pictures.upper_bound(number); it != m_pictures.end();) {
        m_bytes -= BytesOf(it->second);
        it = m_pictures.erase(it);
    }
}

void PictureCache::EvictFarthest() {
    auto first = m_pictures.begin();
    auto last = std::prev(m_pictures.end());
    auto victim = (m_focus - first->first) >= (last->first - m_focus) ? first : last;
    m_bytes -= BytesOf(victim->second);
    m_pictures.erase(victim);
}

}  // namespace vidmux
