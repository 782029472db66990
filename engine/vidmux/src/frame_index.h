#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vidmux {

// One video packet of the file, in decode order.
struct IndexEntry {
    int64_t pos = -1;     // byte offset the demuxer reports for the packet
    int64_t cutPos = -1;  // where a playable file may start (pack start in program streams)
    int64_t pts = INT64_MIN;
    int64_t dts = INT64_MIN;
    bool key = false;
};

// A key frame: where decoding can start, and which picture it shows.
struct KeyFrame {
    int decodeIndex = 0;
    int64_t number = 0;  // presentation-order frame number of the key picture
    int64_t timeMs = 0;  // from the first picture
    IndexEntry entry;
};

// The demux-only scan of a file's video packets. Frame numbers are positions
// in presentation order. Files whose packets all carry timestamps are
// numbered by timestamp rank; elementary streams without timestamps are
// numbered in decode order, which equals presentation order at key frames.
class FrameIndex {
public:
    FrameIndex(std::vector<IndexEntry> entries, double timeBase, double fps);

    int64_t FrameCount() const { return static_cast<int64_t>(m_entries.size()); }
    bool Timestamped() const { return m_timestamped; }
    int64_t FirstPts() const { return m_sortedPts.empty() ? 0 : m_sortedPts.front(); }
    int64_t DurationMs() const;

    // Presentation number of the picture with this timestamp (nearest rank).
    int64_t NumberOfPts(int64_t pts) const;
    int64_t PtsOfNumber(int64_t number) const;
    int64_t TimeMsOfNumber(int64_t number) const;
    int64_t NumberAtTimeMs(int64_t timeMs) const;

    // The key frame from which decoding reaches picture `number`.
    std::optional<KeyFrame> KeyForFrame(int64_t number) const;
    // The key frame before `key` (for a seek that overshot), if any.
    std::optional<KeyFrame> KeyBefore(const KeyFrame& key) const;
    // Key frame at or before / at or after a time from the first picture.
    std::optional<KeyFrame> KeyAtOrBeforeMs(int64_t timeMs) const;
    std::optional<KeyFrame> KeyAtOrAfterMs(int64_t timeMs) const;
    size_t KeyCount() const { return m_keys.size(); }

private:
    KeyFrame MakeKey(size_t keySlot) const;

    std::vector<IndexEntry> m_entries;
    std::vector<int64_t> m_sortedPts;
    std::vector<int> m_keys;  // decode indices of key frames
    std::vector<int64_t> m_keyNumbers;
    double m_timeBase;
    double m_fps;
    bool m_timestamped = false;
};

// Scans `path` (demux only). Returns null when the file cannot be scanned or
// when `abort` becomes true.
std::shared_ptr<const FrameIndex> BuildFrameIndex(const std::string& path,
                                                  const std::atomic<bool>& abort);

}  // namespace vidmux
