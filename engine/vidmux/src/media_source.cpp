#include "media_source.h"

#include <cmath>
#include <cstring>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
}

#include "vidmux.h"

namespace vidmux {

namespace {

// Decoding errors in a row after which the decoder is taken to be stuck.
constexpr int kMaxDecodeErrorsInRow = 64;
// Pictures a decoder may hold between taking a packet and giving out its
// picture (frame threads, reordering): a setting changed now reaches the
// pictures that come out only after this many.
constexpr int kDecoderPipeline = 16;

CodecPtr OpenDecoder(const AVStream* stream, int threads) {
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec) return nullptr;
    CodecPtr ctx(avcodec_alloc_context3(codec));
    if (!ctx || avcodec_parameters_to_context(ctx.get(), stream->codecpar) < 0) return nullptr;
    ctx->pkt_timebase = stream->time_base;
    ctx->thread_count = threads;
    if (avcodec_open2(ctx.get(), codec, nullptr) < 0) return nullptr;
    return ctx;
}

}  // namespace

bool MediaSource::Open(const std::string& path, int* error, const std::atomic<bool>* abort,
                       int decoderThreads) {
    std::optional<OpenedInput> input = OpenDemuxer(path, true, error, abort);
    if (!input) return false;
    m_input = std::move(*input);
    m_format = m_input.format.get();
    m_videoStream = m_input.videoStream;
    m_audioStream = m_input.audioStream;
    const AVStream* video = m_format->streams[m_videoStream];
    m_timeBase = av_q2d(video->time_base);
    AVRational rate = video->avg_frame_rate.num > 0 ? video->avg_frame_rate : video->r_frame_rate;
    if (rate.num > 0 && rate.den > 0 && av_q2d(rate) < 1000) m_fps = av_q2d(rate);
    m_elementary = IsElementaryStream(m_format);
    m_reader.emplace(m_format);

    m_video = OpenDecoder(video, decoderThreads);
    if (!m_video) {
        *error = VIDMUX_ERR_DECODE;
        return false;
    }
    if (m_audioStream >= 0) {
        m_audio = OpenDecoder(m_format->streams[m_audioStream], 1);
        if (!m_audio) m_audioStream = -1;
    }
    for (unsigned i = 0; i < m_format->nb_streams; ++i) {
        const int stream = static_cast<int>(i);
        if (stream != m_videoStream && stream != m_audioStream) {
            m_format->streams[i]->discard = AVDISCARD_ALL;
        }
    }
    m_frame.reset(av_frame_alloc());
    m_audioFrame.reset(av_frame_alloc());
    m_packet.reset(av_packet_alloc());
    if (!m_frame || !m_audioFrame || !m_packet) {
        *error = VIDMUX_ERR_OUT_OF_MEMORY;
        return false;
    }

    if (m_input.head) {
        m_startTime = UnpackTime(m_input.head->packedStartTime);
    } else {
        const AVDictionaryEntry* tag = av_dict_get(m_format->metadata, "creation_time", nullptr, 0);
        if (!tag) tag = av_dict_get(video->metadata, "creation_time", nullptr, 0);
        if (tag) m_startTime = ParseCreationTime(tag->value);
    }
    return true;
}

void MediaSource::SetIndex(std::shared_ptr<const FrameIndex> index) {
    m_index = std::move(index);
    if (!m_index) return;
    if (m_index->Timestamped()) {
        m_elementary = false;
        m_startPts = m_index->FirstPts();
    } else if (!m_elementary) {
        // Some packets carry no timestamp after all: count pictures from the
        // last one numbered by its time.
        m_elementary = true;
        m_nextCount = m_lastNumber + 1;
        m_nextTag = m_nextCount;
    }
}

void MediaSource::SetSkipBFrames(bool skip) {
    m_skipBFrames = skip;
    if (m_video) m_video->skip_frame = skip ? AVDISCARD_BIDIR : AVDISCARD_DEFAULT;
}

void MediaSource::SetLowCost(bool lowCost) {
    if (lowCost == m_lowCost) return;
    m_lowCost = lowCost;
    if (lowCost) {
        m_groupReduced = true;
    } else {
        m_fullSinceLowCost = 0;
    }
    if (m_video) m_video->skip_loop_filter = lowCost ? AVDISCARD_ALL : AVDISCARD_DEFAULT;
}

bool MediaSource::NoteReduced(bool keyFrame) {
    if (m_lowCost) {
        m_groupReduced = true;
    } else {
        // A key frame taken in after the loop filter came back starts a
        // clean group; pictures still in the decoder may predate it.
        if (keyFrame && m_fullSinceLowCost >= kDecoderPipeline) m_groupReduced = false;
        if (m_fullSinceLowCost < kDecoderPipeline) ++m_fullSinceLowCost;
    }
    return m_groupReduced;
}

void MediaSource::SetAudioSink(std::function<void(AudioBlock&&)> sink) {
    m_audioSink = std::move(sink);
}

int64_t MediaSource::DurationMs() const {
    if (m_index) return m_index->DurationMs();
    const AVStream* video = m_format->streams[m_videoStream];
    if (video->duration > 0) return std::llround(video->duration * m_timeBase * 1000.0);
    if (m_format->duration > 0) return m_format->duration / (AV_TIME_BASE / 1000);
    return 0;
}

int64_t MediaSource::FrameCount() const {
    if (m_index) return m_index->FrameCount();
    const AVStream* video = m_format->streams[m_videoStream];
    if (video->nb_frames > 0) return video->nb_frames;
    return std::llround(DurationMs() * m_fps / 1000.0);
}

int64_t MediaSource::NumberAtTimeMs(int64_t timeMs) const {
    if (m_index) return m_index->NumberAtTimeMs(timeMs);
    return static_cast<int64_t>(timeMs * m_fps / 1000.0 + 1e-6);
}

int64_t MediaSource::TimeMsOfNumber(int64_t number) const {
    if (m_index) return m_index->TimeMsOfNumber(number);
    return std::llround(number * 1000.0 / m_fps);
}

void MediaSource::ToMediaTime(AVPacket* packet) {
    if (!m_index || m_index->SegmentCount() < 2 || m_elementary) return;
    if (packet->stream_index == m_videoStream) {
        const int segment = m_index->SegmentAtPos(packet->pos);
        if (segment >= 0) m_segment = segment;
    }
    int64_t offset = m_index->SegmentOffset(m_segment);
    if (offset == 0) return;
    if (packet->stream_index != m_videoStream) {
        offset = av_rescale_q(offset, m_format->streams[m_videoStream]->time_base,
                              m_format->streams[packet->stream_index]->time_base);
    }
    if (packet->pts != AV_NOPTS_VALUE) packet->pts += offset;
    if (packet->dts != AV_NOPTS_VALUE) packet->dts += offset;
}

void MediaSource::ResetAfterSeek() {
    avcodec_flush_buffers(m_video.get());
    // The decoder holds nothing now: the next group is as the setting is.
    m_groupReduced = m_lowCost;
    m_fullSinceLowCost = kDecoderPipeline;
    if (m_audio) avcodec_flush_buffers(m_audio.get());
    m_draining = false;
    m_lastPts = INT64_MIN;
    m_reader->Reset();
}

bool MediaSource::SeekToKey(const KeyFrame& key) {
    int result = -1;
    if (PrefersByteSeek(m_format) && key.pos >= 0) {
        result = avformat_seek_file(m_format, -1, INT64_MIN, key.pos, key.pos, AVSEEK_FLAG_BYTE);
    } else if (key.fileTs != kNoTimestamp) {
        result = av_seek_frame(m_format, m_videoStream, key.fileTs, AVSEEK_FLAG_BACKWARD);
    }
    if (result < 0) return false;
    ResetAfterSeek();
    m_skipUntilPos = key.pos;
    m_skipToKey = true;
    m_nextCount = key.number;
    m_nextTag = key.number;
    if (m_index) m_segment = std::max(0, m_index->SegmentAtPos(key.pos));
    return true;
}

bool MediaSource::SeekToStart() {
    if (m_index) {
        if (std::optional<KeyFrame> first = m_index->KeyForFrame(0)) return SeekToKey(*first);
    }
    int result;
    if (PrefersByteSeek(m_format)) {
        const int64_t start = m_input.head ? kRecorderHeadBytes : 0;
        result = avformat_seek_file(m_format, -1, INT64_MIN, start, start, AVSEEK_FLAG_BYTE);
    } else {
        const AVStream* video = m_format->streams[m_videoStream];
        const int64_t start = video->start_time != AV_NOPTS_VALUE ? video->start_time : 0;
        result = av_seek_frame(m_format, m_videoStream, start, AVSEEK_FLAG_BACKWARD);
    }
    if (result < 0) return false;
    ResetAfterSeek();
    m_skipUntilPos = -1;
    m_skipToKey = true;
    m_segment = 0;
    m_nextCount = 0;
    m_nextTag = 0;
    return true;
}

bool MediaSource::SeekNearTimeMs(int64_t timeMs) {
    if (m_elementary || m_startPts == INT64_MIN) return false;
    const int64_t ts = m_startPts + std::llround(timeMs / 1000.0 / m_timeBase);
    if (av_seek_frame(m_format, m_videoStream, ts, AVSEEK_FLAG_BACKWARD) < 0) return false;
    ResetAfterSeek();
    m_skipUntilPos = -1;
    m_skipToKey = true;
    return true;
}

bool MediaSource::SendNextPacket() {
    for (;;) {
        const int read = m_reader->Read(m_packet.get());
        if (read < 0) {
            if (!m_draining) {
                avcodec_send_packet(m_video.get(), nullptr);
                m_draining = true;
                return true;
            }
            return false;
        }
        if (m_packet->stream_index == m_audioStream) {
            if (m_skipUntilPos < 0 && !m_skipToKey) {
                ToMediaTime(m_packet.get());
                DecodeAudio(m_packet.get());
            }
            av_packet_unref(m_packet.get());
            continue;
        }
        if (m_packet->stream_index != m_videoStream) {
            av_packet_unref(m_packet.get());
            continue;
        }
        if (m_skipToKey) {
            const bool atKey =
                (m_packet->flags & AV_PKT_FLAG_KEY) &&
                (m_skipUntilPos < 0 || m_packet->pos < 0 || m_packet->pos >= m_skipUntilPos);
            if (!atKey) {
                av_packet_unref(m_packet.get());
                continue;
            }
            m_skipUntilPos = -1;
            m_skipToKey = false;
        }
        ToMediaTime(m_packet.get());
        if (m_elementary) {
            // Elementary streams carry no timestamps; the decode-order tag
            // travels with the packet to the picture it becomes.
            m_packet->pts = m_nextTag;
            m_packet->dts = m_nextTag;
            ++m_nextTag;
        }
        const int sent = avcodec_send_packet(m_video.get(), m_packet.get());
        av_packet_unref(m_packet.get());
        // Damaged data is dropped by the decoder; keep going with the next packet.
        if (sent < 0 && sent != AVERROR_INVALIDDATA && sent != AVERROR(EAGAIN)) return false;
        return true;
    }
}

MediaSource::Status MediaSource::Next(Picture* out, int maxPackets) {
    int errors = 0;
    for (int packets = 0;; ++packets) {
        if (maxPackets > 0 && packets > maxPackets) return Status::Failed;
        const int received = avcodec_receive_frame(m_video.get(), m_frame.get());
        if (received == 0) {
            m_decoderPictures.Saw(m_frame.get());
            Identify(m_frame.get(), out);
            out->reduced = NoteReduced(m_frame->key_frame != 0);
            out->frame = ShareFrame(m_frame.get());
            av_frame_unref(m_frame.get());
            return out->frame ? Status::Picture : Status::Failed;
        }
        if (received == AVERROR_EOF) return Status::End;
        if (received != AVERROR(EAGAIN)) {
            // A damaged picture is lost, not the rest of the file (decoding
            // on several threads reports it here rather than when sent).
            if (++errors > kMaxDecodeErrorsInRow) return Status::Failed;
            continue;
        }
        if (!SendNextPacket()) return m_draining ? Status::End : Status::Failed;
    }
}

void MediaSource::Identify(const AVFrame* frame, Picture* out) {
    IdentifyPicture(frame, out);
    m_lastNumber = out->number;
}

void MediaSource::IdentifyPicture(const AVFrame* frame, Picture* out) {
    if (m_elementary) {
        // Counting is exact while every picture comes out; with B-frames
        // dropped, the packet's decode-order tag is the nearest estimate.
        out->number = m_skipBFrames && frame->pts != AV_NOPTS_VALUE ? frame->pts : m_nextCount;
        m_nextCount = out->number + 1;
        out->timeMs = std::llround(out->number * 1000.0 / m_fps);
        out->recordedMs = out->timeMs;
        return;
    }
    int64_t pts = frame->best_effort_timestamp;
    if (pts == AV_NOPTS_VALUE) {
        pts = m_lastPts == INT64_MIN ? 0 : m_lastPts + std::llround(1.0 / m_fps / m_timeBase);
    }
    m_lastPts = pts;
    if (m_startPts == INT64_MIN) m_startPts = pts;
    out->timeMs = std::llround((pts - m_startPts) * m_timeBase * 1000.0);
    out->recordedMs = m_index ? m_index->RecordedMsOfPts(pts) : out->timeMs;
    out->number = m_index ? m_index->NumberOfPts(pts) : std::llround(out->timeMs * m_fps / 1000.0);
}

void MediaSource::DecodeAudio(const AVPacket* packet) {
    if (!m_audioSink || !m_audio) return;
    if (avcodec_send_packet(m_audio.get(), packet) < 0) return;
    while (avcodec_receive_frame(m_audio.get(), m_audioFrame.get()) == 0) {
        if (!m_resampler) {
            SwrContext* swr = nullptr;
            AVChannelLayout outLayout = AV_CHANNEL_LAYOUT_STEREO;
            if (swr_alloc_set_opts2(&swr, &outLayout, AV_SAMPLE_FMT_S16, kAudioRate,
                                    &m_audioFrame->ch_layout,
                                    static_cast<AVSampleFormat>(m_audioFrame->format),
                                    m_audioFrame->sample_rate, 0, nullptr) < 0 ||
                swr_init(swr) < 0) {
                swr_free(&swr);
                av_frame_unref(m_audioFrame.get());
                return;
            }
            m_resampler.reset(swr);
        }
        AudioBlock block;
        const int64_t pts = m_audioFrame->best_effort_timestamp;
        const double audioBase = av_q2d(m_format->streams[m_audioStream]->time_base);
        const double videoStart = m_startPts == INT64_MIN ? 0 : m_startPts * m_timeBase;
        block.timeMs =
            pts == AV_NOPTS_VALUE ? 0 : std::llround((pts * audioBase - videoStart) * 1000.0);
        const int capacity = swr_get_out_samples(m_resampler.get(), m_audioFrame->nb_samples);
        block.samples.resize(static_cast<size_t>(std::max(capacity, 0)) * kAudioChannels);
        uint8_t* outPlanes[1] = {reinterpret_cast<uint8_t*>(block.samples.data())};
        const int converted = swr_convert(m_resampler.get(), outPlanes, capacity,
                                          const_cast<const uint8_t**>(m_audioFrame->extended_data),
                                          m_audioFrame->nb_samples);
        av_frame_unref(m_audioFrame.get());
        if (converted <= 0) continue;
        block.samples.resize(static_cast<size_t>(converted) * kAudioChannels);
        m_audioSink(std::move(block));
    }
}

}  // namespace vidmux
