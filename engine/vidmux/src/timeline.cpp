#include "timeline.h"

#include <algorithm>

namespace vidmux {

namespace {

// A forward step longer than this many frames is a jump, not a late frame.
constexpr int64_t kJumpFrames = 10;
// Packets without a decoding time are ordered for decoding, not display:
// their presentation times may run back this many frames without a jump.
constexpr int64_t kReorderFrames = 16;

}  // namespace

TimelineBuilder::TimelineBuilder(int64_t frameTicks)
    : m_frameTicks(std::max<int64_t>(1, frameTicks)) {}

int64_t TimelineBuilder::Add(int64_t pts, int64_t dts, int64_t pos) {
    const bool hasDts = dts != kNoTimestamp;
    int64_t ref = hasDts ? dts : pts;
    if (ref == kNoTimestamp) {
        ref = m_lastRef == kNoTimestamp ? 0 : m_lastRef + m_frameTicks;
    }
    if (pts == kNoTimestamp) pts = ref;
    m_lastRef = ref;

    if (m_segments.empty()) {
        m_segments.push_back({pos, ref, 0, 0});
        m_maxRef = ref;
        m_maxPts = pts;
        return pts;
    }
    // Without decoding times a reference picture that follows a run of
    // B-frames shows as far ahead as the run is long.
    const int64_t backTolerance = hasDts ? m_frameTicks / 2 : kReorderFrames * m_frameTicks;
    const int64_t jumpLimit = (hasDts ? kJumpFrames : kJumpFrames + kReorderFrames) * m_frameTicks;
    const int64_t step = ref - m_maxRef;
    const bool back = step < -backTolerance;
    const bool forward = step > jumpLimit;
    if (back || forward) {
        // The new segment's first packet is a key frame: its picture is the
        // first the segment shows, one frame after the latest so far.
        const int64_t margin = hasDts ? 1 : 1 + kReorderFrames;
        TimelineSegment next;
        next.firstPos = pos;
        next.firstPts = m_maxPts + m_frameTicks;
        next.offset = m_maxPts + margin * m_frameTicks - pts;
        next.gapTicks = m_segments.back().gapTicks + (forward ? step - m_frameTicks : 0);
        m_segments.push_back(next);
        m_maxRef = ref;
    } else {
        m_maxRef = std::max(m_maxRef, ref);
    }
    const int64_t mediaPts = pts + m_segments.back().offset;
    m_maxPts = std::max(m_maxPts, mediaPts);
    return mediaPts;
}

}  // namespace vidmux
