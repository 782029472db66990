#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ffmpeg_ptr.h"

namespace vidmux {

// The memory of the picture buffers a decoder keeps, told from the pictures
// it hands out. A decoder takes its pictures from a pool that keeps every
// buffer until the decoder closes, so the buffers seen lately are memory the
// decoder holds whatever the port does with its pictures.
class DecoderPictures {
public:
    void Saw(const AVFrame* frame);
    size_t Bytes() const { return m_bytes; }

private:
    // Pictures looked back over: more than a decoder's pool ever holds, so a
    // buffer not seen for this long has left the pool.
    static constexpr uint64_t kRemembered = 64;

    struct Buffer {
        const uint8_t* data;
        size_t bytes;
        uint64_t lastSeen;
    };
    std::vector<Buffer> m_buffers;
    uint64_t m_pictures = 0;
    size_t m_bytes = 0;
};

}  // namespace vidmux
