#include "picture_encoder.h"

#include <cstring>

namespace vidmux {

namespace {

constexpr int kBmpHeaderBytes = 54;
constexpr int kJpegQuality = 3;  // MJPEG quantiser scale: 2 best .. 31 worst

void PutLe32(uint8_t* p, uint32_t v) {
    p[0] = v & 0xFF;
    p[1] = (v >> 8) & 0xFF;
    p[2] = (v >> 16) & 0xFF;
    p[3] = (v >> 24) & 0xFF;
}

void PutLe16(uint8_t* p, uint16_t v) {
    p[0] = v & 0xFF;
    p[1] = (v >> 8) & 0xFF;
}

// Converts the picture to `format` at its own size into a fresh frame.
FramePtr Convert(const AVFrame* frame, AVPixelFormat format) {
    FramePtr out(av_frame_alloc());
    if (!out) return nullptr;
    out->format = format;
    out->width = frame->width;
    out->height = frame->height;
    if (av_frame_get_buffer(out.get(), 0) < 0) return nullptr;
    SwsPtr scaler(sws_getContext(frame->width, frame->height,
                                 static_cast<AVPixelFormat>(frame->format), frame->width,
                                 frame->height, format, SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!scaler) return nullptr;
    if (sws_scale(scaler.get(), frame->data, frame->linesize, 0, frame->height, out->data,
                  out->linesize) <= 0) {
        return nullptr;
    }
    return out;
}

}  // namespace

std::vector<uint8_t> EncodeBmp(const AVFrame* frame) {
    if (!frame || frame->width <= 0 || frame->height <= 0) return {};
    FramePtr bgr = Convert(frame, AV_PIX_FMT_BGR24);
    if (!bgr) return {};
    const int rowBytes = (frame->width * 3 + 3) & ~3;
    const uint32_t imageBytes = static_cast<uint32_t>(rowBytes) * frame->height;
    std::vector<uint8_t> bmp(kBmpHeaderBytes + imageBytes, 0);
    uint8_t* h = bmp.data();
    h[0] = 'B';
    h[1] = 'M';
    PutLe32(h + 2, static_cast<uint32_t>(bmp.size()));
    PutLe32(h + 10, kBmpHeaderBytes);
    PutLe32(h + 14, 40);
    PutLe32(h + 18, static_cast<uint32_t>(frame->width));
    PutLe32(h + 22, static_cast<uint32_t>(frame->height));  // positive: rows bottom-up
    PutLe16(h + 26, 1);
    PutLe16(h + 28, 24);
    PutLe32(h + 34, imageBytes);
    PutLe32(h + 38, 2835);  // 72 dpi
    PutLe32(h + 42, 2835);
    for (int y = 0; y < frame->height; ++y) {
        const uint8_t* src =
            bgr->data[0] + static_cast<ptrdiff_t>(frame->height - 1 - y) * bgr->linesize[0];
        std::memcpy(h + kBmpHeaderBytes + static_cast<size_t>(y) * rowBytes, src,
                    static_cast<size_t>(frame->width) * 3);
    }
    return bmp;
}

std::vector<uint8_t> EncodeJpeg(const AVFrame* frame) {
    if (!frame || frame->width <= 0 || frame->height <= 0) return {};
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
    if (!codec) return {};
    FramePtr yuv = Convert(frame, AV_PIX_FMT_YUVJ420P);
    if (!yuv) return {};
    CodecPtr ctx(avcodec_alloc_context3(codec));
    if (!ctx) return {};
    ctx->width = frame->width;
    ctx->height = frame->height;
    ctx->pix_fmt = AV_PIX_FMT_YUVJ420P;
    ctx->time_base = AVRational{1, 25};
    ctx->flags |= AV_CODEC_FLAG_QSCALE;
    ctx->global_quality = FF_QP2LAMBDA * kJpegQuality;
    if (avcodec_open2(ctx.get(), codec, nullptr) < 0) return {};
    yuv->quality = ctx->global_quality;
    yuv->pts = 0;
    if (avcodec_send_frame(ctx.get(), yuv.get()) < 0) return {};
    PacketPtr packet(av_packet_alloc());
    if (!packet || avcodec_receive_packet(ctx.get(), packet.get()) < 0) return {};
    return std::vector<uint8_t>(packet->data, packet->data + packet->size);
}

}  // namespace vidmux
