#include "bench_ffmpeg.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "bench_util.h"

namespace bench {

bool FfmpegDecoder::Open(const std::string& path) {
    AVDictionary* options = nullptr;
    const AVInputFormat* forced = nullptr;
    FILE* file = std::fopen(path.c_str(), "rb");
    char magic[4] = {};
    if (file) {
        if (std::fread(magic, 1, 4, file) != 4) magic[0] = 0;
        std::fclose(file);
    }
    if (std::memcmp(magic, "IMXV", 4) == 0) {
        av_dict_set_int(&options, "skip_initial_bytes", 40, 0);
        forced = av_find_input_format("mpeg");
    }
    const int opened = avformat_open_input(&format, path.c_str(), forced, &options);
    av_dict_free(&options);
    if (opened < 0 || avformat_find_stream_info(format, nullptr) < 0) return false;
    stream = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (stream < 0) return false;
    const AVCodec* decoder = avcodec_find_decoder(format->streams[stream]->codecpar->codec_id);
    codec = avcodec_alloc_context3(decoder);
    avcodec_parameters_to_context(codec, format->streams[stream]->codecpar);
    codec->thread_count = 0;
    return avcodec_open2(codec, decoder, nullptr) >= 0;
}

FfmpegDecoder::~FfmpegDecoder() {
    avcodec_free_context(&codec);
    avformat_close_input(&format);
}

bool FfmpegDecoder::Next(AVPacket* packet, AVFrame* frame) {
    for (;;) {
        const int got = avcodec_receive_frame(codec, frame);
        if (got == 0) return true;
        if (got == AVERROR_EOF) return false;
        if (av_read_frame(format, packet) < 0) {
            avcodec_send_packet(codec, nullptr);
            continue;
        }
        if (packet->stream_index == stream) avcodec_send_packet(codec, packet);
        av_packet_unref(packet);
    }
}

double FfmpegDecodeScaleFps(const std::string& path, int width, int height, int* frames) {
    FfmpegDecoder decoder;
    if (!decoder.Open(path)) return 0;
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    std::vector<uint8_t> out(static_cast<size_t>(width) * height * 4);
    SwsContext* scaler = nullptr;
    int count = 0;
    const auto start = Clock::now();
    while (decoder.Next(packet, frame)) {
        scaler = sws_getCachedContext(scaler, frame->width, frame->height,
                                      static_cast<AVPixelFormat>(frame->format), width, height,
                                      AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr);
        uint8_t* dst[4] = {out.data()};
        int stride[4] = {width * 4};
        sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, dst, stride);
        av_frame_unref(frame);
        ++count;
    }
    const double seconds = SecondsSince(start);
    sws_freeContext(scaler);
    av_frame_free(&frame);
    av_packet_free(&packet);
    *frames = count;
    return count / seconds;
}

double FfmpegNaiveBackSteps(const std::string& path, int frames, double* slowest) {
    FfmpegDecoder decoder;
    if (!decoder.Open(path)) return 0;
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    *slowest = 0;
    const auto start = Clock::now();
    for (int target = frames - 1; target >= 0; --target) {
        const auto stepStart = Clock::now();
        av_seek_frame(decoder.format, decoder.stream, 0, AVSEEK_FLAG_BACKWARD);
        avcodec_flush_buffers(decoder.codec);
        for (int n = 0; n <= target && decoder.Next(packet, frame); ++n) av_frame_unref(frame);
        *slowest = std::max(*slowest, SecondsSince(stepStart));
    }
    const double total = SecondsSince(start);
    av_frame_free(&frame);
    av_packet_free(&packet);
    return total;
}

}  // namespace bench
