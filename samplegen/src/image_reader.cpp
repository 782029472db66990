#include "image_reader.h"

#include <cstring>
#include <limits>

#include "ffmpeg_ptr.h"
#include "samplegen/samplegen.h"

namespace samplegen {

namespace {

constexpr int64_t kMaxPixels = 8192 * 8192;  // refuse absurd sizes before allocating

AVCodecID CodecForMagic(const uint8_t* data, size_t size) {
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') return AV_CODEC_ID_BMP;
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xD8) return AV_CODEC_ID_MJPEG;
    return AV_CODEC_ID_NONE;
}

// Decodes the single picture of a still image; nullptr when it does not decode.
FramePtr DecodeStill(AVCodecID id, const uint8_t* data, size_t size) {
    const AVCodec* codec = avcodec_find_decoder(id);
    CodecPtr context(codec ? avcodec_alloc_context3(codec) : nullptr);
    PacketPtr packet(av_packet_alloc());
    FramePtr frame(av_frame_alloc());
    if (!context || !packet || !frame) return nullptr;
    context->thread_count = 1;
    context->max_pixels = kMaxPixels;
    if (avcodec_open2(context.get(), codec, nullptr) < 0) return nullptr;
    // The decoder may read past the end of its input: av_new_packet pads.
    if (av_new_packet(packet.get(), static_cast<int>(size)) < 0) return nullptr;
    std::memcpy(packet->data, data, size);
    if (avcodec_send_packet(context.get(), packet.get()) < 0) return nullptr;
    avcodec_send_packet(context.get(), nullptr);
    if (avcodec_receive_frame(context.get(), frame.get()) < 0) return nullptr;
    if (frame->width <= 0 || frame->height <= 0) return nullptr;
    return frame;
}

// The full-range "J" formats are deprecated in libswscale: name the plain
// format and say full range instead.
AVPixelFormat PlainFormat(AVPixelFormat format, bool* fullRange) {
    *fullRange = true;
    switch (format) {
        case AV_PIX_FMT_YUVJ420P:
            return AV_PIX_FMT_YUV420P;
        case AV_PIX_FMT_YUVJ422P:
            return AV_PIX_FMT_YUV422P;
        case AV_PIX_FMT_YUVJ444P:
            return AV_PIX_FMT_YUV444P;
        case AV_PIX_FMT_YUVJ440P:
            return AV_PIX_FMT_YUV440P;
        case AV_PIX_FMT_YUVJ411P:
            return AV_PIX_FMT_YUV411P;
        default:
            *fullRange = false;
            return format;
    }
}

}  // namespace

bool ImageReader::Decode(const uint8_t* data, size_t size) {
    m_width = m_height = 0;
    m_pixels.clear();
    if (!data || size > static_cast<size_t>(std::numeric_limits<int>::max()) -
                            AV_INPUT_BUFFER_PADDING_SIZE) {
        return false;
    }
    const AVCodecID id = CodecForMagic(data, size);
    if (id == AV_CODEC_ID_NONE) return false;
    FramePtr frame = DecodeStill(id, data, size);
    if (!frame) return false;

    const int width = frame->width, height = frame->height;
    bool fullRange = false;
    const AVPixelFormat format = PlainFormat(static_cast<AVPixelFormat>(frame->format), &fullRange);
    SwsPtr scaler(sws_getContext(width, height, format, width, height, AV_PIX_FMT_BGRA, SWS_POINT,
                                 nullptr, nullptr, nullptr));
    if (!scaler) return false;
    if (fullRange) {
        const int* coefficients = sws_getCoefficients(SWS_CS_DEFAULT);
        sws_setColorspaceDetails(scaler.get(), coefficients, 1, coefficients, 1, 0, 1 << 16,
                                 1 << 16);
    }
    std::vector<uint8_t> pixels(static_cast<size_t>(4) * width * height);
    uint8_t* planes[4] = {pixels.data(), nullptr, nullptr, nullptr};
    int strides[4] = {4 * width, 0, 0, 0};
    if (sws_scale(scaler.get(), frame->data, frame->linesize, 0, height, planes, strides) !=
        height) {
        return false;
    }
    m_width = width;
    m_height = height;
    m_pixels = std::move(pixels);
    return true;
}

int ReadFrameNumberFromImage(const uint8_t* data, size_t size) {
    ImageReader image;
    if (!image.Decode(data, size)) return -1;
    return ReadFrameNumber(image.Pixels(), image.Width(), image.Height(), image.StrideBytes());
}

bool ImageSize(const uint8_t* data, size_t size, int* width, int* height) {
    ImageReader image;
    if (!image.Decode(data, size)) return false;
    if (width) *width = image.Width();
    if (height) *height = image.Height();
    return true;
}

}  // namespace samplegen
