#include "picture_source.h"

#include <algorithm>
#include <cstring>

#include "input_open.h"

namespace umbrel {

namespace {

constexpr AVRational kMicroseconds{1, 1000000};
constexpr int kMaxPictureSide = 16384;

bool IsElementaryStream(const AVFormatContext* format) {
    const char* name = format->iformat->name;
    return std::strcmp(name, "h264") == 0 || std::strcmp(name, "hevc") == 0 ||
           std::strcmp(name, "mpegvideo") == 0 || std::strcmp(name, "m4v") == 0;
}

bool PictureBufferValid(const UmbrelPicture& picture) {
    if (picture.width <= 0 || picture.height <= 0 || picture.width > kMaxPictureSide ||
        picture.height > kMaxPictureSide) {
        return false;
    }
    if (picture.pixel == UMBREL_PIXEL_BGRA) {
        return picture.planes[0] != nullptr && picture.strides[0] >= picture.width * 4;
    }
    if (picture.pixel != UMBREL_PIXEL_I420) return false;
    if (picture.width % 2 != 0 || picture.height % 2 != 0) return false;
    for (int plane = 0; plane < 3; ++plane) {
        const int width = plane == 0 ? picture.width : picture.width / 2;
        if (picture.planes[plane] == nullptr || picture.strides[plane] < width) return false;
    }
    return true;
}

}  // namespace

int PictureSource::Open(const std::string& path) {
    const int opened = OpenInput(path, &m_format);
    if (opened != UMBREL_OK) return opened;
    AVFormatContext* format = m_format.get();
    m_videoStream = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (m_videoStream < 0) return UMBREL_ERR_FILE_FORMAT;
    const AVStream* video = format->streams[m_videoStream];

    const AVCodec* decoder = avcodec_find_decoder(video->codecpar->codec_id);
    if (!decoder) return UMBREL_ERR_DECODE;
    m_video.reset(avcodec_alloc_context3(decoder));
    m_frame.reset(av_frame_alloc());
    m_held.reset(av_frame_alloc());
    m_packet.reset(av_packet_alloc());
    if (!m_video || !m_frame || !m_held || !m_packet) return UMBREL_ERR_OUT_OF_MEMORY;
    if (avcodec_parameters_to_context(m_video.get(), video->codecpar) < 0) return UMBREL_ERR_DECODE;
    m_video->pkt_timebase = video->time_base;
    m_video->thread_count = 0;  // as many as the machine has
    m_video->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
    if (avcodec_open2(m_video.get(), decoder, nullptr) < 0) return UMBREL_ERR_DECODE;

    const int sound =
        av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, m_videoStream, nullptr, 0);
    if (sound >= 0 && m_sound.Open(format->streams[sound])) m_soundStream = sound;
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        const int stream = static_cast<int>(i);
        if (stream != m_videoStream && stream != m_soundStream) {
            format->streams[i]->discard = AVDISCARD_ALL;
        }
    }

    m_timeBase = video->time_base;
    m_elementary = IsElementaryStream(format);
    if (!m_elementary && video->start_time != AV_NOPTS_VALUE) {
        m_originUs = av_rescale_q(video->start_time, m_timeBase, kMicroseconds);
    }

    m_info.width = video->codecpar->width;
    m_info.height = video->codecpar->height;
    const AVRational aspect =
        av_guess_sample_aspect_ratio(format, format->streams[m_videoStream], nullptr);
    m_info.aspectNum = aspect.num > 0 && aspect.den > 0 ? aspect.num : 1;
    m_info.aspectDen = aspect.num > 0 && aspect.den > 0 ? aspect.den : 1;
    const AVRational rate =
        video->avg_frame_rate.num > 0 ? video->avg_frame_rate : video->r_frame_rate;
    const bool rateKnown =
        rate.num > 0 && rate.den > 0 && av_q2d(rate) >= 1 && av_q2d(rate) <= 1000;
    m_info.rateNum = rateKnown ? rate.num : 25;
    m_info.rateDen = rateKnown ? rate.den : 1;
    // A length guessed from the bit rate (raw streams) is no length at all.
    const bool guessed = format->duration_estimation_method == AVFMT_DURATION_FROM_BITRATE;
    if (guessed) {
        m_info.durationUs = 0;
    } else if (video->duration != AV_NOPTS_VALUE && video->duration > 0) {
        m_info.durationUs = av_rescale_q(video->duration, m_timeBase, kMicroseconds);
    } else if (format->duration != AV_NOPTS_VALUE && format->duration > 0) {
        m_info.durationUs = av_rescale_q(format->duration, AV_TIME_BASE_Q, kMicroseconds);
    }
    m_info.fileBytes = format->pb ? avio_size(format->pb) : 0;
    if (m_soundStream >= 0) {
        const AVCodecParameters* par = format->streams[m_soundStream]->codecpar;
        m_info.hasSound = 1;
        m_info.soundRate = par->sample_rate;
        m_info.soundChannels = par->ch_layout.nb_channels;
    }
    return UMBREL_OK;
}

int PictureSource::CollectSound(int rate, int channels) {
    return m_sound.SetOutput(rate, channels) ? UMBREL_OK : UMBREL_ERR_ARGUMENT;
}

int PictureSource::DecodePicture(const UmbrelPicture& picture, int64_t* timeUs, int64_t* bytePos) {
    if (!PictureBufferValid(picture)) return UMBREL_ERR_ARGUMENT;
    for (;;) {
        const int next = NextFrame();
        if (next == UMBREL_END && m_skipBeforeUs != INT64_MIN && m_held->buf[0]) {
            // Sought past the last picture: that picture is the answer.
            av_frame_unref(m_frame.get());
            av_frame_move_ref(m_frame.get(), m_held.get());
            m_frameUs = m_heldUs;
        } else if (next != UMBREL_OK) {
            return next;
        } else if (m_skipBeforeUs != INT64_MIN && m_frameUs < m_skipBeforeUs) {
            av_frame_unref(m_held.get());
            av_frame_move_ref(m_held.get(), m_frame.get());
            m_heldUs = m_frameUs;
            continue;
        }
        if (m_skipBeforeUs != INT64_MIN) m_sound.DropBefore(m_frameUs);
        m_skipBeforeUs = INT64_MIN;
        av_frame_unref(m_held.get());
        const int scaled = Scale(m_frame.get(), picture);
        av_frame_unref(m_frame.get());
        if (scaled != UMBREL_OK) return scaled;
        if (timeUs) *timeUs = m_frameUs;
        if (bytePos) *bytePos = m_format->pb ? avio_tell(m_format->pb) : 0;
        return UMBREL_OK;
    }
}

int PictureSource::ReadSound(int16_t* samples, int maxFrames, int* frames, int64_t* timeUs) {
    if (maxFrames < 0) return UMBREL_ERR_ARGUMENT;
    *frames = m_sound.Collecting() ? m_sound.Read(samples, maxFrames, timeUs) : 0;
    return UMBREL_OK;
}

int PictureSource::Seek(int64_t timeUs) {
    if (timeUs < 0) timeUs = 0;
    const int64_t halfStep = FrameStepUs() / 2;
    // Some containers land past the wanted time; each miss tries again from
    // further back, and at last from the start, which cannot miss.
    int64_t backoffUs = 0;
    for (int attempt = 0;; ++attempt) {
        const int64_t atUs = timeUs - backoffUs;
        const bool fromStart = m_elementary || atUs <= halfStep || attempt == 4;
        if (!SeekNear(fromStart ? -1 : atUs)) return UMBREL_ERR_READ;
        if (fromStart) break;
        // A good landing starts decoding on a key picture at or before the time;
        // landing inside a group gives pictures patched from missing references.
        if (NextFrame() == UMBREL_OK && m_frame->key_frame && m_frameUs <= timeUs + halfStep) {
            m_peeked = true;
            break;
        }
        av_frame_unref(m_frame.get());
        backoffUs = backoffUs == 0 ? 1000000 : backoffUs * 2;
    }
    // Time stamps of a picture may be off by a rounding step; half a picture's
    // time keeps the wanted picture itself from being passed over.
    m_skipBeforeUs = timeUs - halfStep;
    return UMBREL_OK;
}

bool PictureSource::SeekNear(int64_t timeUs) {
    const int64_t origin = m_originUs == INT64_MIN ? 0 : m_originUs;
    const bool sought = timeUs >= 0 && !m_elementary &&
                        av_seek_frame(m_format.get(), m_videoStream,
                                      av_rescale_q(timeUs + origin, kMicroseconds, m_timeBase),
                                      AVSEEK_FLAG_BACKWARD) >= 0;
    if (!sought) {
        // The start: byte 0 where the container allows it (a time search in a
        // stream without an index can land well past it), else the first time.
        const int64_t first = m_format->streams[m_videoStream]->start_time;
        if (av_seek_frame(m_format.get(), -1, 0, AVSEEK_FLAG_BYTE) < 0 &&
            av_seek_frame(m_format.get(), m_videoStream, first == AV_NOPTS_VALUE ? 0 : first,
                          AVSEEK_FLAG_BACKWARD) < 0) {
            return false;
        }
        m_count = 0;
        m_lastUs = INT64_MIN;
    }
    avcodec_flush_buffers(m_video.get());
    m_sound.Reset();
    m_draining = false;
    m_peeked = false;
    av_frame_unref(m_frame.get());
    av_frame_unref(m_held.get());
    return true;
}

int PictureSource::NextFrame() {
    if (m_peeked) {
        m_peeked = false;
        return UMBREL_OK;
    }
    for (;;) {
        const int received = avcodec_receive_frame(m_video.get(), m_frame.get());
        if (received == 0) {
            m_frameUs = PictureTimeUs(m_frame.get());
            return UMBREL_OK;
        }
        if (received == AVERROR_EOF) return UMBREL_END;
        if (received != AVERROR(EAGAIN)) return UMBREL_ERR_DECODE;
        const int sent = SendNextPacket();
        if (sent != UMBREL_OK) return sent;
    }
}

int PictureSource::SendNextPacket() {
    if (m_draining) return UMBREL_END;
    for (;;) {
        const int read = av_read_frame(m_format.get(), m_packet.get());
        if (read == AVERROR_EOF || (read < 0 && avio_feof(m_format->pb))) {
            m_draining = true;
            m_sound.Drain(m_originUs == INT64_MIN ? 0 : m_originUs);
            avcodec_send_packet(m_video.get(), nullptr);
            return UMBREL_OK;
        }
        if (read < 0) return UMBREL_ERR_READ;
        if (m_packet->stream_index == m_soundStream) {
            m_sound.Decode(m_packet.get(), m_originUs == INT64_MIN ? 0 : m_originUs);
            av_packet_unref(m_packet.get());
            continue;
        }
        if (m_packet->stream_index != m_videoStream) {
            av_packet_unref(m_packet.get());
            continue;
        }
        const int sent = avcodec_send_packet(m_video.get(), m_packet.get());
        av_packet_unref(m_packet.get());
        // Damaged data costs the pictures it carried; decoding goes on after it.
        if (sent < 0 && sent != AVERROR_INVALIDDATA && sent != AVERROR(EAGAIN)) {
            return UMBREL_ERR_DECODE;
        }
        return UMBREL_OK;
    }
}

int64_t PictureSource::FrameStepUs() const {
    return av_rescale(1000000, m_info.rateDen, m_info.rateNum);
}

int64_t PictureSource::PictureTimeUs(const AVFrame* frame) {
    int64_t us = 0;
    if (m_elementary) {
        us = av_rescale(m_count * 1000000, m_info.rateDen, m_info.rateNum);
    } else if (frame->best_effort_timestamp != AV_NOPTS_VALUE) {
        const int64_t stamped =
            av_rescale_q(frame->best_effort_timestamp, m_timeBase, kMicroseconds);
        if (m_originUs == INT64_MIN) m_originUs = stamped;
        us = stamped - m_originUs;
    } else {
        us = m_lastUs == INT64_MIN ? 0 : m_lastUs + FrameStepUs();
    }
    ++m_count;
    m_lastUs = us;
    return us;
}

int PictureSource::Scale(const AVFrame* frame, const UmbrelPicture& picture) {
    const AVPixelFormat target =
        picture.pixel == UMBREL_PIXEL_BGRA ? AV_PIX_FMT_BGRA : AV_PIX_FMT_YUV420P;
    m_sws.reset(sws_getCachedContext(
        m_sws.release(), frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
        picture.width, picture.height, target, SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!m_sws) return UMBREL_ERR_DECODE;
    uint8_t* const planes[4] = {picture.planes[0], picture.planes[1], picture.planes[2], nullptr};
    const int strides[4] = {picture.strides[0], picture.strides[1], picture.strides[2], 0};
    const int rows =
        sws_scale(m_sws.get(), frame->data, frame->linesize, 0, frame->height, planes, strides);
    return rows == picture.height ? UMBREL_OK : UMBREL_ERR_DECODE;
}

}  // namespace umbrel
