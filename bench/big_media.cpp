#include "big_media.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" {
#include <libavformat/avformat.h>
}

namespace bench {

namespace {

constexpr size_t kRecorderHeadBytes = 40;

bool RepeatRecorder(const std::vector<char>& bytes, const std::string& target, int64_t size) {
    std::ofstream out(target, std::ios::binary);
    out.write(bytes.data(), kRecorderHeadBytes);
    int64_t written = kRecorderHeadBytes;
    while (written < size && out) {
        out.write(bytes.data() + kRecorderHeadBytes,
                  static_cast<std::streamsize>(bytes.size() - kRecorderHeadBytes));
        written += static_cast<int64_t>(bytes.size() - kRecorderHeadBytes);
    }
    return static_cast<bool>(out);
}

// Appends every video packet of `source` to `out`, `shift` later; returns
// the end of the latest picture, or -1 on failure.
int64_t AppendPass(const std::string& source, AVFormatContext* out, int64_t shift) {
    AVFormatContext* in = nullptr;
    if (avformat_open_input(&in, source.c_str(), nullptr, nullptr) < 0) return -1;
    int64_t last = -1;
    const int video = avformat_find_stream_info(in, nullptr) >= 0
                          ? av_find_best_stream(in, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0)
                          : -1;
    AVPacket* packet = av_packet_alloc();
    if (video >= 0 && out->nb_streams == 0) {
        AVStream* stream = avformat_new_stream(out, nullptr);
        avcodec_parameters_copy(stream->codecpar, in->streams[video]->codecpar);
        stream->codecpar->codec_tag = 0;
        stream->time_base = in->streams[video]->time_base;
        // The recording's absolute start (creation_time) goes with it.
        av_dict_copy(&out->metadata, in->metadata, 0);
        if (avio_open(&out->pb, out->url, AVIO_FLAG_WRITE) < 0 ||
            avformat_write_header(out, nullptr) < 0) {
            av_packet_free(&packet);
            avformat_close_input(&in);
            return -1;
        }
    }
    int64_t first = AV_NOPTS_VALUE;
    while (video >= 0 && av_read_frame(in, packet) >= 0) {
        if (packet->stream_index == video) {
            if (first == AV_NOPTS_VALUE) first = packet->dts;
            packet->pts += shift - first;
            packet->dts += shift - first;
            last = std::max(last, packet->pts + packet->duration);
            packet->stream_index = 0;
            packet->pos = -1;
            av_packet_rescale_ts(packet, in->streams[video]->time_base, out->streams[0]->time_base);
            if (av_write_frame(out, packet) < 0) last = -1;
        }
        av_packet_unref(packet);
        if (last < 0 && first != AV_NOPTS_VALUE) break;
    }
    av_packet_free(&packet);
    avformat_close_input(&in);
    return last;
}

bool RepeatInto(const char* muxer, const std::string& source, const std::string& target,
                int64_t size) {
    AVFormatContext* out = nullptr;
    if (avformat_alloc_output_context2(&out, nullptr, muxer, target.c_str()) < 0) return false;
    int64_t shift = 0;
    bool ok = true;
    while (ok && (!out->pb || avio_tell(out->pb) < size)) {
        const int64_t last = AppendPass(source, out, shift);
        ok = last >= 0;
        shift = last + 1;
    }
    if (ok) ok = av_write_trailer(out) >= 0;
    if (out->pb) avio_closep(&out->pb);
    avformat_free_context(out);
    return ok;
}

}  // namespace

bool WriteBigRecording(const std::string& source, const std::string& target, int64_t bytes) {
    std::ifstream in(source, std::ios::binary);
    std::vector<char> data(std::istreambuf_iterator<char>(in), {});
    const std::string partial = target + ".part";
    const bool recorder =
        data.size() > kRecorderHeadBytes && std::memcmp(data.data(), "IMXV", 4) == 0;
    const bool matroska = std::filesystem::path(target).extension() == ".mkv";
    const bool ok = recorder ? RepeatRecorder(data, partial, bytes)
                             : RepeatInto(matroska ? "matroska" : "mp4", source, partial, bytes);
    std::error_code error;
    if (ok) std::filesystem::rename(partial, target, error);
    if (!ok || error) std::filesystem::remove(partial, error);
    return ok && !error;
}

}  // namespace bench
