#include "kelsa_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "engine_test_support.h"
#include "kelsa.h"
#include "sample_probe.h"

extern "C" {
#include <libavformat/avformat.h>
}

namespace kelsatest {

std::string Recording(const std::string& name, samplegen::Container container, int frames,
                      bool audio, bool bFrames, int width, int height) {
    samplegen::SampleParams params = enginetest::SmallParams(container, bFrames);
    params.frameCount = frames;
    params.audio = audio;
    params.width = width;
    params.height = height;
    return enginetest::SampleFolder::Instance().Get(name, params);
}

PacketTimes ReadPacketTimes(const std::string& path) {
    PacketTimes times;
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0) {
        ADD_FAILURE() << "cannot open " << path;
        return times;
    }
    avformat_find_stream_info(format, nullptr);
    const int video = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    const int audio = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    times.hasAudio = audio >= 0;
    AVPacket* packet = av_packet_alloc();
    while (av_read_frame(format, packet) >= 0) {
        const AVRational tb = format->streams[packet->stream_index]->time_base;
        const double dts = packet->dts * av_q2d(tb);
        if (packet->stream_index == video) {
            times.videoDts.push_back(dts);
            times.videoPts.push_back(packet->pts * av_q2d(tb));
        } else if (packet->stream_index == audio) {
            times.audioDts.push_back(dts);
            times.audioEnd.push_back((packet->pts + packet->duration) * av_q2d(tb));
        }
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    avformat_close_input(&format);
    return times;
}

namespace {

template <typename Value, typename Field>
std::vector<Value> ShownPictures(const std::string& path, Field field) {
    samplegen_test::ProbedSample sample;
    std::string error;
    EXPECT_TRUE(samplegen_test::ProbeSample(path, false, &sample, &error)) << error;
    std::vector<Value> values;
    for (const auto& frame : sample.frames) values.push_back(frame.*field);
    return values;
}

}  // namespace

std::vector<int> ShownNumbers(const std::string& path) {
    return ShownPictures<int>(path, &samplegen_test::ProbedFrame::number);
}

std::vector<double> ShownSeconds(const std::string& path) {
    return ShownPictures<double>(path, &samplegen_test::ProbedFrame::seconds);
}

void AppendRun(std::vector<int>* numbers, int count) {
    for (int i = 0; i < count; ++i) numbers->push_back(i);
}

int32_t ListedHandle(const std::vector<std::pair<std::string, int32_t>>& files) {
    const int32_t handle = KELSA_CreateHandle();
    EXPECT_GT(handle, 0);
    for (const auto& [path, durationMs] : files) {
        const int32_t added = KELSA_AddToMergeList(handle, path.c_str(), 0, durationMs);
        EXPECT_EQ(added, KELSA_OK) << path;
        if (added != KELSA_OK) {
            KELSA_DestroyHandle(handle);
            return -1;
        }
    }
    return handle;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace kelsatest
