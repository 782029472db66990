#pragma once

#include <functional>
#include <string>

#include "encoder_drain.h"
#include "ffmpeg_ptr.h"
#include "samplegen/samplegen.h"

namespace samplegen {

// libx264 through libavcodec with everything that could vary between runs
// pinned down: one thread, fixed preset and rate control, a key frame (IDR,
// closed group) exactly every `gop` pictures and a fixed B-frame pattern.
class VideoEncoder {
public:
    using PacketSink = samplegen::PacketSink;

    // `globalHeader`: SPS/PPS go to extradata (MP4) instead of every key frame.
    bool Open(const SampleParams& params, bool globalHeader, std::string* error);

    // Encodes picture `index` (its pts); packets in decode order go to `sink`.
    bool Encode(AVFrame* frame, int index, const PacketSink& sink, std::string* error);

    // Drains the delayed packets.
    bool Flush(const PacketSink& sink, std::string* error);

    const AVCodecContext* Context() const { return m_codec.get(); }

private:
    bool Drain(const PacketSink& sink, std::string* error);

    CodecPtr m_codec;
    PacketPtr m_packet;
    int m_gop = 1;
};

}  // namespace samplegen
