#include "sample_probe.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "samplegen/samplegen.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace samplegen_test {

namespace {

struct Format {
    AVFormatContext* ctx = nullptr;
    ~Format() { avformat_close_input(&ctx); }
};
struct Codec {
    AVCodecContext* ctx = nullptr;
    ~Codec() { avcodec_free_context(&ctx); }
};
struct Frame {
    AVFrame* f = av_frame_alloc();
    ~Frame() { av_frame_free(&f); }
};
struct Packet {
    AVPacket* p = av_packet_alloc();
    ~Packet() { av_packet_free(&p); }
};

std::vector<uint8_t> ToBgra(const AVFrame* frame, int width, int height) {
    SwsContext* sws =
        sws_getContext(frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
                       width, height, AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr);
    std::vector<uint8_t> pixels(static_cast<size_t>(4) * width * height);
    uint8_t* planes[4] = {pixels.data()};
    int strides[4] = {4 * width};
    sws_scale(sws, frame->data, frame->linesize, 0, frame->height, planes, strides);
    sws_freeContext(sws);
    return pixels;
}

void NoteFrame(const AVFrame* frame, bool keepPixels, ProbedSample* out) {
    ProbedFrame f;
    f.seconds = static_cast<double>(frame->best_effort_timestamp);  // scaled by the caller
    f.key = frame->key_frame;
    f.type = av_get_picture_type_char(frame->pict_type);
    const auto full = ToBgra(frame, frame->width, frame->height);
    f.number =
        samplegen::ReadFrameNumber(full.data(), frame->width, frame->height, 4 * frame->width);
    const auto small = ToBgra(frame, 64, 48);
    f.numberSmall = samplegen::ReadFrameNumber(small.data(), 64, 48, 4 * 64);
    for (int i = 0; i < frame->nb_side_data; ++i) {
        const AVFrameSideData* sd = frame->side_data[i];
        if (sd->type == AV_FRAME_DATA_SEI_UNREGISTERED) {
            f.unregisteredSei.emplace_back(sd->data, sd->data + sd->size);
        }
    }
    if (keepPixels) f.pixels = full;
    out->frames.push_back(std::move(f));
}

bool Receive(AVCodecContext* codec, AVFrame* frame, bool keepPixels, ProbedSample* out) {
    for (;;) {
        const int got = avcodec_receive_frame(codec, frame);
        if (got == AVERROR(EAGAIN) || got == AVERROR_EOF) return true;
        if (got < 0) return false;
        NoteFrame(frame, keepPixels, out);
        av_frame_unref(frame);
    }
}

std::vector<uint8_t> EncodeStill(AVCodecID id, AVPixelFormat format, const uint8_t* bgra, int width,
                                 int height, int qscale) {
    const AVCodec* codec = avcodec_find_encoder(id);
    Codec c;
    c.ctx = avcodec_alloc_context3(codec);
    c.ctx->width = width;
    c.ctx->height = height;
    c.ctx->pix_fmt = format;
    c.ctx->time_base = {1, 25};
    if (qscale > 0) {
        c.ctx->flags |= AV_CODEC_FLAG_QSCALE;
        c.ctx->global_quality = FF_QP2LAMBDA * qscale;
    }
    if (avcodec_open2(c.ctx, codec, nullptr) < 0) return {};
    Frame frame;
    frame.f->format = format;
    frame.f->width = width;
    frame.f->height = height;
    frame.f->quality = c.ctx->global_quality;
    av_frame_get_buffer(frame.f, 0);
    SwsContext* sws = sws_getContext(width, height, AV_PIX_FMT_BGRA, width, height, format,
                                     SWS_POINT, nullptr, nullptr, nullptr);
    const uint8_t* src[4] = {bgra};
    int srcStride[4] = {4 * width};
    sws_scale(sws, src, srcStride, 0, height, frame.f->data, frame.f->linesize);
    sws_freeContext(sws);
    Packet packet;
    if (avcodec_send_frame(c.ctx, frame.f) < 0 || avcodec_receive_packet(c.ctx, packet.p) < 0) {
        return {};
    }
    return std::vector<uint8_t>(packet.p->data, packet.p->data + packet.p->size);
}

}  // namespace

bool ProbeSample(const std::string& path, bool recorder, ProbedSample* out, std::string* error,
                 bool keepPixels) {
    Format format;
    AVDictionary* options = nullptr;
    const AVInputFormat* forced = nullptr;
    if (recorder) {
        av_dict_set_int(&options, "skip_initial_bytes", 40, 0);
        forced = av_find_input_format("mpeg");
    }
    int r = avformat_open_input(&format.ctx, path.c_str(), forced, &options);
    av_dict_free(&options);
    if (r < 0 || avformat_find_stream_info(format.ctx, nullptr) < 0) {
        *error = "does not open";
        return false;
    }
    out->formatName = format.ctx->iformat->name;
    out->durationSeconds = format.ctx->duration / static_cast<double>(AV_TIME_BASE);
    const AVDictionaryEntry* tag = nullptr;
    while ((tag = av_dict_get(format.ctx->metadata, "", tag, AV_DICT_IGNORE_SUFFIX))) {
        out->tags[tag->key] = tag->value;
    }
    const int video = av_find_best_stream(format.ctx, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    const int audio = av_find_best_stream(format.ctx, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (video < 0) {
        *error = "no video stream";
        return false;
    }
    AVStream* vs = format.ctx->streams[video];
    out->width = vs->codecpar->width;
    out->height = vs->codecpar->height;
    out->fpsNum = vs->avg_frame_rate.num;
    out->fpsDen = vs->avg_frame_rate.den;
    out->hasAudio = audio >= 0;
    if (audio >= 0) {
        out->audioCodec = avcodec_get_name(format.ctx->streams[audio]->codecpar->codec_id);
    }

    const AVCodec* decoder = avcodec_find_decoder(vs->codecpar->codec_id);
    Codec codec;
    codec.ctx = avcodec_alloc_context3(decoder);
    avcodec_parameters_to_context(codec.ctx, vs->codecpar);
    codec.ctx->thread_count = 1;
    if (avcodec_open2(codec.ctx, decoder, nullptr) < 0) {
        *error = "no decoder";
        return false;
    }
    Packet packet;
    Frame frame;
    while (av_read_frame(format.ctx, packet.p) >= 0) {
        if (packet.p->stream_index == video) {
            if (packet.p->pts == AV_NOPTS_VALUE) ++out->videoPacketsWithoutPts;
            if (avcodec_send_packet(codec.ctx, packet.p) < 0 ||
                !Receive(codec.ctx, frame.f, keepPixels, out)) {
                *error = "decoding failed";
                return false;
            }
        } else if (packet.p->stream_index == audio) {
            ++out->audioFrames;
        }
        av_packet_unref(packet.p);
    }
    avcodec_send_packet(codec.ctx, nullptr);
    if (!Receive(codec.ctx, frame.f, keepPixels, out) || out->frames.empty()) {
        *error = "decoding failed";
        return false;
    }
    // A raw stream carries no time stamps: the decoder's output order is
    // then the presentation order, and times stay unknown.
    const bool timed = std::none_of(out->frames.begin(), out->frames.end(), [](const auto& f) {
        return f.seconds == static_cast<double>(AV_NOPTS_VALUE);
    });
    if (!timed) {
        for (ProbedFrame& f : out->frames) f.seconds = -1;
        return true;
    }
    std::sort(out->frames.begin(), out->frames.end(),
              [](const ProbedFrame& a, const ProbedFrame& b) { return a.seconds < b.seconds; });
    const double first = out->frames.front().seconds;
    for (ProbedFrame& f : out->frames) f.seconds = (f.seconds - first) * av_q2d(vs->time_base);
    return true;
}

std::vector<uint8_t> EncodeJpeg(const uint8_t* bgra, int width, int height, int qscale) {
    return EncodeStill(AV_CODEC_ID_MJPEG, AV_PIX_FMT_YUVJ420P, bgra, width, height, qscale);
}

std::vector<uint8_t> EncodeBmp(const uint8_t* bgra, int width, int height) {
    return EncodeStill(AV_CODEC_ID_BMP, AV_PIX_FMT_BGR24, bgra, width, height, 0);
}

std::vector<uint8_t> ScaleBgra(const uint8_t* bgra, int width, int height, int stride, int toWidth,
                               int toHeight) {
    SwsContext* sws = sws_getContext(width, height, AV_PIX_FMT_BGRA, toWidth, toHeight,
                                     AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr);
    std::vector<uint8_t> out(static_cast<size_t>(4) * toWidth * toHeight);
    const uint8_t* src[4] = {bgra};
    int srcStride[4] = {stride};
    uint8_t* dst[4] = {out.data()};
    int dstStride[4] = {4 * toWidth};
    sws_scale(sws, src, srcStride, 0, height, dst, dstStride);
    sws_freeContext(sws);
    return out;
}

TempFolder::TempFolder() {
    static std::atomic<int> serial{0};
    m_dir = testing::TempDir() + "samplegen-" + std::to_string(::getpid()) + "-" +
            std::to_string(serial++);
    std::filesystem::create_directories(m_dir);
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(m_dir, ec);
}

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace samplegen_test
