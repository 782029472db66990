#include "tone_encoder.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace samplegen {

namespace {

constexpr double kToneHz = 440.0;
constexpr double kAmplitude = 0.1;  // -20 dBFS: audible but quiet

double ToneSample(int64_t index) {
    return kAmplitude * std::sin(2.0 * std::numbers::pi * kToneHz * static_cast<double>(index) /
                                 ToneEncoder::kSampleRate);
}

}  // namespace

bool ToneEncoder::Open(const char* encoderName, bool globalHeader, std::string* error) {
    const AVCodec* codec = avcodec_find_encoder_by_name(encoderName);
    if (!codec) {
        *error = std::string("this FFmpeg has no ") + encoderName + " encoder";
        return false;
    }
    m_codec.reset(avcodec_alloc_context3(codec));
    m_frame.reset(av_frame_alloc());
    m_packet.reset(av_packet_alloc());
    if (!m_codec || !m_frame || !m_packet) {
        *error = "out of memory";
        return false;
    }
    AVCodecContext* c = m_codec.get();
    c->sample_fmt = codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
    c->sample_rate = kSampleRate;
    av_channel_layout_default(&c->ch_layout, kChannels);
    c->bit_rate = kBitRate;
    c->time_base = AVRational{1, kSampleRate};
    c->thread_count = 1;
    c->flags |= AV_CODEC_FLAG_BITEXACT;
    if (globalHeader) c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    const int opened = avcodec_open2(c, codec, nullptr);
    if (opened < 0) {
        *error = AvErrorText("cannot open the audio encoder", opened);
        return false;
    }
    if (c->sample_fmt != AV_SAMPLE_FMT_S16 && c->sample_fmt != AV_SAMPLE_FMT_FLTP) {
        *error = "unexpected audio sample format";
        return false;
    }
    m_smallLastFrame = codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME;
    return true;
}

bool ToneEncoder::EncodeUntil(int64_t end, bool final, const VideoEncoder::PacketSink& sink,
                              std::string* error) {
    const int frameSize = m_codec->frame_size;
    while (m_next + frameSize <= end) {
        if (!SendFrame(frameSize, frameSize, sink, error)) return false;
    }
    if (final && m_next < end) {
        // Encoders without short last frames get the tail padded with silence.
        const int tail = static_cast<int>(end - m_next);
        if (!SendFrame(m_smallLastFrame ? tail : frameSize, tail, sink, error)) return false;
    }
    return true;
}

bool ToneEncoder::SendFrame(int samples, int toneSamples, const VideoEncoder::PacketSink& sink,
                            std::string* error) {
    AVFrame* f = m_frame.get();
    av_frame_unref(f);
    f->format = m_codec->sample_fmt;
    f->sample_rate = kSampleRate;
    f->nb_samples = samples;
    if (av_channel_layout_copy(&f->ch_layout, &m_codec->ch_layout) < 0 ||
        av_frame_get_buffer(f, 0) < 0) {
        *error = "out of memory";
        return false;
    }
    for (int ch = 0; ch < kChannels; ++ch) {
        for (int i = 0; i < samples; ++i) {
            const double value = i < toneSamples ? ToneSample(m_next + i) : 0.0;
            if (m_codec->sample_fmt == AV_SAMPLE_FMT_FLTP) {
                reinterpret_cast<float*>(f->data[ch])[i] = static_cast<float>(value);
            } else {
                reinterpret_cast<int16_t*>(f->data[0])[i * kChannels + ch] =
                    static_cast<int16_t>(std::lround(value * 32767.0));
            }
        }
    }
    f->pts = m_next;
    m_next += samples;
    const int sent = avcodec_send_frame(m_codec.get(), f);
    if (sent < 0) {
        *error = AvErrorText("audio encoding failed", sent);
        return false;
    }
    return Drain(sink, error);
}

bool ToneEncoder::Flush(const VideoEncoder::PacketSink& sink, std::string* error) {
    return FlushEncoder(m_codec.get(), m_packet.get(), sink, "audio encoding failed", error);
}

bool ToneEncoder::Drain(const VideoEncoder::PacketSink& sink, std::string* error) {
    return DrainEncoder(m_codec.get(), m_packet.get(), sink, "audio encoding failed", error);
}

}  // namespace samplegen
