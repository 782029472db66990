#pragma once

#include <cstdint>
#include <vector>

namespace vidmux {

inline constexpr int64_t kNoTimestamp = INT64_MIN;

// A stretch of a file whose timestamps run on without a jump.
struct TimelineSegment {
    int64_t firstPos = -1;  // byte position of its first video packet, -1 when unknown
    int64_t firstPts = 0;   // earliest time on the media timeline a picture of it can have
    int64_t offset = 0;     // added to the file's own timestamps of its packets
    int64_t gapTicks = 0;   // recorder-clock time skipped by forward jumps before it
};

// Joins the timestamps of a file's video packets, fed in decode order, into
// one continuous media timeline. A jump backwards (two recordings pasted
// together, a clock set back, a timestamp wrap) or forwards by more than a
// few frames (a recorder clock jump, a gap in recording) starts a new
// segment that continues one frame after the latest picture so far. Forward
// jumps are remembered as gaps, so that the recorder's clock can still be
// told from the media time. All values are in the stream's time base.
class TimelineBuilder {
public:
    explicit TimelineBuilder(int64_t frameTicks);

    // The packet's presentation time on the media timeline. A packet without
    // any timestamp continues one frame after the previous one.
    int64_t Add(int64_t pts, int64_t dts, int64_t pos);

    const std::vector<TimelineSegment>& Segments() const { return m_segments; }
    std::vector<TimelineSegment> TakeSegments() { return std::move(m_segments); }

private:
    int64_t m_frameTicks;
    std::vector<TimelineSegment> m_segments;
    int64_t m_maxRef = kNoTimestamp;   // latest reference timestamp of this segment, own clock
    int64_t m_maxPts = kNoTimestamp;   // latest presentation time so far, media timeline
    int64_t m_lastRef = kNoTimestamp;  // reference timestamp of the previous packet, own clock
};

}  // namespace vidmux
