#include "frame_index.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "demuxer_open.h"

namespace vidmux {

namespace {

// How far back from a PES header the pack header that holds it may lie.
constexpr int64_t kPackSearchBytes = 4096;

// Finds the pack start code (00 00 01 BA) at or before `pos`.
int64_t PackStartBefore(FILE* file, int64_t pos) {
    const int64_t from = std::max<int64_t>(0, pos - kPackSearchBytes);
    std::vector<unsigned char> bytes(static_cast<size_t>(pos - from + 4));
    if (fseeko(file, from, SEEK_SET) != 0) return pos;
    const size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
    for (int64_t i = std::min<int64_t>(static_cast<int64_t>(got) - 4, pos - from); i >= 0; --i) {
        if (bytes[i] == 0 && bytes[i + 1] == 0 && bytes[i + 2] == 1 && bytes[i + 3] == 0xBA) {
            return from + i;
        }
    }
    return pos;
}

}  // namespace

FrameIndex::FrameIndex(std::vector<IndexEntry> entries, double timeBase, double fps)
    : m_entries(std::move(entries)), m_timeBase(timeBase), m_fps(fps > 0 ? fps : 25.0) {
    m_timestamped =
        !m_entries.empty() && std::all_of(m_entries.begin(), m_entries.end(),
                                          [](const IndexEntry& e) { return e.pts != INT64_MIN; });
    if (m_timestamped) {
        m_sortedPts.reserve(m_entries.size());
        for (const IndexEntry& e : m_entries) m_sortedPts.push_back(e.pts);
        std::sort(m_sortedPts.begin(), m_sortedPts.end());
    }
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (!m_entries[i].key) continue;
        const int64_t number =
            m_timestamped ? NumberOfPts(m_entries[i].pts) : static_cast<int64_t>(i);
        // A key frame that shows a picture before an earlier key frame's cannot
        // start a closed group; seeking from it would miss pictures.
        if (!m_keyNumbers.empty() && number <= m_keyNumbers.back()) continue;
        m_keys.push_back(static_cast<int>(i));
        m_keyNumbers.push_back(number);
    }
    // A stream that does not start with a key frame still decodes from its start.
    if (!m_entries.empty() && (m_keys.empty() || m_keys.front() != 0)) {
        m_keys.insert(m_keys.begin(), 0);
        m_keyNumbers.insert(m_keyNumbers.begin(), 0);
    }
}

int64_t FrameIndex::DurationMs() const {
    const int64_t frameMs = std::llround(1000.0 / m_fps);
    if (m_entries.empty()) return 0;
    if (!m_timestamped) return std::llround(FrameCount() * 1000.0 / m_fps);
    return std::llround((m_sortedPts.back() - m_sortedPts.front()) * m_timeBase * 1000.0) + frameMs;
}

int64_t FrameIndex::NumberOfPts(int64_t pts) const {
    if (!m_timestamped) return 0;
    auto it = std::lower_bound(m_sortedPts.begin(), m_sortedPts.end(), pts);
    if (it == m_sortedPts.end()) return FrameCount() - 1;
    if (it != m_sortedPts.begin() && *it != pts && pts - *(it - 1) < *it - pts) --it;
    return it - m_sortedPts.begin();
}

int64_t FrameIndex::PtsOfNumber(int64_t number) const {
    if (!m_timestamped || m_sortedPts.empty()) return INT64_MIN;
    number = std::clamp<int64_t>(number, 0, FrameCount() - 1);
    return m_sortedPts[static_cast<size_t>(number)];
}

int64_t FrameIndex::TimeMsOfNumber(int64_t number) const {
    if (!m_timestamped) return std::llround(number * 1000.0 / m_fps);
    return std::llround((PtsOfNumber(number) - FirstPts()) * m_timeBase * 1000.0);
}

int64_t FrameIndex::NumberAtTimeMs(int64_t timeMs) const {
    if (m_entries.empty()) return 0;
    if (!m_timestamped) {
        return std::clamp<int64_t>(static_cast<int64_t>(timeMs * m_fps / 1000.0 + 1e-6), 0,
                                   FrameCount() - 1);
    }
    // The last picture that starts at or before the time.
    const int64_t pts = FirstPts() + std::llround(timeMs / 1000.0 / m_timeBase);
    auto it = std::upper_bound(m_sortedPts.begin(), m_sortedPts.end(), pts);
    if (it == m_sortedPts.begin()) return 0;
    return (it - m_sortedPts.begin()) - 1;
}

KeyFrame FrameIndex::MakeKey(size_t keySlot) const {
    KeyFrame key;
    key.decodeIndex = m_keys[keySlot];
    key.number = m_keyNumbers[keySlot];
    key.timeMs = TimeMsOfNumber(key.number);
    key.entry = m_entries[static_cast<size_t>(key.decodeIndex)];
    return key;
}

std::optional<KeyFrame> FrameIndex::KeyForFrame(int64_t number) const {
    if (m_keys.empty() || number < 0 || number >= FrameCount()) return std::nullopt;
    auto it = std::upper_bound(m_keyNumbers.begin(), m_keyNumbers.end(), number);
    const size_t slot = it == m_keyNumbers.begin() ? 0 : (it - m_keyNumbers.begin()) - 1;
    return MakeKey(slot);
}

std::optional<KeyFrame> FrameIndex::KeyBefore(const KeyFrame& key) const {
    auto it = std::lower_bound(m_keys.begin(), m_keys.end(), key.decodeIndex);
    if (it == m_keys.begin()) return std::nullopt;
    return MakeKey(static_cast<size_t>((it - m_keys.begin()) - 1));
}

std::optional<KeyFrame> FrameIndex::KeyAtOrBeforeMs(int64_t timeMs) const {
    if (m_keys.empty()) return std::nullopt;
    std::optional<KeyFrame> best;
    for (size_t slot = 0; slot < m_keys.size(); ++slot) {
        KeyFrame key = MakeKey(slot);
        if (key.timeMs > timeMs) break;
        best = key;
    }
    return best ? best : MakeKey(0);
}

std::optional<KeyFrame> FrameIndex::KeyAtOrAfterMs(int64_t timeMs) const {
    for (size_t slot = 0; slot < m_keys.size(); ++slot) {
        KeyFrame key = MakeKey(slot);
        if (key.timeMs >= timeMs) return key;
    }
    return std::nullopt;
}

std::shared_ptr<const FrameIndex> BuildFrameIndex(const std::string& path,
                                                  const std::atomic<bool>& abort) {
    int error = 0;
    std::optional<OpenedInput> input = OpenDemuxer(path, true, &error);
    if (!input) return nullptr;
    AVFormatContext* format = input->format.get();
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        if (static_cast<int>(i) != input->videoStream) format->streams[i]->discard = AVDISCARD_ALL;
    }
    const AVStream* video = format->streams[input->videoStream];
    const double timeBase = av_q2d(video->time_base);
    AVRational rate = video->avg_frame_rate.num > 0 ? video->avg_frame_rate : video->r_frame_rate;
    const double fps = rate.num > 0 && rate.den > 0 ? av_q2d(rate) : 25.0;

    std::vector<IndexEntry> entries;
    PacketPtr packet(av_packet_alloc());
    if (!packet) return nullptr;
    while (!abort.load(std::memory_order_relaxed)) {
        const int read = av_read_frame(format, packet.get());
        if (read < 0) break;
        if (packet->stream_index == input->videoStream) {
            IndexEntry entry;
            entry.pos = packet->pos;
            entry.cutPos = packet->pos;
            entry.pts = packet->pts == AV_NOPTS_VALUE ? INT64_MIN : packet->pts;
            entry.dts = packet->dts == AV_NOPTS_VALUE ? INT64_MIN : packet->dts;
            entry.key = (packet->flags & AV_PKT_FLAG_KEY) != 0;
            entries.push_back(entry);
        }
        av_packet_unref(packet.get());
    }
    if (abort.load()) return nullptr;

    if (IsProgramStream(format)) {
        FILE* file = std::fopen(path.c_str(), "rb");
        if (file) {
            for (IndexEntry& entry : entries) {
                if (entry.key && entry.pos >= 0) entry.cutPos = PackStartBefore(file, entry.pos);
            }
            std::fclose(file);
        }
    }
    return std::make_shared<FrameIndex>(std::move(entries), timeBase, fps);
}

}  // namespace vidmux
