#pragma once

#include <memory>

#include "ffmpeg_handles/ffmpeg_handles.h"

namespace vidmux {

using namespace ffhandles;

// Decoded pictures are shared between the current picture, the picture cache
// and the renderer; the pixel buffers themselves are reference counted by FFmpeg.
using SharedFrame = std::shared_ptr<const AVFrame>;

inline SharedFrame ShareFrame(const AVFrame* frame) {
    AVFrame* copy = av_frame_clone(frame);
    if (!copy) return nullptr;
    return SharedFrame(copy, [](const AVFrame* f) {
        AVFrame* mutableFrame = const_cast<AVFrame*>(f);
        av_frame_free(&mutableFrame);
    });
}

}  // namespace vidmux
