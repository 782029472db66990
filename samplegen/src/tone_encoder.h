#pragma once

#include <cstdint>
#include <string>

#include "ffmpeg_ptr.h"
#include "video_encoder.h"

namespace samplegen {

// A quiet 440 Hz sine tone, mono, encoded with MP2 or AAC. Samples are
// counted from the first picture so the tone lasts as long as the video.
class ToneEncoder {
public:
    static constexpr int kSampleRate = 48000;
    static constexpr int kChannels = 1;
    static constexpr int kBitRate = 64000;

    // `encoderName` is "mp2" or "aac".
    bool Open(const char* encoderName, bool globalHeader, std::string* error);

    // Encodes the tone up to sample `end` (exclusive); a partial last frame
    // waits for the next call unless `final` is set.
    bool EncodeUntil(int64_t end, bool final, const VideoEncoder::PacketSink& sink,
                     std::string* error);

    bool Flush(const VideoEncoder::PacketSink& sink, std::string* error);

    const AVCodecContext* Context() const { return m_codec.get(); }

private:
    // `samples` long, of which the first `toneSamples` carry the tone.
    bool SendFrame(int samples, int toneSamples, const VideoEncoder::PacketSink& sink,
                   std::string* error);
    bool Drain(const VideoEncoder::PacketSink& sink, std::string* error);

    CodecPtr m_codec;
    FramePtr m_frame;
    PacketPtr m_packet;
    int64_t m_next = 0;  // next sample to encode
    bool m_smallLastFrame = false;
};

}  // namespace samplegen
