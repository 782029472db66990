#include "decoder_pictures.h"

#include <algorithm>

namespace vidmux {

void DecoderPictures::Saw(const AVFrame* frame) {
    ++m_pictures;
    for (int plane = 0; plane < AV_NUM_DATA_POINTERS && frame->buf[plane]; ++plane) {
        const AVBufferRef* buffer = frame->buf[plane];
        auto known = std::find_if(m_buffers.begin(), m_buffers.end(),
                                  [&](const Buffer& b) { return b.data == buffer->data; });
        if (known != m_buffers.end()) {
            known->bytes = buffer->size;
            known->lastSeen = m_pictures;
        } else {
            m_buffers.push_back({buffer->data, buffer->size, m_pictures});
        }
    }
    const uint64_t pictures = m_pictures;
    std::erase_if(m_buffers,
                  [pictures](const Buffer& b) { return b.lastSeen + kRemembered < pictures; });
    m_bytes = 0;
    for (const Buffer& b : m_buffers) m_bytes += b.bytes;
}

}  // namespace vidmux
