#include "sound_collector.h"

#include <algorithm>
#include <cstring>

namespace umbrel {

bool SoundCollector::Open(const AVStream* stream) {
    const AVCodec* decoder = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!decoder) return false;
    ffhandles::CodecPtr codec(avcodec_alloc_context3(decoder));
    m_frame.reset(av_frame_alloc());
    if (!codec || !m_frame || avcodec_parameters_to_context(codec.get(), stream->codecpar) < 0) {
        return false;
    }
    codec->pkt_timebase = stream->time_base;
    if (avcodec_open2(codec.get(), decoder, nullptr) < 0) return false;
    m_codec = std::move(codec);
    m_stream = stream;
    return true;
}

bool SoundCollector::SetOutput(int rate, int channels) {
    if (rate < 8000 || rate > 192000 || (channels != 1 && channels != 2)) return false;
    m_rate = rate;
    m_channels = channels;
    m_swr.reset();
    return true;
}

void SoundCollector::Decode(const AVPacket* packet, int64_t originUs) {
    if (!m_codec || !Collecting()) return;
    // A damaged sound packet costs that packet only.
    if (avcodec_send_packet(m_codec.get(), packet) < 0) return;
    Receive(originUs);
}

void SoundCollector::Drain(int64_t originUs) {
    if (!m_codec || !Collecting()) return;
    if (avcodec_send_packet(m_codec.get(), nullptr) < 0) return;
    Receive(originUs);
}

void SoundCollector::Reset() {
    m_blocks.clear();
    m_nextUs = INT64_MIN;
    if (m_codec) avcodec_flush_buffers(m_codec.get());
    if (m_swr) swr_init(m_swr.get());
}

void SoundCollector::DropBefore(int64_t timeUs) {
    while (!m_blocks.empty()) {
        Block& block = m_blocks.front();
        const size_t frames = block.samples.size() / m_channels;
        const int64_t endUs =
            block.timeUs + static_cast<int64_t>(frames - block.offset) * 1000000 / m_rate;
        if (endUs > timeUs) return;
        m_blocks.pop_front();
    }
}

int SoundCollector::Read(int16_t* samples, int maxFrames, int64_t* timeUs) {
    int copied = 0;
    while (copied < maxFrames && !m_blocks.empty()) {
        Block& block = m_blocks.front();
        const size_t frames = block.samples.size() / m_channels;
        const size_t take = std::min<size_t>(frames - block.offset, maxFrames - copied);
        if (copied == 0 && timeUs) *timeUs = block.timeUs;
        std::memcpy(samples + static_cast<size_t>(copied) * m_channels,
                    block.samples.data() + block.offset * m_channels,
                    take * m_channels * sizeof(int16_t));
        copied += static_cast<int>(take);
        block.offset += take;
        block.timeUs += static_cast<int64_t>(take) * 1000000 / m_rate;
        if (block.offset == frames) m_blocks.pop_front();
        // Blocks apart in time are read separately, so every read has one time.
        if (!m_blocks.empty() && copied > 0 && m_blocks.front().offset == 0) break;
    }
    return copied;
}

void SoundCollector::Receive(int64_t originUs) {
    while (avcodec_receive_frame(m_codec.get(), m_frame.get()) == 0) {
        Append(m_frame.get(), originUs);
        av_frame_unref(m_frame.get());
    }
}

int64_t SoundCollector::FrameTimeUs(const AVFrame* frame, int64_t originUs) {
    const int64_t pts = frame->best_effort_timestamp;
    if (pts == AV_NOPTS_VALUE) return m_nextUs == INT64_MIN ? 0 : m_nextUs;
    return av_rescale_q(pts, m_stream->time_base, AVRational{1, 1000000}) - originUs;
}

void SoundCollector::Append(const AVFrame* frame, int64_t originUs) {
    if (frame->nb_samples <= 0 || frame->sample_rate <= 0) return;
    const bool sameInput = m_swr && m_swrInRate == frame->sample_rate &&
                           m_swrInFormat == frame->format &&
                           av_channel_layout_compare(&m_swrInLayout, &frame->ch_layout) == 0;
    if (!sameInput) {
        AVChannelLayout outLayout{};
        av_channel_layout_default(&outLayout, m_channels);
        SwrContext* swr = nullptr;
        const bool made = swr_alloc_set_opts2(&swr, &outLayout, AV_SAMPLE_FMT_S16, m_rate,
                                              const_cast<AVChannelLayout*>(&frame->ch_layout),
                                              static_cast<AVSampleFormat>(frame->format),
                                              frame->sample_rate, 0, nullptr) == 0 &&
                          swr_init(swr) == 0;
        m_swr.reset(swr);
        if (!made) {
            m_swr.reset();
            return;
        }
        m_swrInRate = frame->sample_rate;
        m_swrInFormat = frame->format;
        av_channel_layout_uninit(&m_swrInLayout);
        av_channel_layout_copy(&m_swrInLayout, &frame->ch_layout);
    }
    const int capacity = swr_get_out_samples(m_swr.get(), frame->nb_samples);
    if (capacity <= 0) return;
    Block block;
    block.samples.resize(static_cast<size_t>(capacity) * m_channels);
    uint8_t* out = reinterpret_cast<uint8_t*>(block.samples.data());
    const int converted =
        swr_convert(m_swr.get(), &out, capacity, const_cast<const uint8_t**>(frame->extended_data),
                    frame->nb_samples);
    if (converted <= 0) return;
    block.samples.resize(static_cast<size_t>(converted) * m_channels);
    // The resampler's delay shifts its output slightly late; a few
    // milliseconds are below what anyone hears against a picture.
    block.timeUs = FrameTimeUs(frame, originUs);
    m_nextUs = block.timeUs + static_cast<int64_t>(converted) * 1000000 / m_rate;
    m_blocks.push_back(std::move(block));
}

}  // namespace umbrel
