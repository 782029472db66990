#pragma once

#include <functional>

#include "ffmpeg_handles/ffmpeg_handles.h"

extern "C" {
#include <libavcodec/bsf.h>
}

namespace kelsa {

// One bitstream filter between a demuxed stream and the output: turns
// length-prefixed H.264/H.265 into start-code form (what raw streams carry, so
// files of both kinds join into one track) and ADTS AAC into raw AAC; passes
// anything else through unchanged.
class PacketFilter {
public:
    PacketFilter() = default;
    ~PacketFilter();
    PacketFilter(const PacketFilter&) = delete;
    PacketFilter& operator=(const PacketFilter&) = delete;

    // False when the filter cannot be set up.
    bool Open(const AVCodecParameters* input, AVRational timeBase);
    // The stream's parameters as they leave the filter.
    const AVCodecParameters* Output() const { return m_pContext->par_out; }

    using Sink = std::function<bool(AVPacket* packet)>;
    // Sends `packet` (null: end of stream) and hands every filtered packet to
    // `sink`. False when the filter fails or the sink refuses.
    bool Filter(AVPacket* packet, const Sink& sink);

private:
    AVBSFContext* m_pContext = nullptr;
    ffhandles::PacketPtr m_pOut{av_packet_alloc()};
};

}  // namespace kelsa
