#include "encoder_drain.h"

namespace samplegen {

bool DrainEncoder(AVCodecContext* codec, AVPacket* packet, const PacketSink& sink,
                  const char* failure, std::string* error) {
    for (;;) {
        const int got = avcodec_receive_packet(codec, packet);
        if (got == AVERROR(EAGAIN) || got == AVERROR_EOF) return true;
        if (got < 0) {
            *error = AvErrorText(failure, got);
            return false;
        }
        const bool ok = sink(packet, error);
        av_packet_unref(packet);
        if (!ok) return false;
    }
}

bool FlushEncoder(AVCodecContext* codec, AVPacket* packet, const PacketSink& sink,
                  const char* failure, std::string* error) {
    const int sent = avcodec_send_frame(codec, nullptr);
    if (sent < 0) {
        *error = AvErrorText(failure, sent);
        return false;
    }
    return DrainEncoder(codec, packet, sink, failure, error);
}

}  // namespace samplegen
