#include "video_encoder.h"

namespace samplegen {

bool VideoEncoder::Open(const SampleParams& params, bool globalHeader, std::string* error) {
    const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
    if (!codec) {
        *error = "this FFmpeg has no libx264 encoder";
        return false;
    }
    m_codec.reset(avcodec_alloc_context3(codec));
    m_packet.reset(av_packet_alloc());
    if (!m_codec || !m_packet) {
        *error = "out of memory";
        return false;
    }
    AVCodecContext* c = m_codec.get();
    c->width = params.width;
    c->height = params.height;
    c->pix_fmt = AV_PIX_FMT_YUV420P;
    c->time_base = AVRational{params.fpsDen, params.fpsNum};
    c->framerate = AVRational{params.fpsNum, params.fpsDen};
    c->sample_aspect_ratio = AVRational{1, 1};
    c->gop_size = params.gop;
    c->keyint_min = params.gop;
    c->max_b_frames = params.bFrames ? 2 : 0;
    c->thread_count = 1;
    if (globalHeader) c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    m_gop = params.gop;

    // "ultrafast" keeps large benchmark files quick to write; CABAC and the
    // loop filter put back the decoding work that real camera streams cost.
    // With the fixed B-frame decision (b-adapt=0) every group has the same
    // frame pattern; log=1 leaves only x264's warnings and errors.
    AVDictionary* options = nullptr;
    av_dict_set(&options, "preset", "ultrafast", 0);
    av_dict_set(&options, "threads", "1", 0);
    av_dict_set(&options, "forced-idr", "1", 0);
    av_dict_set(&options, "x264-params",
                "threads=1:sliced-threads=0:scenecut=0:open-gop=0:b-adapt=0:b-pyramid=none:"
                "cabac=1:deblock=1:log=1",
                0);
    const int opened = avcodec_open2(c, codec, &options);
    av_dict_free(&options);
    if (opened < 0) {
        *error = AvErrorText("cannot open the libx264 encoder", opened);
        return false;
    }
    return true;
}

bool VideoEncoder::Encode(AVFrame* frame, int index, const PacketSink& sink, std::string* error) {
    frame->pts = index;
    // Forcing the type keeps key frames on exact multiples of the group
    // length whatever the encoder's own placement would be.
    frame->pict_type = index % m_gop == 0 ? AV_PICTURE_TYPE_I : AV_PICTURE_TYPE_NONE;
    const int sent = avcodec_send_frame(m_codec.get(), frame);
    if (sent < 0) {
        *error = AvErrorText("video encoding failed", sent);
        return false;
    }
    return Drain(sink, error);
}

bool VideoEncoder::Flush(const PacketSink& sink, std::string* error) {
    return FlushEncoder(m_codec.get(), m_packet.get(), sink, "video encoding failed", error);
}

bool VideoEncoder::Drain(const PacketSink& sink, std::string* error) {
    return DrainEncoder(m_codec.get(), m_packet.get(), sink, "video encoding failed", error);
}

}  // namespace samplegen
