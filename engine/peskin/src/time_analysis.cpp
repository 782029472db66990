#include "time_analysis.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "ffmpeg_handles/ffmpeg_handles.h"
#include "ffmpeg_handles/recording_input.h"
#include "recorder_head.h"

namespace peskin {

namespace {

using ffhandles::FormatPtr;
using ffhandles::PacketPtr;
using vidmux::CivilMs;

// The first picture lies within this much of the start of the stream...
constexpr int64_t kHeadScanBytes = 4LL << 20;
// ...and among the first few pictures in decode order (B-frames come later
// in the file than the pictures they precede).
constexpr int kHeadScanPictures = 16;
// Streams without an index are read from this far before their end.
constexpr int64_t kTailScanBytes = 4LL << 20;
// A picture's duration when neither the container nor the stream tells it.
constexpr int64_t kDefaultFrameMs = 40;

struct VideoPackets {
    int stream = -1;
    int pictures = 0;
    int64_t firstPts = INT64_MAX;
    int64_t lastPts = INT64_MIN;
    int64_t lastDuration = 0;  // duration of the packet with the latest timestamp
    std::vector<int64_t> tailPts;
};

bool IsVideo(const AVFormatContext* format, int stream) {
    return format->streams[stream]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO;
}

// Reads packets until EOF, until `stopAtByte` is passed, or until
// `maxPictures` timestamped pictures of the video stream were seen.
void ReadVideoPackets(AVFormatContext* format, int64_t stopAtByte, int maxPictures,
                      VideoPackets* video, bool keepTail) {
    PacketPtr packet(av_packet_alloc());
    if (!packet) return;
    int pictures = 0;
    while (av_read_frame(format, packet.get()) >= 0) {
        const int stream = packet->stream_index;
        if (video->stream < 0 && IsVideo(format, stream)) video->stream = stream;
        // A picture cut short by the end of a truncated file is no picture.
        const bool bWhole = (packet->flags & AV_PKT_FLAG_CORRUPT) == 0;
        if (stream == video->stream && packet->pts != AV_NOPTS_VALUE && bWhole) {
            ++pictures;
            video->firstPts = std::min(video->firstPts, packet->pts);
            if (packet->pts >= video->lastPts) {
                video->lastPts = packet->pts;
                video->lastDuration = packet->duration;
            }
            if (keepTail) video->tailPts.push_back(packet->pts);
        }
        av_packet_unref(packet.get());
        if (pictures >= maxPictures) break;
        if (stopAtByte >= 0 && format->pb && avio_tell(format->pb) > stopAtByte) break;
    }
    video->pictures += pictures;
}

std::optional<CivilMs> CreationTime(const AVFormatContext* format) {
    const AVDictionaryEntry* tag = av_dict_get(format->metadata, "creation_time", nullptr, 0);
    for (unsigned i = 0; !tag && i < format->nb_streams; ++i) {
        tag = av_dict_get(format->streams[i]->metadata, "creation_time", nullptr, 0);
    }
    return tag ? vidmux::ParseCreationTime(tag->value) : std::nullopt;
}

// Moves the demuxer close to the end: to the last key frame through the
// container's index when it has one, else a few MiB before the end. Demuxers
// of streams without tables (MPEG program and transport streams) index the
// key frames they have read so far: such an index ends where reading stopped,
// and seeking to it would read the whole file from there.
void SeekNearEnd(AVFormatContext* format, int stream, int64_t fileBytes, int64_t firstByte) {
    AVStream* video = format->streams[stream];
    const int64_t readSoFar = format->pb ? avio_tell(format->pb) : 0;
    const int entries = avformat_index_get_entries_count(video);
    for (int i = entries - 1; i >= 0; --i) {
        const AVIndexEntry* entry = avformat_index_get_entry(video, i);
        if (entry && (entry->flags & AVINDEX_KEYFRAME)) {
            if (entry->pos > readSoFar &&
                av_seek_frame(format, stream, entry->timestamp, AVSEEK_FLAG_BACKWARD) >= 0) {
                return;
            }
            break;
        }
    }
    const int64_t target = std::max(firstByte, fileBytes - kTailScanBytes);
    av_seek_frame(format, -1, target, AVSEEK_FLAG_BYTE);
}

// One picture's duration in the stream's time base.
int64_t FrameDuration(const AVStream* video, const VideoPackets& packets) {
    if (packets.lastDuration > 0) return packets.lastDuration;
    const AVRational rate =
        video->avg_frame_rate.num > 0 ? video->avg_frame_rate : video->r_frame_rate;
    if (rate.num > 0 && rate.den > 0) return av_rescale_q(1, av_inv_q(rate), video->time_base);
    std::vector<int64_t> pts = packets.tailPts;
    std::sort(pts.begin(), pts.end());
    int64_t step = INT64_MAX;
    for (size_t i = 1; i < pts.size(); ++i) {
        if (pts[i] > pts[i - 1]) step = std::min(step, pts[i] - pts[i - 1]);
    }
    if (step != INT64_MAX) return step;
    return av_rescale_q(kDefaultFrameMs, AVRational{1, 1000}, video->time_base);
}

void CopyTime(CivilMs ms, PeskinTime* out) {
    const VemorSystemTime time = vidmux::SystemTimeFromCivil(ms);
    static_assert(sizeof(VemorSystemTime) == sizeof(PeskinTime));
    std::memcpy(out, &time, sizeof time);
}

}  // namespace

int32_t AnalyzeTimes(const char* path, PeskinFileInfo* info) {
    struct stat status {};
    if (::stat(path, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size == 0) {
        return PESKIN_ERR_OPEN;
    }
    const std::optional<vidmux::RecorderHead> head = vidmux::ReadRecorderHead(path);
    FormatPtr format;
    const int opened = ffhandles::OpenRecordingInput(path, {}, &format);
    if (opened < 0) return opened == AVERROR(EACCES) ? PESKIN_ERR_OPEN : PESKIN_ERR_FORMAT;

    // A file without time is refused before anything is read past its head.
    const std::optional<CivilMs> start =
        head ? vidmux::UnpackTime(head->packedStartTime) : CreationTime(format.get());
    if (!start) return PESKIN_ERR_NO_TIME;

    VideoPackets packets;
    const int64_t firstByte = head ? vidmux::kRecorderHeadBytes : 0;
    ReadVideoPackets(format.get(), firstByte + kHeadScanBytes, kHeadScanPictures, &packets, false);
    if (packets.stream < 0 || packets.pictures == 0) return PESKIN_ERR_DAMAGED;
    const int64_t firstPts = packets.firstPts;

    SeekNearEnd(format.get(), packets.stream, status.st_size, firstByte);
    packets.lastPts = INT64_MIN;
    packets.lastDuration = 0;
    ReadVideoPackets(format.get(), -1, INT32_MAX, &packets, true);
    if (packets.lastPts == INT64_MIN) return PESKIN_ERR_DAMAGED;

    const AVStream* video = format->streams[packets.stream];
    int64_t lastPts = packets.lastPts;
    // MPEG timestamps wrap after 26.5 hours.
    if (lastPts < firstPts && video->pts_wrap_bits > 0 && video->pts_wrap_bits < 63) {
        lastPts += int64_t{1} << video->pts_wrap_bits;
    }
    if (lastPts < firstPts) return PESKIN_ERR_DAMAGED;
    const AVRational ms{1, 1000};
    const int64_t lastMs = av_rescale_q(lastPts - firstPts, video->time_base, ms);
    const int64_t frameMs =
        std::max<int64_t>(1, av_rescale_q(FrameDuration(video, packets), video->time_base, ms));

    info->nSize = PESKIN_RECORD_BYTES;
    info->nTimeSource = head ? PESKIN_TIME_RECORDER_HEAD : PESKIN_TIME_CREATION_TAG;
    info->nFrameMs = static_cast<uint32_t>(frameMs);
    info->nFileBytes = status.st_size;
    info->nLastPictureMs = lastMs;
    info->nLengthMs = lastMs + frameMs;
    CopyTime(*start, &info->stStart);
    CopyTime(*start + lastMs + frameMs, &info->stEnd);
    return PESKIN_OK;
}

}  // namespace peskin
