// Building a file's frame index: a demux-only scan of its video packets,
// then a decode of the groups of pictures that may not decode whole (the
// last one, and those around damage the scan read past), so that the index
// counts only pictures that exist and decode.

#include <algorithm>
#include <cmath>

#include "demuxer_open.h"
#include "frame_index.h"
#include "matroska_blocks.h"
#include "media_source.h"
#include "packet_reader.h"
#include "sample_table.h"

namespace vidmux {

namespace {

// Groups at the end of the file that may yield nothing at all (torn off
// before their first picture is whole) and are dropped one after another.
constexpr int kTailGroupsDropped = 3;
// Damaged places checked by decoding; a file with more damage than this is
// indexed as its packets say.
constexpr size_t kMaxDamageChecked = 64;

double StreamFps(const AVStream* video) {
    const AVRational rate =
        video->avg_frame_rate.num > 0 ? video->avg_frame_rate : video->r_frame_rate;
    const double fps = rate.num > 0 && rate.den > 0 ? av_q2d(rate) : 0.0;
    return fps > 0 && fps < 1000 ? fps : 25.0;
}

// Turns video packets, fed in decode order, into index records.
class RecordCollector {
public:
    RecordCollector(int64_t frameTicks, bool counted)
        : m_timeline(frameTicks), m_frameTicks(frameTicks), m_counted(counted) {}

    // `suspect`: damage lies next to this packet.
    void Add(int64_t pts, int64_t dts, int64_t pos, bool key, bool suspect) {
        // Nothing before the first key frame decodes.
        if (!m_started && !key) return;
        m_started = true;
        const int64_t mediaPts = m_counted ? m_count : m_timeline.Add(pts, dts, pos);
        if (!m_counted) NoteSegment(mediaPts);
        ++m_count;
        if ((suspect || m_suspectNext) && m_suspectRecords.size() < kMaxDamageChecked) {
            m_suspectRecords.push_back(m_records.size());
        }
        m_suspectNext = suspect;
        // A key frame that shows a picture before an earlier key frame's cannot
        // start a closed group; seeking from it would miss pictures.
        const bool start = key && (m_lastStartPts == kNoTimestamp || mediaPts > m_lastStartPts);
        if (start) m_lastStartPts = mediaPts;
        if (m_firstKeyPts == kNoTimestamp) m_firstKeyPts = mediaPts;
        m_records.emplace_back(mediaPts, pos, key, start);
    }

    std::shared_ptr<const FrameIndex> Finish(double timeBase, double fps) {
        std::vector<TimelineSegment> segments = m_timeline.TakeSegments();
        if (!m_counted) CloseJumpGaps(&segments);
        for (size_t record : m_suspectRecords) m_suspects.push_back(m_records[record].Pts());
        if (!m_counted) {
            // Pictures shown before the first key frame's refer to pictures
            // the file does not hold.
            const int64_t first = m_firstKeyPts;
            m_records.erase(
                std::remove_if(m_records.begin(), m_records.end(),
                               [first](const IndexRecord& r) { return r.Pts() < first; }),
                m_records.end());
            std::stable_sort(
                m_records.begin(), m_records.end(),
                [](const IndexRecord& a, const IndexRecord& b) { return a.Pts() < b.Pts(); });
        }
        return std::make_shared<FrameIndex>(std::move(m_records), std::move(segments), timeBase,
                                            fps, m_counted);
    }

    // Media times of the packets next to damage, once finished.
    const std::vector<int64_t>& Suspects() const { return m_suspects; }

private:
    void NoteSegment(int64_t mediaPts) {
        const size_t segment = m_timeline.Segments().size() - 1;
        if (segment < m_segmentStarts.size()) {
            m_segmentEarliest[segment] = std::min(m_segmentEarliest[segment], mediaPts);
            return;
        }
        m_segmentStarts.push_back(m_records.size());
        m_segmentEarliest.push_back(mediaPts);
    }

    // Without decoding times the timeline leaves room after a jump for
    // pictures shown before the first one of the new segment. Where the
    // segment's pictures do not use it, they move up, so that the segment
    // follows the pictures before it by one frame as with decoding times.
    void CloseJumpGaps(std::vector<TimelineSegment>* segments) {
        int64_t shift = 0;
        int64_t latest = kNoTimestamp;  // latest picture before the segment, moved
        const size_t count = std::min(m_segmentStarts.size(), segments->size());
        for (size_t k = 0; k < count; ++k) {
            if (k > 0) {
                const int64_t earliest = m_segmentEarliest[k] - shift;
                shift += std::max<int64_t>(0, earliest - (latest + m_frameTicks));
                (*segments)[k].offset -= shift;
                (*segments)[k].firstPts = latest + m_frameTicks;
            }
            const size_t end = k + 1 < count ? m_segmentStarts[k + 1] : m_records.size();
            for (size_t i = m_segmentStarts[k]; i < end; ++i) {
                const IndexRecord r = m_records[i];
                if (shift != 0)
                    m_records[i] = IndexRecord(r.Pts() - shift, r.Pos(), r.Key(), r.Start());
                latest = std::max(latest, m_records[i].Pts());
            }
        }
    }

    TimelineBuilder m_timeline;
    int64_t m_frameTicks;
    bool m_counted;
    bool m_started = false;
    int64_t m_count = 0;
    int64_t m_lastStartPts = kNoTimestamp;
    int64_t m_firstKeyPts = kNoTimestamp;
    bool m_suspectNext = false;
    std::vector<IndexRecord> m_records;
    std::vector<size_t> m_segmentStarts;     // first record of each timeline segment
    std::vector<int64_t> m_segmentEarliest;  // earliest media time in each segment
    std::vector<size_t> m_suspectRecords;
    std::vector<int64_t> m_suspects;
};

// Decodes each group of pictures that holds a suspect picture, and drops
// the pictures of it that do not come out. Groups are checked from the last
// one backwards so that the numbers of the groups still to check stay valid.
// A last group that yields nothing at all goes, and the one before it is
// checked in turn.
std::shared_ptr<const FrameIndex> KeepDecodable(const std::string& path,
                                                std::shared_ptr<const FrameIndex> index,
                                                std::vector<int64_t> suspects,
                                                const std::atomic<bool>& abort) {
    MediaSource source;
    int error = 0;
    if (!source.Open(path, &error, &abort, 1)) return abort ? nullptr : index;
    std::sort(suspects.begin(), suspects.end(), std::greater<>());
    int tailDrops = 0;
    int64_t checkedFrom = index->FrameCount();
    for (size_t i = 0; i < suspects.size() && index->FrameCount() > 0;) {
        std::optional<KeyFrame> key =
            index->KeyForFrame(std::clamp<int64_t>(suspects[i], 0, index->FrameCount() - 1));
        if (!key) break;
        const int64_t from = key->number;
        if (from >= checkedFrom) {
            ++i;
            continue;
        }
        const int64_t end = index->NextStartAfter(from);
        const bool tail = end == index->FrameCount();
        source.SetIndex(index);
        std::vector<bool> decoded(static_cast<size_t>(end - from), false);
        if (source.SeekToKey(*key)) {
            Picture picture;
            while (source.Next(&picture) == MediaSource::Status::Picture && picture.number < end) {
                if (picture.number >= from)
                    decoded[static_cast<size_t>(picture.number - from)] = true;
            }
        }
        if (abort) return nullptr;
        checkedFrom = from;
        if (std::all_of(decoded.begin(), decoded.end(), [](bool d) { return d; })) continue;
        const bool nothing = std::none_of(decoded.begin(), decoded.end(), [](bool d) { return d; });
        index = index->Trimmed(from, decoded);
        if (tail && nothing && ++tailDrops < kTailGroupsDropped) checkedFrom = index->FrameCount();
    }
    return index;
}

}  // namespace

namespace {

// Scans the video packets of `format` into `collector`; false when aborted.
// Matroska stores presentation times only: the decoding times its demuxer
// gives are guesses, which the timeline goes without.
bool ScanPackets(AVFormatContext* format, int videoStream, RecordCollector* collector,
                 const std::atomic<bool>& abort) {
    const bool decodeTimes = !IsMatroskaFormat(format);
    PacketPtr packet(av_packet_alloc());
    if (!packet) return false;
    PacketReader reader(format);
    int64_t errorsSeen = 0;
    while (!abort.load(std::memory_order_relaxed) && reader.Read(packet.get()) >= 0) {
        if (packet->stream_index == videoStream) {
            const bool damaged =
                (packet->flags & AV_PKT_FLAG_CORRUPT) || reader.SkippedErrors() != errorsSeen;
            errorsSeen = reader.SkippedErrors();
            collector->Add(
                packet->pts == AV_NOPTS_VALUE ? kNoTimestamp : packet->pts,
                packet->dts == AV_NOPTS_VALUE || !decodeTimes ? kNoTimestamp : packet->dts,
                packet->pos, (packet->flags & AV_PKT_FLAG_KEY) != 0, damaged);
        }
        av_packet_unref(packet.get());
    }
    return !abort.load();
}

std::optional<OpenedInput> OpenVideoOnly(const std::string& path, const std::atomic<bool>& abort) {
    int error = 0;
    std::optional<OpenedInput> input = OpenDemuxer(path, true, &error, &abort);
    if (!input) return std::nullopt;
    AVFormatContext* format = input->format.get();
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        if (static_cast<int>(i) != input->videoStream) format->streams[i]->discard = AVDISCARD_ALL;
    }
    return input;
}

}  // namespace

std::shared_ptr<const FrameIndex> BuildFrameIndex(const std::string& path,
                                                  const std::atomic<bool>& abort) {
    std::optional<OpenedInput> input = OpenVideoOnly(path, abort);
    if (!input) return nullptr;
    const AVStream* video = input->format->streams[input->videoStream];
    const double timeBase = av_q2d(video->time_base);
    const double fps = StreamFps(video);
    const int64_t frameTicks = std::max<int64_t>(1, std::llround(1.0 / fps / timeBase));

    RecordCollector collector(frameTicks, IsElementaryStream(input->format.get()));
    // MP4 and MOV list every picture in their tables, and Matroska's block
    // headers can be walked without reading the pictures: no packet needs
    // reading.
    bool cutOff = false;
    const auto add = [&](const TableSample& s) {
        collector.Add(s.pts, s.dts, s.pos, s.key, false);
    };
    AVFormatContext* format = input->format.get();
    const bool fromTable =
        ReadSampleTable(path, format, input->videoStream, add, &cutOff) ||
        ReadMatroskaBlocks(path, format, input->videoStream, add, &cutOff, abort);
    if (!fromTable) {
        if (abort.load()) return nullptr;
        // The check of the tables may have read packets: scan from a fresh start.
        if (IsSampleTableFormat(format) || IsMatroskaFormat(format)) {
            input = OpenVideoOnly(path, abort);
        }
        if (!input || !ScanPackets(input->format.get(), input->videoStream, &collector, abort)) {
            return nullptr;
        }
    }
    if (abort.load()) return nullptr;
    std::shared_ptr<const FrameIndex> index = collector.Finish(timeBase, fps);
    std::vector<int64_t> suspects;
    for (int64_t pts : collector.Suspects()) suspects.push_back(index->NumberOfPts(pts));
    // A scanned file may end in a torn picture; a table says where it is cut off.
    if (!fromTable || cutOff) suspects.push_back(index->FrameCount() - 1);
    if (suspects.empty()) return index;
    return KeepDecodable(path, index, std::move(suspects), abort);
}

}  // namespace vidmux
