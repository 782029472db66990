#include "frame_painter.h"

#include <algorithm>
#include <cstdint>

#include "block_digits.h"
#include "frame_number_code.h"

namespace samplegen {

namespace {

// Video-range levels: decoders turn them into RGB 0 and 255.
constexpr uint8_t kBlack = 16;
constexpr uint8_t kWhite = 235;
constexpr uint8_t kNeutralChroma = 128;

void FillRect(uint8_t* plane, int stride, int left, int top, int right, int bottom, uint8_t value) {
    if (right <= left) return;
    for (int y = top; y < bottom; ++y) {
        std::fill(plane + y * stride + left, plane + y * stride + right, value);
    }
}

}  // namespace

void FramePainter::Paint(AVFrame* frame, int number) const {
    PaintBackground(frame, number);
    PaintBox(frame, number);
    PaintCode(frame, number);
    PaintCounter(frame, number);
}

void FramePainter::PaintBackground(AVFrame* frame, int number) const {
    // A diagonal saw-tooth that drifts a few pixels per picture.
    for (int y = 0; y < m_height; ++y) {
        uint8_t* row = frame->data[0] + y * frame->linesize[0];
        const int phase = y / 2 + 4 * number;
        for (int x = 0; x < m_width; ++x) row[x] = static_cast<uint8_t>(40 + ((x + phase) & 127));
    }
    const int chromaWidth = (m_width + 1) / 2, chromaHeight = (m_height + 1) / 2;
    for (int y = 0; y < chromaHeight; ++y) {
        uint8_t* u = frame->data[1] + y * frame->linesize[1];
        uint8_t* v = frame->data[2] + y * frame->linesize[2];
        for (int x = 0; x < chromaWidth; ++x) {
            u[x] = static_cast<uint8_t>(96 + ((x + 2 * number) & 63));
            v[x] = static_cast<uint8_t>(112 + ((y + number) & 31));
        }
    }
}

void FramePainter::PaintBox(AVFrame* frame, int number) const {
    const int band = FrameNumberCode::BandHeight(m_height);
    const int boxWidth = std::max(2, m_width / 6) & ~1;
    const int boxHeight = std::max(2, m_height / 5) & ~1;
    const int travelX = std::max(1, m_width - boxWidth);
    const int travelY = std::max(1, m_height - band - boxHeight);
    // Back and forth across the picture, two pixels per step horizontally.
    const int stepX = (2 * number) % (2 * travelX);
    const int left = (stepX < travelX ? stepX : 2 * travelX - stepX) & ~1;
    const int top = (band + (number % travelY)) & ~1;
    FillRect(frame->data[0], frame->linesize[0], left, top, left + boxWidth,
             std::min(m_height, top + boxHeight), 200);
    FillRect(frame->data[1], frame->linesize[1], left / 2, top / 2, (left + boxWidth) / 2,
             std::min((m_height + 1) / 2, (top + boxHeight) / 2), 60);
    FillRect(frame->data[2], frame->linesize[2], left / 2, top / 2, (left + boxWidth) / 2,
             std::min((m_height + 1) / 2, (top + boxHeight) / 2), 190);
}

void FramePainter::PaintCode(AVFrame* frame, int number) const {
    const auto cells = FrameNumberCode::Cells(number);
    for (int cell = 0; cell < FrameNumberCode::kCells; ++cell) {
        const auto r = FrameNumberCode::CellRect(cell, m_width, m_height);
        FillRect(frame->data[0], frame->linesize[0], r.left, r.top, r.right, r.bottom,
                 cells[cell] ? kWhite : kBlack);
    }
    const int chromaBand = (FrameNumberCode::BandHeight(m_height) + 1) / 2;
    const int chromaWidth = (m_width + 1) / 2;
    FillRect(frame->data[1], frame->linesize[1], 0, 0, chromaWidth, chromaBand, kNeutralChroma);
    FillRect(frame->data[2], frame->linesize[2], 0, 0, chromaWidth, chromaBand, kNeutralChroma);
}

void FramePainter::PaintCounter(AVFrame* frame, int number) const {
    const int unit = std::max(1, m_height / 48);
    const int margin = unit;
    const int x = m_width / 24 + margin;
    const int y = FrameNumberCode::BandHeight(m_height) + m_height / 24 + margin;
    const int width = BlockDigits::TextWidth(number, unit);
    const int height = BlockDigits::TextHeight(unit);
    const int left = std::min(m_width, x - margin), right = std::min(m_width, x + width + margin);
    const int top = std::min(m_height, y - margin),
              bottom = std::min(m_height, y + height + margin);
    FillRect(frame->data[0], frame->linesize[0], left, top, right, bottom, kBlack);
    for (int plane = 1; plane <= 2; ++plane) {
        FillRect(frame->data[plane], frame->linesize[plane], left / 2, top / 2, (right + 1) / 2,
                 (bottom + 1) / 2, kNeutralChroma);
    }
    BlockDigits::Draw(frame->data[0], frame->linesize[0], m_width, m_height, number, x, y, unit,
                      kWhite);
}

}  // namespace samplegen
