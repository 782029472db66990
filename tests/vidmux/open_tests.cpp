#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "engine_test_support.h"

using namespace enginetest;
using samplegen::Container;

namespace {

struct FormatCase {
    Container container;
    bool bFrames;
};

class EveryFormat : public testing::TestWithParam<FormatCase> {};

TEST_P(EveryFormat, IndexGivesExactFrameCountDurationAndSize) {
    PortGuard port;
    OpenIndexed(port, SmallSample(GetParam().container, GetParam().bFrames));
    EXPECT_EQ(Vemor_GetFileTotalFrames(port), 50u);
    EXPECT_EQ(Vemor_GetFileTime(port), 2u);
    int32_t width = 0, height = 0;
    ASSERT_TRUE(Vemor_GetPictureSize(port, &width, &height));
    EXPECT_EQ(width, 160);
    EXPECT_EQ(height, 120);
}

TEST_P(EveryFormat, SeekByFrameLandsOnTheExactFrame) {
    PortGuard port;
    OpenIndexed(port, SmallSample(GetParam().container, GetParam().bFrames));
    for (uint32_t frame : {0u, 1u, 24u, 25u, 26u, 37u, 49u, 3u, 48u}) {
        ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, frame)) << Vemor_GetLastError(port);
        EXPECT_EQ(ShownFrame(port), static_cast<int>(frame));
        EXPECT_EQ(Vemor_GetCurrentFrameNum(port), frame);
    }
}

TEST_P(EveryFormat, SeekByTimeLandsOnTheFrameOfThatTime) {
    PortGuard port;
    OpenIndexed(port, SmallSample(GetParam().container, GetParam().bFrames));
    for (uint32_t frame : {0u, 13u, 30u, 49u}) {
        ASSERT_TRUE(Vemor_SetPlayedTimeEx(port, frame * 40)) << Vemor_GetLastError(port);
        EXPECT_EQ(ShownFrame(port), static_cast<int>(frame));
    }
    ASSERT_TRUE(Vemor_SetPlayedTimeEx(port, 1030));  // between frames 25 and 26
    EXPECT_EQ(ShownFrame(port), 25);
}

TEST_P(EveryFormat, SingleStepsForwardShowConsecutiveFrames) {
    PortGuard port;
    OpenIndexed(port, SmallSample(GetParam().container, GetParam().bFrames));
    ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, 22));
    for (int expected = 23; expected <= 27; ++expected) {
        ASSERT_TRUE(Vemor_OneByOne(port));
        EXPECT_EQ(ShownFrame(port), expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, EveryFormat,
    testing::Values(FormatCase{Container::Recorder, false}, FormatCase{Container::Recorder, true},
                    FormatCase{Container::RawH264, false}, FormatCase{Container::RawH264, true},
                    FormatCase{Container::Mp4, false}, FormatCase{Container::Mp4, true},
                    FormatCase{Container::MpegTs, false}, FormatCase{Container::MpegTs, true},
                    FormatCase{Container::Matroska, false}, FormatCase{Container::Matroska, true}));

TEST(OpenFile, FirstStepAfterOpenShowsFrameZero) {
    PortGuard port;
    ASSERT_TRUE(Vemor_OpenFile(port, SmallSample(Container::Mp4).c_str()));
    ASSERT_TRUE(Vemor_OneByOne(port));
    EXPECT_EQ(ShownFrame(port), 0);
}

TEST(OpenFile, IndexCallbackFiresOncePerOpen) {
    static std::atomic<int> calls{0};
    PortGuard port;
    ASSERT_TRUE(Vemor_SetFileRefCallBack(
        port, [](int32_t, void*) { ++calls; }, nullptr));
    ASSERT_TRUE(Vemor_OpenFile(port, SmallSample(Container::Recorder).c_str()));
    ASSERT_TRUE(WaitFor([] { return calls.load() == 1; }, std::chrono::seconds(10)));
    ASSERT_TRUE(Vemor_CloseFile(port));
    ASSERT_TRUE(Vemor_OpenFile(port, SmallSample(Container::Recorder).c_str()));
    ASSERT_TRUE(WaitFor([] { return calls.load() == 2; }, std::chrono::seconds(10)));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(calls.load(), 2);
}

TEST(OpenFile, SecondOpenOnTheSamePortIsRefusedUntilClosed) {
    PortGuard port;
    const std::string path = SmallSample(Container::Mp4);
    ASSERT_TRUE(Vemor_OpenFile(port, path.c_str()));
    EXPECT_FALSE(Vemor_OpenFile(port, path.c_str()));
    EXPECT_EQ(Vemor_GetLastError(port), static_cast<uint32_t>(VIDMUX_ERR_ORDER));
    ASSERT_TRUE(Vemor_CloseFile(port));
    EXPECT_TRUE(Vemor_OpenFile(port, path.c_str()));
}

TEST(AbsoluteTime, RecorderHeadTimePlusPictureTime) {
    samplegen::SampleParams params = SmallParams(Container::Recorder);
    params.start = samplegen::StartTime{2023, 12, 31, 23, 59, 59};
    PortGuard port;
    OpenIndexed(port, SampleFolder::Instance().Get("timed.imx", params));
    ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, 30));  // 1.2 s later: past midnight
    VemorSystemTime time{};
    ASSERT_TRUE(Vemor_GetSystemTime(port, &time));
    EXPECT_EQ(time.dwYear, 2024u);
    EXPECT_EQ(time.dwMon, 1u);
    EXPECT_EQ(time.dwDay, 1u);
    EXPECT_EQ(time.dwHour, 0u);
    EXPECT_EQ(time.dwMin, 0u);
    EXPECT_EQ(time.dwSec, 0u);
    EXPECT_EQ(time.dwMs, 200u);
}

TEST(AbsoluteTime, Mp4CreationTimeIsTheStart) {
    samplegen::SampleParams params = SmallParams(Container::Mp4, true);
    params.start = samplegen::StartTime{2024, 2, 29, 10, 0, 0};
    PortGuard port;
    OpenIndexed(port, SampleFolder::Instance().Get("timed.mp4", params));
    ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, 49));
    VemorSystemTime time{};
    ASSERT_TRUE(Vemor_GetSystemTime(port, &time));
    EXPECT_EQ(time.dwDay, 29u);
    EXPECT_EQ(time.dwHour, 10u);
    EXPECT_EQ(time.dwSec, 1u);
    EXPECT_EQ(time.dwMs, 960u);
}

TEST(AbsoluteTime, FileWithoutTimeSaysSo) {
    PortGuard port;
    OpenIndexed(port, SmallSample(Container::RawH264));
    ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, 3));
    VemorSystemTime time{};
    EXPECT_FALSE(Vemor_GetSystemTime(port, &time));
    EXPECT_EQ(Vemor_GetLastError(port), static_cast<uint32_t>(VIDMUX_ERR_NO_TIME));
}

TEST(Watermark, CallbackDeliversTheRecordWritten) {
    samplegen::SampleParams params = SmallParams(Container::Recorder);
    samplegen::Watermark mark;
    mark.packedTime = samplegen::PackTime({2024, 5, 6, 7, 8, 9});
    mark.serial = 123456789;
    const uint8_t mac[6] = {0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e};
    std::copy(mac, mac + 6, mark.mac);
    mark.deviceType = 7;
    mark.deviceInfo = 200;
    mark.channel = 3;
    params.watermark = mark;
    const std::string path = SampleFolder::Instance().Get("watermarked.imx", params);

    static std::mutex mutex;
    static std::vector<uint8_t> received;
    PortGuard port;
    ASSERT_TRUE(Vemor_SetCheckWatermarkCallBack(
        port,
        [](int32_t, const uint8_t** data, void*) {
            std::lock_guard lock(mutex);
            received.assign(*data, *data + VIDMUX_WATERMARK_BYTES);
        },
        nullptr));
    OpenIndexed(port, path);
    ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, 30));
    std::lock_guard lock(mutex);
    ASSERT_EQ(received.size(), static_cast<size_t>(VIDMUX_WATERMARK_BYTES));
    const uint8_t expected[VIDMUX_WATERMARK_BYTES] = {static_cast<uint8_t>(mark.packedTime),
                                                      static_cast<uint8_t>(mark.packedTime >> 8),
                                                      static_cast<uint8_t>(mark.packedTime >> 16),
                                                      static_cast<uint8_t>(mark.packedTime >> 24),
                                                      0x15,
                                                      0xCD,
                                                      0x5B,
                                                      0x07,
                                                      0x00,
                                                      0x1a,
                                                      0x2b,
                                                      0x3c,
                                                      0x4d,
                                                      0x5e,
                                                      7,
                                                      200,
                                                      3};
    EXPECT_EQ(received, std::vector<uint8_t>(expected, expected + VIDMUX_WATERMARK_BYTES));
}

TEST(Version, SdkVersionAndHeadLength) {
    EXPECT_EQ(Vemor_GetFileHeadLength(), 40u);
    EXPECT_NE(Vemor_GetSdkVersion() >> 24, 0u);
}

}  // namespace
