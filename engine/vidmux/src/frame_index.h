#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "timeline.h"

namespace vidmux {

// One picture of the index, 16 bytes: its time on the media timeline and
// where its packet lies. Kept in presentation order.
class IndexRecord {
public:
    IndexRecord(int64_t pts, int64_t pos, bool key, bool start)
        : m_pts(pts),
          m_bits((static_cast<uint64_t>(pos + 1) & kPosMask) | (key ? kKeyBit : 0) |
                 (start ? kStartBit : 0)) {}

    int64_t Pts() const { return m_pts; }
    int64_t Pos() const { return static_cast<int64_t>(m_bits & kPosMask) - 1; }
    bool Key() const { return (m_bits & kKeyBit) != 0; }
    // Decoding can start here and reach every later picture.
    bool Start() const { return (m_bits & kStartBit) != 0; }

private:
    static constexpr uint64_t kPosMask = (uint64_t{1} << 48) - 1;
    static constexpr uint64_t kKeyBit = uint64_t{1} << 48;
    static constexpr uint64_t kStartBit = uint64_t{1} << 49;
    int64_t m_pts;
    uint64_t m_bits;
};
static_assert(sizeof(IndexRecord) == 16);

// A key frame: where decoding can start, and which picture it shows.
struct KeyFrame {
    int64_t number = 0;             // presentation-order frame number of the key picture
    int64_t timeMs = 0;             // from the first picture
    int64_t pos = -1;               // byte offset of its packet
    int64_t fileTs = kNoTimestamp;  // its timestamp on the file's own clock
};

// The frame index of a file. Frame numbers are positions in presentation
// order on one continuous media timeline (see TimelineBuilder); counted
// streams (elementary streams without timestamps) are numbered in decode
// order from their first key frame, which equals presentation order at key
// frames.
class FrameIndex {
public:
    FrameIndex(std::vector<IndexRecord> records, std::vector<TimelineSegment> segments,
               double timeBase, double fps, bool counted);

    int64_t FrameCount() const { return static_cast<int64_t>(m_records.size()); }
    bool Timestamped() const { return !m_counted; }
    int64_t FirstPts() const { return m_records.empty() ? 0 : m_records.front().Pts(); }
    int64_t DurationMs() const;

    // Presentation number of the picture with this media time (nearest).
    int64_t NumberOfPts(int64_t pts) const;
    int64_t PtsOfNumber(int64_t number) const;
    int64_t TimeMsOfNumber(int64_t number) const;
    int64_t NumberAtTimeMs(int64_t timeMs) const;
    // Milliseconds of the recorder's clock from the first picture: the media
    // time plus the forward clock jumps before the picture.
    int64_t RecordedMsOfPts(int64_t pts) const;

    // The segment a packet read at `pos` belongs to (-1 when unknown), and
    // what turns its own timestamps into media time.
    int SegmentAtPos(int64_t pos) const;
    int64_t SegmentOffset(int segment) const;
    size_t SegmentCount() const { return m_segments.size(); }

    // The key frame from which decoding reaches picture `number`.
    std::optional<KeyFrame> KeyForFrame(int64_t number) const;
    // The key frame before `key` (for a seek that overshot), if any.
    std::optional<KeyFrame> KeyBefore(const KeyFrame& key) const;
    // Key frame at or before / at or after a time from the first picture.
    std::optional<KeyFrame> KeyAtOrBeforeMs(int64_t timeMs) const;
    std::optional<KeyFrame> KeyAtOrAfterMs(int64_t timeMs) const;
    size_t KeyCount() const;
    // The first picture after `number` where decoding can start, or the
    // frame count when there is none.
    int64_t NextStartAfter(int64_t number) const;

    // The same index without the pictures from `from` on that `kept` (one
    // flag per picture from `from`) does not keep; later pictures stay.
    std::shared_ptr<const FrameIndex> Trimmed(int64_t from, const std::vector<bool>& kept) const;

    // Bytes the index keeps in memory.
    size_t MemoryBytes() const;

private:
    KeyFrame MakeKey(int64_t number) const;
    int64_t MsOfTicks(int64_t ticks) const;

    std::vector<IndexRecord> m_records;
    std::vector<TimelineSegment> m_segments;
    double m_timeBase;
    double m_fps;
    bool m_counted;
};

// Builds the index of `path` (demux only where the container's own tables do
// not list the pictures). Returns null when the file cannot be indexed or
// when `abort` becomes true.
std::shared_ptr<const FrameIndex> BuildFrameIndex(const std::string& path,
                                                  const std::atomic<bool>& abort);

// Where a playable piece of a program stream starts for the key frame whose
// packet lies at `pos`: the pack header before it.
int64_t PackStartBefore(const std::string& path, int64_t pos);

}  // namespace vidmux
