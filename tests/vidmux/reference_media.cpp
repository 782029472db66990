#include "reference_media.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <fstream>
#include <iterator>

#include "engine_test_support.h"
#include "ffmpeg_handles/ffmpeg_handles.h"

using namespace ffhandles;

namespace enginetest {

std::vector<char> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

std::string WriteBytes(const std::string& name, const std::vector<char>& bytes) {
    const std::string path = SampleFolder::Instance().Path(name);
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

namespace {

int FrameNumberOf(const AVFrame* frame, SwsPtr* scaler) {
    const int width = frame->width, height = frame->height;
    scaler->reset(sws_getCachedContext(scaler->release(), width, height,
                                       static_cast<AVPixelFormat>(frame->format), width, height,
                                       AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr));
    if (!*scaler) return -1;
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
    uint8_t* planes[4] = {pixels.data(), nullptr, nullptr, nullptr};
    int strides[4] = {width * 4, 0, 0, 0};
    sws_scale(scaler->get(), frame->data, frame->linesize, 0, height, planes, strides);
    return samplegen::ReadFrameNumber(pixels.data(), width, height, width * 4);
}

}  // namespace

std::vector<char> WithoutMatroskaSizes(std::vector<char> bytes) {
    const uint8_t segment[] = {0x18, 0x53, 0x80, 0x67};
    const uint8_t cluster[] = {0x1F, 0x43, 0xB6, 0x75};
    for (size_t at = 0; at + 5 < bytes.size(); ++at) {
        const auto* id = reinterpret_cast<const uint8_t*>(&bytes[at]);
        if (std::memcmp(id, segment, 4) != 0 && std::memcmp(id, cluster, 4) != 0) continue;
        // A size of n bytes whose value bits are all set means "unknown".
        const auto first = static_cast<uint8_t>(bytes[at + 4]);
        const int length = first == 0 ? 9 : std::countl_zero(first) + 1;
        if (length > 8 || at + 4 + length > bytes.size()) continue;
        bytes[at + 4] = static_cast<char>(0xFF >> (length - 1));
        for (int i = 1; i < length; ++i) bytes[at + 4 + i] = static_cast<char>(0xFF);
    }
    return bytes;
}

namespace {

// Length of the EBML number starting with `first` (0 when invalid).
int EbmlLength(uint8_t first) { return first == 0 ? 0 : std::countl_zero(first) + 1; }

void AppendSize(std::vector<char>* out, uint64_t size) {
    out->push_back(0x01);  // eight bytes
    for (int shift = 48; shift >= 0; shift -= 8) out->push_back(static_cast<char>(size >> shift));
}

}  // namespace

std::vector<char> WithBlockGroups(const std::vector<char>& streamed) {
    const uint8_t cluster[] = {0x1F, 0x43, 0xB6, 0x75};
    auto byte = [&](size_t at) { return static_cast<uint8_t>(streamed[at]); };
    auto start = std::search(streamed.begin(), streamed.end(), std::begin(cluster),
                             std::end(cluster), [](char a, uint8_t b) { return uint8_t(a) == b; });
    std::vector<char> out(streamed.begin(), start);
    for (size_t at = static_cast<size_t>(start - streamed.begin()); at + 12 < streamed.size();) {
        const int idLength = EbmlLength(byte(at));
        const int sizeLength = EbmlLength(byte(at + idLength));
        if (idLength == 0 || idLength > 4 || sizeLength == 0) break;
        if (std::equal(std::begin(cluster), std::end(cluster), &streamed[at],
                       [](uint8_t a, char b) { return a == uint8_t(b); })) {
            out.insert(out.end(), &streamed[at], &streamed[at + idLength + sizeLength]);
            at += idLength + sizeLength;
            continue;
        }
        if (idLength == 4) break;  // cues, tags: past the clusters
        uint64_t size = byte(at + idLength) & (0xFF >> sizeLength);
        for (int i = 1; i < sizeLength; ++i) size = (size << 8) | byte(at + idLength + i);
        const size_t body = at + idLength + sizeLength;
        if (body + size > streamed.size()) break;
        if (idLength == 1 && byte(at) == 0xA3) {
            std::vector<char> payload(&streamed[body], &streamed[body + size]);
            const size_t flags = static_cast<size_t>(EbmlLength(uint8_t(payload[0]))) + 2;
            const bool key = (uint8_t(payload[flags]) & 0x80) != 0;
            payload[flags] = static_cast<char>(uint8_t(payload[flags]) & 0x7F);
            std::vector<char> group{static_cast<char>(0xA1)};
            AppendSize(&group, payload.size());
            group.insert(group.end(), payload.begin(), payload.end());
            if (!key)
                group.insert(group.end(), {static_cast<char>(0xFB), static_cast<char>(0x81),
                                           static_cast<char>(0xFF)});
            out.push_back(static_cast<char>(0xA0));
            AppendSize(&out, group.size());
            out.insert(out.end(), group.begin(), group.end());
        } else {
            out.insert(out.end(), &streamed[at], &streamed[body + size]);
        }
        at = body + size;
    }
    return out;
}

std::vector<int> ReferenceFrameNumbers(const std::string& path) {
    std::vector<int> numbers;
    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, path.c_str(), nullptr, nullptr) < 0) return numbers;
    FormatPtr format(raw);
    if (avformat_find_stream_info(raw, nullptr) < 0) return numbers;
    const int stream = av_find_best_stream(raw, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (stream < 0) return numbers;
    const AVCodec* codec = avcodec_find_decoder(raw->streams[stream]->codecpar->codec_id);
    CodecPtr decoder(avcodec_alloc_context3(codec));
    avcodec_parameters_to_context(decoder.get(), raw->streams[stream]->codecpar);
    if (avcodec_open2(decoder.get(), codec, nullptr) < 0) return numbers;
    PacketPtr packet(av_packet_alloc());
    FramePtr frame(av_frame_alloc());
    SwsPtr scaler;
    auto drain = [&] {
        while (avcodec_receive_frame(decoder.get(), frame.get()) == 0) {
            numbers.push_back(FrameNumberOf(frame.get(), &scaler));
            av_frame_unref(frame.get());
        }
    };
    for (;;) {
        const int read = av_read_frame(raw, packet.get());
        if (read == AVERROR_EOF) break;
        // Like the ffmpeg tool, read on past damage until the file ends.
        if (read < 0) {
            if (avio_feof(raw->pb)) break;
            continue;
        }
        if (packet->stream_index == stream) {
            avcodec_send_packet(decoder.get(), packet.get());
            drain();
        }
        av_packet_unref(packet.get());
    }
    avcodec_send_packet(decoder.get(), nullptr);
    drain();
    return numbers;
}

bool Remux(const std::string& source, const std::string& target, const char* format, int first,
           int count, double shiftSeconds, int shiftFrom) {
    AVFormatContext* rawIn = nullptr;
    if (avformat_open_input(&rawIn, source.c_str(), nullptr, nullptr) < 0) return false;
    FormatPtr in(rawIn);
    if (avformat_find_stream_info(rawIn, nullptr) < 0) return false;
    const int video = av_find_best_stream(rawIn, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (video < 0) return false;

    AVFormatContext* out = nullptr;
    if (avformat_alloc_output_context2(&out, nullptr, format, target.c_str()) < 0) return false;
    std::unique_ptr<AVFormatContext, void (*)(AVFormatContext*)> owned(out, [](AVFormatContext* f) {
        if (f->pb) avio_closep(&f->pb);
        avformat_free_context(f);
    });
    AVStream* stream = avformat_new_stream(out, nullptr);
    if (!stream || avcodec_parameters_copy(stream->codecpar, rawIn->streams[video]->codecpar) < 0) {
        return false;
    }
    stream->codecpar->codec_tag = 0;
    stream->time_base = rawIn->streams[video]->time_base;
    // The recording's start time (creation_time) goes with it.
    av_dict_copy(&out->metadata, rawIn->metadata, 0);
    if (avio_open(&out->pb, target.c_str(), AVIO_FLAG_WRITE) < 0) return false;
    if (avformat_write_header(out, nullptr) < 0) return false;

    const AVRational inBase = rawIn->streams[video]->time_base;
    const int64_t shift =
        av_rescale_q(static_cast<int64_t>(shiftSeconds * 1000000), {1, 1000000}, inBase);
    PacketPtr packet(av_packet_alloc());
    int index = 0;
    while (av_read_frame(rawIn, packet.get()) >= 0) {
        const bool wanted =
            packet->stream_index == video && index >= first && index < first + count;
        const int64_t moved = index >= shiftFrom ? shift : 0;
        if (packet->stream_index == video) ++index;
        if (wanted) {
            if (packet->pts != AV_NOPTS_VALUE) packet->pts += moved;
            if (packet->dts != AV_NOPTS_VALUE) packet->dts += moved;
            packet->stream_index = 0;
            packet->pos = -1;
            av_packet_rescale_ts(packet.get(), inBase, stream->time_base);
            if (av_interleaved_write_frame(out, packet.get()) < 0) return false;
        }
        av_packet_unref(packet.get());
    }
    return av_write_trailer(out) >= 0;
}

}  // namespace enginetest
