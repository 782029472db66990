#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "ffmpeg_handles/ffmpeg_handles.h"

namespace umbrel {

// Decodes one sound stream and keeps what it decoded as interleaved 16-bit
// samples at the rate and channel count the caller asked for, each block with
// the time of its first sample, until the caller reads it.
class SoundCollector {
public:
    SoundCollector() = default;
    ~SoundCollector() { av_channel_layout_uninit(&m_swrInLayout); }
    SoundCollector(const SoundCollector&) = delete;
    SoundCollector& operator=(const SoundCollector&) = delete;

    // `stream` must stay open for the collector's life; false when the stream
    // has no decoder.
    bool Open(const AVStream* stream);
    bool SetOutput(int rate, int channels);
    bool Collecting() const { return m_rate > 0; }

    // `originUs` is the time of the file's first picture in stream microseconds.
    void Decode(const AVPacket* packet, int64_t originUs);
    void Drain(int64_t originUs);
    // Drops what is queued and what the decoder holds (after a seek).
    void Reset();
    // Drops queued sound that ends before `timeUs`.
    void DropBefore(int64_t timeUs);

    int Read(int16_t* samples, int maxFrames, int64_t* timeUs);

private:
    struct Block {
        int64_t timeUs = 0;
        size_t offset = 0;  // sample frames already read
        std::vector<int16_t> samples;
    };

    void Receive(int64_t originUs);
    void Append(const AVFrame* frame, int64_t originUs);
    int64_t FrameTimeUs(const AVFrame* frame, int64_t originUs);

    const AVStream* m_stream = nullptr;
    ffhandles::CodecPtr m_codec;
    ffhandles::FramePtr m_frame;
    ffhandles::SwrPtr m_swr;
    int m_swrInRate = 0;
    int m_swrInFormat = -1;
    AVChannelLayout m_swrInLayout{};
    int m_rate = 0;
    int m_channels = 0;
    int64_t m_nextUs = INT64_MIN;  // where the next block would start without a time stamp
    std::deque<Block> m_blocks;
};

}  // namespace umbrel
