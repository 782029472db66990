#include "trovan_test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "umbrel.h"

extern "C" {
#include <libavformat/avformat.h>
}

namespace trovantest {

AviContents ReadAvi(const std::string& path) {
    AviContents contents;
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0) return contents;
    if (avformat_find_stream_info(format, nullptr) >= 0) {
        contents.opened = true;
        contents.format = format->iformat->name;
        int video = -1, sound = -1;
        for (unsigned i = 0; i < format->nb_streams; ++i) {
            const AVStream* stream = format->streams[i];
            if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && video < 0) {
                video = static_cast<int>(i);
                contents.videoCodec = stream->codecpar->codec_id;
                contents.width = stream->codecpar->width;
                contents.height = stream->codecpar->height;
                contents.frameRate = av_q2d(stream->avg_frame_rate);
            } else if (stream->codecpar->codec_type == AVMEDIA_TYPE_AUDIO && sound < 0) {
                sound = static_cast<int>(i);
                contents.soundCodec = stream->codecpar->codec_id;
            }
        }
        AVPacket* packet = av_packet_alloc();
        int64_t soundEnd = 0;
        while (av_read_frame(format, packet) >= 0) {
            if (packet->stream_index == video) ++contents.pictures;
            if (packet->stream_index == sound && packet->pts != AV_NOPTS_VALUE) {
                soundEnd = std::max(soundEnd, packet->pts + packet->duration);
            }
            av_packet_unref(packet);
        }
        av_packet_free(&packet);
        if (sound >= 0)
            contents.soundSeconds = soundEnd * av_q2d(format->streams[sound]->time_base);
    }
    avformat_close_input(&format);
    return contents;
}

std::vector<int> ShownFrames(const std::string& path, int x, int y, int width, int height) {
    std::vector<int> shown;
    int32_t handle = 0;
    if (UMBREL_Open(path.c_str(), &handle) != UMBREL_OK) return shown;
    UmbrelInfo info{};
    UMBREL_GetInfo(handle, &info);
    if (width == 0) {
        width = info.width;
        height = info.height;
    }
    std::vector<uint8_t> pixels(static_cast<size_t>(info.width) * info.height * 4);
    UmbrelPicture picture{
        UMBREL_PIXEL_BGRA, info.width, info.height, {pixels.data()}, {info.width * 4}};
    int64_t timeUs = 0;
    while (UMBREL_DecodePicture(handle, &picture, &timeUs, nullptr) == UMBREL_OK) {
        shown.push_back(samplegen::ReadFrameNumber(pixels.data() + (y * info.width + x) * 4, width,
                                                   height, info.width * 4));
    }
    UMBREL_Close(handle);
    return shown;
}

OutputFolder::OutputFolder() {
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("trovan-") + std::to_string(::getpid()) + "-" + test->name();
    for (char& c : name) {
        if (c == '/') c = '_';
    }
    m_path = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
}

OutputFolder::~OutputFolder() { std::filesystem::remove_all(m_path); }

std::vector<std::string> OutputFolder::Files() const {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(m_path)) {
        files.push_back(entry.path().filename().string());
    }
    return files;
}

int Convert(const std::string& source, const std::string& target, const TrovanParams& params,
            std::vector<int>* percents) {
    int32_t handle = 0;
    EXPECT_EQ(TROVAN_Create(&handle), TROVAN_OK);
    int result = TROVAN_Initial(handle, source.c_str(), target.c_str());
    if (result == TROVAN_OK) result = TROVAN_SetPara(handle, &params);
    if (result == TROVAN_OK) result = TROVAN_Start(handle);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (result == TROVAN_OK && std::chrono::steady_clock::now() < deadline) {
        int32_t percent = -1;
        result = TROVAN_GetConvertPerc(handle, &percent);
        if (percents) percents->push_back(percent);
        if (percent == 100) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(TROVAN_Release(handle), TROVAN_OK);
    return result;
}

}  // namespace trovantest
