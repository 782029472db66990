#include "lumora_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine_test_support.h"
#include "ffmpeg_handles/ffmpeg_handles.h"

namespace lumoratest {

namespace {

constexpr int kPad = 16;

int PlaneWidth(int width, int plane) { return plane ? (width + 1) / 2 : width; }
int PlaneHeight(int height, int plane) { return plane ? (height + 1) / 2 : height; }

}  // namespace

Picture::Picture(int w, int h, bool full) : width(w), height(h), fullRange(full) {
    for (int i = 0; i < 3; ++i) {
        strides[i] = PlaneWidth(w, i) + kPad;
        planes[i].assign(static_cast<size_t>(strides[i]) * PlaneHeight(h, i), kPadding);
        for (int y = 0; y < PlaneHeight(h, i); ++y) {
            std::fill_n(planes[i].begin() + static_cast<ptrdiff_t>(y) * strides[i],
                        PlaneWidth(w, i), i ? 128 : 16);
        }
    }
}

Picture::Picture(const Picture& other) = default;

LumoraImage* Picture::Image() {
    image.nWidth = width;
    image.nHeight = height;
    image.bFullRange = fullRange ? 1 : 0;
    for (int i = 0; i < 3; ++i) {
        image.pPlane[i] = planes[i].data();
        image.nStride[i] = strides[i];
    }
    return &image;
}

bool Picture::PaddingIntact() const {
    for (int i = 0; i < 3; ++i) {
        for (int y = 0; y < PlaneHeight(height, i); ++y) {
            for (int x = PlaneWidth(width, i); x < strides[i]; ++x) {
                if (planes[i][static_cast<size_t>(y) * strides[i] + x] != kPadding) return false;
            }
        }
    }
    return true;
}

bool Picture::operator==(const Picture& other) const {
    return width == other.width && height == other.height && planes[0] == other.planes[0] &&
           planes[1] == other.planes[1] && planes[2] == other.planes[2];
}

Picture SamplePicture(int number) {
    samplegen::SampleParams params;
    params.container = samplegen::Container::Mp4;
    params.width = 320;
    params.height = 240;
    params.frameCount = 25;
    const std::string path = enginetest::SampleFolder::Instance().Get("scene320.mp4", params);
    Picture picture(320, 240);

    AVFormatContext* rawFormat = nullptr;
    if (avformat_open_input(&rawFormat, path.c_str(), nullptr, nullptr) < 0) {
        ADD_FAILURE() << "cannot open " << path;
        return picture;
    }
    ffhandles::FormatPtr format(rawFormat);
    avformat_find_stream_info(format.get(), nullptr);
    const int stream = av_find_best_stream(format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    const AVCodec* codec = avcodec_find_decoder(format->streams[stream]->codecpar->codec_id);
    ffhandles::CodecPtr decoder(avcodec_alloc_context3(codec));
    avcodec_parameters_to_context(decoder.get(), format->streams[stream]->codecpar);
    avcodec_open2(decoder.get(), codec, nullptr);
    ffhandles::PacketPtr packet(av_packet_alloc());
    ffhandles::FramePtr frame(av_frame_alloc());
    int seen = 0;
    bool found = false;
    auto take = [&] {
        while (!found && avcodec_receive_frame(decoder.get(), frame.get()) >= 0) {
            if (seen++ == number) {
                found = true;
                for (int i = 0; i < 3; ++i) {
                    for (int y = 0; y < PlaneHeight(240, i); ++y) {
                        std::copy_n(frame->data[i] + static_cast<ptrdiff_t>(y) * frame->linesize[i],
                                    PlaneWidth(320, i),
                                    picture.planes[i].begin() +
                                        static_cast<ptrdiff_t>(y) * picture.strides[i]);
                    }
                }
            }
            av_frame_unref(frame.get());
        }
    };
    while (!found && av_read_frame(format.get(), packet.get()) >= 0) {
        if (packet->stream_index == stream) avcodec_send_packet(decoder.get(), packet.get());
        av_packet_unref(packet.get());
        take();
    }
    avcodec_send_packet(decoder.get(), nullptr);
    take();
    EXPECT_TRUE(found) << "picture " << number << " not decoded";
    return picture;
}

double MeanLuma(const Picture& picture) {
    double sum = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) sum += picture.Y(x, y);
    return sum / (picture.width * picture.height);
}

double LumaDeviation(const Picture& picture) {
    const double mean = MeanLuma(picture);
    double sum = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) sum += std::pow(picture.Y(x, y) - mean, 2);
    return std::sqrt(sum / (picture.width * picture.height));
}

void RgbAt(const Picture& picture, int x, int y, double rgb[3]) {
    const double l = 1.164 * (picture.Y(x, y) - 16);
    const size_t c = static_cast<size_t>(y / 2) * picture.strides[1] + x / 2;
    const double u = picture.planes[1][c] - 128.0, v = picture.planes[2][c] - 128.0;
    rgb[0] = std::clamp(l + 1.596 * v, 0.0, 255.0);
    rgb[1] = std::clamp(l - 0.392 * u - 0.813 * v, 0.0, 255.0);
    rgb[2] = std::clamp(l + 2.017 * u, 0.0, 255.0);
}

Picture FromRgb(int width, int height, const std::function<void(int, int, double*)>& colour) {
    Picture picture(width, height);
    std::vector<double> us(static_cast<size_t>(picture.strides[1]) * ((height + 1) / 2));
    std::vector<double> vs(us.size());
    std::vector<int> counts(us.size());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double rgb[3];
            colour(x, y, rgb);
            const double r = rgb[0], g = rgb[1], b = rgb[2];
            picture.Y(x, y) =
                static_cast<uint8_t>(std::lround(16 + 0.257 * r + 0.504 * g + 0.098 * b));
            const size_t c = static_cast<size_t>(y / 2) * picture.strides[1] + x / 2;
            us[c] += 128 - 0.148 * r - 0.291 * g + 0.439 * b;
            vs[c] += 128 + 0.439 * r - 0.368 * g - 0.071 * b;
            ++counts[c];
        }
    }
    for (size_t c = 0; c < us.size(); ++c) {
        if (!counts[c]) continue;
        picture.planes[1][c] = static_cast<uint8_t>(std::lround(us[c] / counts[c]));
        picture.planes[2][c] = static_cast<uint8_t>(std::lround(vs[c] / counts[c]));
    }
    return picture;
}

void ChannelMeans(const Picture& picture, double means[3]) {
    means[0] = means[1] = means[2] = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            double rgb[3];
            RgbAt(picture, x, y, rgb);
            for (int c = 0; c < 3; ++c) means[c] += rgb[c];
        }
    }
    for (int c = 0; c < 3; ++c) means[c] /= picture.width * picture.height;
}

double MeanDarkChannel(const Picture& picture) {
    double sum = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            double rgb[3];
            RgbAt(picture, x, y, rgb);
            sum += std::min({rgb[0], rgb[1], rgb[2]});
        }
    }
    return sum / (picture.width * picture.height);
}

double HighFrequency(const Picture& picture) {
    double sum = 0;
    for (int y = 1; y + 1 < picture.height; ++y) {
        for (int x = 1; x + 1 < picture.width; ++x) {
            sum += std::abs(4 * picture.Y(x, y) - picture.Y(x - 1, y) - picture.Y(x + 1, y) -
                            picture.Y(x, y - 1) - picture.Y(x, y + 1));
        }
    }
    return sum / ((picture.width - 2) * (picture.height - 2));
}

Enhancer::Enhancer() { EXPECT_EQ(LUMORA_Create(&m_handle), LUMORA_OK); }

Enhancer::~Enhancer() { LUMORA_Destroy(m_handle); }

int32_t Enhancer::Run(const LumoraParams& params, Picture* picture) {
    const int32_t set = LUMORA_SetParams(m_handle, &params);
    if (set != LUMORA_OK) return set;
    return LUMORA_Process(m_handle, picture->Image());
}

LumoraParams Only(int module) {
    LumoraParams p = LUMORA_DefaultParams();
    p.nModules = module;
    return p;
}

}  // namespace lumoratest
