#pragma once

extern "C" {
#include <libavutil/frame.h>
}

namespace samplegen {

// Paints picture `number` of a sample into a YUV 4:2:0 frame: the frame-number
// band, a counter in block digits, and a moving gradient and box below them so
// the encoder has realistic work to do. The same number always gives the
// same picture.
class FramePainter {
public:
    FramePainter(int width, int height) : m_width(width), m_height(height) {}

    // `frame` must be a writable AV_PIX_FMT_YUV420P frame of the painter's size.
    void Paint(AVFrame* frame, int number) const;

private:
    void PaintBackground(AVFrame* frame, int number) const;
    void PaintBox(AVFrame* frame, int number) const;
    void PaintCode(AVFrame* frame, int number) const;
    void PaintCounter(AVFrame* frame, int number) const;

    int m_width;
    int m_height;
};

}  // namespace samplegen
