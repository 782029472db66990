#include "frame_index.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vidmux {

namespace {

// How far back from a PES header the pack header that holds it may lie.
constexpr int64_t kPackSearchBytes = 4096;

}  // namespace

FrameIndex::FrameIndex(std::vector<IndexRecord> records, std::vector<TimelineSegment> segments,
                       double timeBase, double fps, bool counted)
    : m_records(std::move(records)),
      m_segments(std::move(segments)),
      m_timeBase(timeBase),
      m_fps(fps > 0 ? fps : 25.0),
      m_counted(counted) {
    m_records.shrink_to_fit();
    if (m_segments.empty()) m_segments.push_back({});
}

int64_t FrameIndex::MsOfTicks(int64_t ticks) const {
    if (m_counted) return std::llround(ticks * 1000.0 / m_fps);
    return std::llround(ticks * m_timeBase * 1000.0);
}

int64_t FrameIndex::DurationMs() const {
    if (m_records.empty()) return 0;
    const int64_t frameMs = std::llround(1000.0 / m_fps);
    if (m_counted) return std::llround(FrameCount() * 1000.0 / m_fps);
    return MsOfTicks(m_records.back().Pts() - FirstPts()) + frameMs;
}

int64_t FrameIndex::NumberOfPts(int64_t pts) const {
    if (m_records.empty()) return 0;
    auto it = std::lower_bound(m_records.begin(), m_records.end(), pts,
                               [](const IndexRecord& r, int64_t p) { return r.Pts() < p; });
    if (it == m_records.end()) return FrameCount() - 1;
    if (it != m_records.begin() && it->Pts() != pts && pts - (it - 1)->Pts() < it->Pts() - pts) {
        --it;
    }
    return it - m_records.begin();
}

int64_t FrameIndex::PtsOfNumber(int64_t number) const {
    if (m_records.empty()) return kNoTimestamp;
    number = std::clamp<int64_t>(number, 0, FrameCount() - 1);
    return m_records[static_cast<size_t>(number)].Pts();
}

int64_t FrameIndex::TimeMsOfNumber(int64_t number) const {
    if (m_counted) return std::llround(number * 1000.0 / m_fps);
    return MsOfTicks(PtsOfNumber(number) - FirstPts());
}

int64_t FrameIndex::NumberAtTimeMs(int64_t timeMs) const {
    if (m_records.empty()) return 0;
    if (m_counted) {
        return std::clamp<int64_t>(static_cast<int64_t>(timeMs * m_fps / 1000.0 + 1e-6), 0,
                                   FrameCount() - 1);
    }
    // The last picture that starts at or before the time.
    const int64_t pts = FirstPts() + std::llround(timeMs / 1000.0 / m_timeBase);
    auto it = std::upper_bound(m_records.begin(), m_records.end(), pts,
                               [](int64_t p, const IndexRecord& r) { return p < r.Pts(); });
    if (it == m_records.begin()) return 0;
    return (it - m_records.begin()) - 1;
}

int64_t FrameIndex::RecordedMsOfPts(int64_t pts) const {
    if (m_counted) return MsOfTicks(pts);
    auto it = std::upper_bound(m_segments.begin(), m_segments.end(), pts,
                               [](int64_t p, const TimelineSegment& s) { return p < s.firstPts; });
    const int64_t gap = it == m_segments.begin() ? 0 : (it - 1)->gapTicks;
    return MsOfTicks(pts - FirstPts() + gap);
}

int FrameIndex::SegmentAtPos(int64_t pos) const {
    if (m_segments.size() == 1) return 0;
    if (pos < 0) return -1;
    auto it = std::upper_bound(m_segments.begin(), m_segments.end(), pos,
                               [](int64_t p, const TimelineSegment& s) { return p < s.firstPos; });
    return it == m_segments.begin() ? 0 : static_cast<int>((it - m_segments.begin()) - 1);
}

int64_t FrameIndex::SegmentOffset(int segment) const {
    if (segment < 0 || segment >= static_cast<int>(m_segments.size())) return 0;
    return m_segments[static_cast<size_t>(segment)].offset;
}

KeyFrame FrameIndex::MakeKey(int64_t number) const {
    const IndexRecord& record = m_records[static_cast<size_t>(number)];
    KeyFrame key;
    key.number = number;
    key.timeMs = TimeMsOfNumber(number);
    key.pos = record.Pos();
    if (!m_counted) key.fileTs = record.Pts() - SegmentOffset(std::max(0, SegmentAtPos(key.pos)));
    return key;
}

std::optional<KeyFrame> FrameIndex::KeyForFrame(int64_t number) const {
    if (number < 0 || number >= FrameCount()) return std::nullopt;
    for (int64_t n = number; n >= 0; --n) {
        if (m_records[static_cast<size_t>(n)].Start()) return MakeKey(n);
    }
    return std::nullopt;
}

std::optional<KeyFrame> FrameIndex::KeyBefore(const KeyFrame& key) const {
    return key.number > 0 ? KeyForFrame(key.number - 1) : std::nullopt;
}

std::optional<KeyFrame> FrameIndex::KeyAtOrBeforeMs(int64_t timeMs) const {
    if (m_records.empty()) return std::nullopt;
    return KeyForFrame(NumberAtTimeMs(std::max<int64_t>(0, timeMs)));
}

std::optional<KeyFrame> FrameIndex::KeyAtOrAfterMs(int64_t timeMs) const {
    int64_t from = NumberAtTimeMs(timeMs);
    if (from < FrameCount() && TimeMsOfNumber(from) < timeMs) ++from;
    for (int64_t n = std::max<int64_t>(0, from); n < FrameCount(); ++n) {
        if (m_records[static_cast<size_t>(n)].Start()) return MakeKey(n);
    }
    return std::nullopt;
}

int64_t FrameIndex::NextStartAfter(int64_t number) const {
    for (int64_t n = std::max<int64_t>(0, number + 1); n < FrameCount(); ++n) {
        if (m_records[static_cast<size_t>(n)].Start()) return n;
    }
    return FrameCount();
}

size_t FrameIndex::KeyCount() const {
    return static_cast<size_t>(std::count_if(m_records.begin(), m_records.end(),
                                             [](const IndexRecord& r) { return r.Start(); }));
}

std::shared_ptr<const FrameIndex> FrameIndex::Trimmed(int64_t from,
                                                      const std::vector<bool>& kept) const {
    std::vector<IndexRecord> records(m_records.begin(), m_records.begin() + from);
    const int64_t end = std::min(FrameCount(), from + static_cast<int64_t>(kept.size()));
    for (int64_t n = from; n < end; ++n) {
        if (kept[static_cast<size_t>(n - from)])
            records.push_back(m_records[static_cast<size_t>(n)]);
    }
    records.insert(records.end(), m_records.begin() + end, m_records.end());
    return std::make_shared<FrameIndex>(std::move(records), m_segments, m_timeBase, m_fps,
                                        m_counted);
}

size_t FrameIndex::MemoryBytes() const {
    return sizeof(*this) + m_records.capacity() * sizeof(IndexRecord) +
           m_segments.capacity() * sizeof(TimelineSegment);
}

int64_t PackStartBefore(const std::string& path, int64_t pos) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return pos;
    const int64_t from = std::max<int64_t>(0, pos - kPackSearchBytes);
    std::vector<unsigned char> bytes(static_cast<size_t>(pos - from + 4));
    int64_t found = pos;
    if (fseeko(file, from, SEEK_SET) == 0) {
        const size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
        for (int64_t i = std::min<int64_t>(static_cast<int64_t>(got) - 4, pos - from); i >= 0;
             --i) {
            if (bytes[i] == 0 && bytes[i + 1] == 0 && bytes[i + 2] == 1 && bytes[i + 3] == 0xBA) {
                found = from + i;
                break;
            }
        }
    }
    std::fclose(file);
    return found;
}

}  // namespace vidmux
