#include "packet_filter.h"

namespace kelsa {

namespace {

bool LengthPrefixed(const AVCodecParameters* par) {
    // avcC / hvcC configuration records start with version 1; start codes with 0.
    return par->extradata_size > 0 && par->extradata[0] == 1;
}

const char* FilterFor(const AVCodecParameters* par) {
    switch (par->codec_id) {
        case AV_CODEC_ID_H264:
            return LengthPrefixed(par) ? "h264_mp4toannexb" : "null";
        case AV_CODEC_ID_HEVC:
            return LengthPrefixed(par) ? "hevc_mp4toannexb" : "null";
        case AV_CODEC_ID_AAC:
            // Without a configuration record the packets carry ADTS headers.
            return par->extradata_size == 0 ? "aac_adtstoasc" : "null";
        default:
            return "null";
    }
}

}  // namespace

PacketFilter::~PacketFilter() { av_bsf_free(&m_pContext); }

bool PacketFilter::Open(const AVCodecParameters* input, AVRational timeBase) {
    const AVBitStreamFilter* filter = av_bsf_get_by_name(FilterFor(input));
    if (filter == nullptr || m_pOut == nullptr) return false;
    if (av_bsf_alloc(filter, &m_pContext) < 0) return false;
    if (avcodec_parameters_copy(m_pContext->par_in, input) < 0) return false;
    m_pContext->time_base_in = timeBase;
    return av_bsf_init(m_pContext) >= 0;
}

bool PacketFilter::Filter(AVPacket* packet, const Sink& sink) {
    if (av_bsf_send_packet(m_pContext, packet) < 0) return false;
    for (;;) {
        const int nReceived = av_bsf_receive_packet(m_pContext, m_pOut.get());
        if (nReceived == AVERROR(EAGAIN) || nReceived == AVERROR_EOF) return true;
        if (nReceived < 0) return false;
        const bool bTaken = sink(m_pOut.get());
        av_packet_unref(m_pOut.get());
        if (!bTaken) return false;
    }
}

}  // namespace kelsa
