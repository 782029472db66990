#include "avi_writer.h"

#include <algorithm>
#include <cstring>

namespace trovan {

namespace {

// PCM has no frames of its own; this many sample frames go into each packet.
constexpr int kPcmFrameSize = 1024;

int ClosestSupportedRate(const AVCodec* codec, int rate) {
    if (codec->supported_samplerates == nullptr) return rate;
    int best = 0;
    for (const int* candidate = codec->supported_samplerates; *candidate != 0; ++candidate) {
        if (best == 0 || std::abs(*candidate - rate) < std::abs(best - rate)) best = *candidate;
    }
    return best;
}

bool Supports(const AVCodec* codec, AVSampleFormat format) {
    if (codec->sample_fmts == nullptr) return false;
    for (const AVSampleFormat* f = codec->sample_fmts; *f != AV_SAMPLE_FMT_NONE; ++f) {
        if (*f == format) return true;
    }
    return false;
}

}  // namespace

AviWriter::~AviWriter() {
    if (m_format) {
        avio_closep(&m_format->pb);
        avformat_free_context(m_format);
    }
}

bool AviWriter::Open(const std::string& path, const ConversionSettings& settings, int soundRate) {
    if (avformat_alloc_output_context2(&m_format, nullptr, "avi", path.c_str()) < 0) return false;
    m_packet.reset(av_packet_alloc());
    if (!m_packet || !OpenVideo(settings)) return false;
    if (soundRate > 0 && settings.audioCodec != TROVAN_AUDIO_NONE &&
        !OpenSound(settings, soundRate)) {
        return false;
    }
    if (avio_open(&m_format->pb, path.c_str(), AVIO_FLAG_WRITE) < 0) return false;
    if (avformat_write_header(m_format, nullptr) < 0) return false;
    m_headerWritten = true;
    return true;
}

bool AviWriter::OpenVideo(const ConversionSettings& settings) {
    const AVCodec* encoder = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
    if (!encoder) return false;
    m_video.reset(avcodec_alloc_context3(encoder));
    if (!m_video) return false;
    AVCodecContext* codec = m_video.get();
    codec->width = settings.width;
    codec->height = settings.height;
    codec->pix_fmt = AV_PIX_FMT_YUV420P;
    codec->time_base = AVRational{1, settings.frameRate};
    codec->framerate = AVRational{settings.frameRate, 1};
    codec->sample_aspect_ratio = AVRational{1, 1};
    codec->bit_rate = settings.videoBitRate;
    codec->thread_count = 0;  // as many as the machine has
    if (m_format->oformat->flags & AVFMT_GLOBALHEADER) codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (avcodec_open2(codec, encoder, nullptr) < 0) return false;
    m_videoStream = avformat_new_stream(m_format, nullptr);
    if (!m_videoStream || avcodec_parameters_from_context(m_videoStream->codecpar, codec) < 0) {
        return false;
    }
    m_videoStream->time_base = codec->time_base;
    m_videoStream->avg_frame_rate = codec->framerate;
    m_videoStream->sample_aspect_ratio = codec->sample_aspect_ratio;
    return true;
}

bool AviWriter::OpenSound(const ConversionSettings& settings, int soundRate) {
    const AVCodec* encoder =
        settings.audioCodec == TROVAN_AUDIO_MP3 ? avcodec_find_encoder(AV_CODEC_ID_MP3) : nullptr;
    AVSampleFormat format = AV_SAMPLE_FMT_S16;
    if (encoder && Supports(encoder, AV_SAMPLE_FMT_S16P)) {
        format = AV_SAMPLE_FMT_S16P;
    } else if (encoder && Supports(encoder, AV_SAMPLE_FMT_FLTP)) {
        format = AV_SAMPLE_FMT_FLTP;
    } else {
        // No MP3 encoder in this FFmpeg (or one taking none of our layouts).
        encoder = avcodec_find_encoder(AV_CODEC_ID_PCM_S16LE);
        format = AV_SAMPLE_FMT_S16;
    }
    if (!encoder) return false;
    m_sound.reset(avcodec_alloc_context3(encoder));
    if (!m_sound) return false;
    AVCodecContext* codec = m_sound.get();
    codec->sample_fmt = format;
    codec->sample_rate = ClosestSupportedRate(encoder, soundRate);
    av_channel_layout_default(&codec->ch_layout, settings.audioChannels);
    codec->time_base = AVRational{1, codec->sample_rate};
    if (encoder->id == AV_CODEC_ID_MP3) codec->bit_rate = settings.audioBitRate;
    if (m_format->oformat->flags & AVFMT_GLOBALHEADER) codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (avcodec_open2(codec, encoder, nullptr) < 0) return false;
    m_soundStream = avformat_new_stream(m_format, nullptr);
    if (!m_soundStream || avcodec_parameters_from_context(m_soundStream->codecpar, codec) < 0) {
        return false;
    }
    m_soundStream->time_base = codec->time_base;
    m_soundFrameSize = codec->frame_size > 0 ? codec->frame_size : kPcmFrameSize;
    m_soundFrame.reset(av_frame_alloc());
    return m_soundFrame != nullptr;
}

int AviWriter::SoundRate() const { return m_sound ? m_sound->sample_rate : 0; }

int AviWriter::SoundChannels() const { return m_sound ? m_sound->ch_layout.nb_channels : 0; }

ffhandles::FramePtr AviWriter::NewPicture() const {
    ffhandles::FramePtr picture(av_frame_alloc());
    if (!picture) return nullptr;
    picture->format = AV_PIX_FMT_YUV420P;
    picture->width = m_video->width;
    picture->height = m_video->height;
    picture->sample_aspect_ratio = AVRational{1, 1};
    if (av_frame_get_buffer(picture.get(), 0) < 0) return nullptr;
    for (int plane = 0; plane < 3; ++plane) {
        const int rows = plane == 0 ? picture->height : picture->height / 2;
        std::memset(picture->data[plane], plane == 0 ? 16 : 128,
                    static_cast<size_t>(picture->linesize[plane]) * rows);
    }
    return picture;
}

bool AviWriter::WritePicture(AVFrame* picture, int64_t index) {
    picture->pts = index;
    return Send(m_video.get(), m_videoStream, picture);
}

bool AviWriter::WriteSound(const int16_t* samples, int64_t frames) {
    if (!m_sound) return true;
    const int channels = SoundChannels();
    m_pendingSound.insert(m_pendingSound.end(), samples, samples + frames * channels);
    const size_t frameSamples = static_cast<size_t>(m_soundFrameSize) * channels;
    while (m_pendingSound.size() >= frameSamples) {
        // EncodeSoundFrame reads from the front.
        if (!EncodeSoundFrame(m_soundFrameSize)) return false;
        m_pendingSound.erase(m_pendingSound.begin(), m_pendingSound.begin() + frameSamples);
    }
    return true;
}

bool AviWriter::WriteSilence(int64_t frames) {
    if (!m_sound) return true;
    const std::vector<int16_t> silence(static_cast<size_t>(kPcmFrameSize) * SoundChannels(), 0);
    for (int64_t left = frames; left > 0; left -= kPcmFrameSize) {
        if (!WriteSound(silence.data(), std::min<int64_t>(left, kPcmFrameSize))) return false;
    }
    return true;
}

bool AviWriter::EncodeSoundFrame(int frames) {
    AVFrame* frame = m_soundFrame.get();
    av_frame_unref(frame);
    frame->format = m_sound->sample_fmt;
    frame->nb_samples = frames;
    frame->sample_rate = m_sound->sample_rate;
    if (av_channel_layout_copy(&frame->ch_layout, &m_sound->ch_layout) < 0 ||
        av_frame_get_buffer(frame, 0) < 0) {
        return false;
    }
    const int channels = SoundChannels();
    const int16_t* in = m_pendingSound.data();
    switch (m_sound->sample_fmt) {
        case AV_SAMPLE_FMT_S16:
            std::memcpy(frame->data[0], in,
                        static_cast<size_t>(frames) * channels * sizeof(int16_t));
            break;
        case AV_SAMPLE_FMT_S16P:
            for (int c = 0; c < channels; ++c) {
                auto* out = reinterpret_cast<int16_t*>(frame->extended_data[c]);
                for (int i = 0; i < frames; ++i) out[i] = in[i * channels + c];
            }
            break;
        default:  // AV_SAMPLE_FMT_FLTP
            for (int c = 0; c < channels; ++c) {
                auto* out = reinterpret_cast<float*>(frame->extended_data[c]);
                for (int i = 0; i < frames; ++i) out[i] = in[i * channels + c] / 32768.0f;
            }
            break;
    }
    frame->pts = m_soundPts;
    m_soundPts += frames;
    return Send(m_sound.get(), m_soundStream, frame);
}

bool AviWriter::Send(AVCodecContext* codec, AVStream* stream, const AVFrame* frame) {
    if (m_failed) return false;
    if (avcodec_send_frame(codec, frame) < 0) {
        m_failed = true;
        return false;
    }
    for (;;) {
        const int received = avcodec_receive_packet(codec, m_packet.get());
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) return true;
        if (received < 0) break;
        av_packet_rescale_ts(m_packet.get(), codec->time_base, stream->time_base);
        m_packet->stream_index = stream->index;
        if (av_interleaved_write_frame(m_format, m_packet.get()) < 0) break;
    }
    m_failed = true;
    return false;
}

bool AviWriter::Finish() {
    if (!m_headerWritten || m_failed) return false;
    bool written = Send(m_video.get(), m_videoStream, nullptr);
    if (written && m_sound) {
        const int channels = SoundChannels();
        const int left = static_cast<int>(m_pendingSound.size() / channels);
        if (left > 0) {
            // Encoders that take only whole frames get the last one filled up with silence.
            const bool smallLast = m_sound->codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME ||
                                   m_sound->frame_size == 0;
            if (!smallLast)
                m_pendingSound.resize(static_cast<size_t>(m_soundFrameSize) * channels, 0);
            written = EncodeSoundFrame(smallLast ? left : m_soundFrameSize);
            m_pendingSound.clear();
        }
        written = written && Send(m_sound.get(), m_soundStream, nullptr);
    }
    written = written && av_write_trailer(m_format) == 0;
    written = written && m_format->pb->error == 0;
    return avio_closep(&m_format->pb) == 0 && written;
}

}  // namespace trovan
