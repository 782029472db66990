#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "engine_test_support.h"
#include "reference_media.h"

using namespace enginetest;
using samplegen::Container;

namespace {

namespace fs = std::filesystem;

void ExpectOpenFails(const std::string& path, uint32_t expectedError) {
    PortGuard port;
    EXPECT_FALSE(Vemor_OpenFile(port, path.c_str())) << path;
    EXPECT_EQ(Vemor_GetLastError(port), expectedError) << path;
    // The port is still usable afterwards.
    EXPECT_TRUE(Vemor_OpenFile(port, SmallSample(Container::Mp4).c_str()));
}

TEST(BadInput, MissingPathAndDirectoryCannotBeOpened) {
    ExpectOpenFails(SampleFolder::Instance().Path("does-not-exist.mp4"), VIDMUX_ERR_OPEN_FILE);
    ExpectOpenFails(testing::TempDir(), VIDMUX_ERR_OPEN_FILE);
    ExpectOpenFails("", VIDMUX_ERR_OPEN_FILE);
}

TEST(BadInput, EmptyAndRandomFilesAreNotMedia) {
    ExpectOpenFails(WriteBytes("empty.mp4", {}), VIDMUX_ERR_FILE_FORMAT);
    std::mt19937 random(42);
    std::vector<char> noise(200000);
    for (char& c : noise) c = static_cast<char>(random());
    PortGuard port;
    EXPECT_FALSE(Vemor_OpenFile(port, WriteBytes("noise.264", noise).c_str()));
    EXPECT_NE(Vemor_GetLastError(port), 0u);
}

TEST(BadInput, RecorderHeadWithoutStreamFails) {
    std::vector<char> head = ReadBytes(SmallSample(Container::Recorder));
    head.resize(40);
    ExpectOpenFails(WriteBytes("head-only.imx", head), VIDMUX_ERR_FILE_FORMAT);
}

TEST(BadInput, TruncatedMp4WithoutIndexIsRejected) {
    // An MP4 whose sample table is cut off cannot be demuxed at all.
    samplegen::SampleParams params = SmallParams(Container::Mp4);
    std::vector<char> bytes = ReadBytes(SampleFolder::Instance().Get("for-truncation.mp4", params));
    bytes.resize(100);
    PortGuard port;
    EXPECT_FALSE(Vemor_OpenFile(port, WriteBytes("cut.mp4", bytes).c_str()));
}

TEST(BadPorts, EveryCallFailsOnPortsThatAreNotTaken) {
    int32_t freed = -1;
    ASSERT_TRUE(Vemor_GetPort(&freed));
    ASSERT_TRUE(Vemor_FreePort(freed));
    for (int32_t port : {-1, VIDMUX_MAX_PORTS, 100000, freed}) {
        SCOPED_TRACE(port);
        EXPECT_FALSE(Vemor_OpenFile(port, SmallSample(Container::Mp4).c_str()));
        EXPECT_EQ(Vemor_GetLastError(port), static_cast<uint32_t>(VIDMUX_ERR_BAD_PORT));
        EXPECT_FALSE(Vemor_Play(port, nullptr));
        EXPECT_FALSE(Vemor_Pause(port, 1));
        EXPECT_FALSE(Vemor_Stop(port));
        EXPECT_FALSE(Vemor_FreePort(port));
        EXPECT_FALSE(Vemor_SetCurrentFrameNum(port, 0));
        EXPECT_EQ(Vemor_GetFileTotalFrames(port), 0u);
        EXPECT_FALSE(Vemor_SetFileEndCallback(port, nullptr, nullptr));
    }
}

TEST(BadPorts, CallsBeforeAFileIsOpenFailWithOrderError) {
    PortGuard port;
    uint8_t buffer[16];
    uint32_t size = 0;
    int32_t w = 0, h = 0;
    VemorSystemTime time{};
    VemorFramePos pos{};
    EXPECT_FALSE(Vemor_Play(port, nullptr));
    EXPECT_EQ(Vemor_GetLastError(port), static_cast<uint32_t>(VIDMUX_ERR_ORDER));
    EXPECT_FALSE(Vemor_Pause(port, 1));
    EXPECT_FALSE(Vemor_Stop(port));
    EXPECT_FALSE(Vemor_Fast(port));
    EXPECT_FALSE(Vemor_OneByOne(port));
    EXPECT_FALSE(Vemor_OneByOneBack(port));
    EXPECT_FALSE(Vemor_ReversePlay(port));
    EXPECT_FALSE(Vemor_SetCurrentFrameNum(port, 0));
    EXPECT_FALSE(Vemor_SetPlayedTimeEx(port, 0));
    EXPECT_FALSE(Vemor_GetBMP(port, buffer, sizeof buffer, &size));
    EXPECT_FALSE(Vemor_GetPictureSize(port, &w, &h));
    EXPECT_FALSE(Vemor_GetSystemTime(port, &time));
    EXPECT_FALSE(Vemor_GetKeyFramePos(port, 0, 2, &pos));
    EXPECT_FALSE(Vemor_CloseFile(port));
    EXPECT_FALSE(Vemor_RefreshPlay(port));
    EXPECT_EQ(Vemor_GetLastError(port), static_cast<uint32_t>(VIDMUX_ERR_ORDER));
    // Callbacks and picture settings may be set up before the file is opened.
    EXPECT_TRUE(Vemor_SetFileEndCallback(port, nullptr, nullptr));
    EXPECT_TRUE(Vemor_SetColor(port, 0, 64, 64, 64, 64));
    EXPECT_TRUE(Vemor_ThrowBFrameNum(port, 0));
}

TEST(BadPorts, NullPointersAreRefused) {
    EXPECT_FALSE(Vemor_GetPort(nullptr));
    PortGuard port;
    EXPECT_FALSE(Vemor_OpenFile(port, nullptr));
    EXPECT_EQ(Vemor_GetLastError(port), static_cast<uint32_t>(VIDMUX_ERR_NULL_POINTER));
    OpenIndexed(port, SmallSample(Container::Mp4));
    ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, 1));
    uint32_t size = 0;
    int32_t w = 0;
    EXPECT_FALSE(Vemor_GetBMP(port, nullptr, 100, &size));
    EXPECT_FALSE(Vemor_GetJPEG(port, nullptr, 0, nullptr));
    EXPECT_FALSE(Vemor_GetPictureSize(port, &w, nullptr));
    EXPECT_FALSE(Vemor_GetSystemTime(port, nullptr));
    EXPECT_FALSE(Vemor_GetKeyFramePos(port, 0, 2, nullptr));
    EXPECT_FALSE(Vemor_SetDisplayRegion(port, 0, nullptr, nullptr, 1));
    EXPECT_FALSE(Vemor_VIE_SetParaConfig(port, nullptr));
    EXPECT_EQ(Vemor_GetLastError(port), static_cast<uint32_t>(VIDMUX_ERR_NULL_POINTER));
}

TEST(BadPorts, AllPortsCanBeTakenAndGivenBack) {
    std::vector<int32_t> ports;
    int32_t port = -1;
    while (Vemor_GetPort(&port)) ports.push_back(port);
    EXPECT_EQ(Vemor_GetLastError(-1), static_cast<uint32_t>(VIDMUX_ERR_NO_FREE_PORT));
    EXPECT_GE(ports.size(), 16u);
    for (int32_t p : ports) EXPECT_TRUE(Vemor_FreePort(p));
}

TEST(BadInput, FileRemovedWhilePlayingEndsWithoutCrash) {
    const std::string source = SmallSample(Container::Recorder);
    const std::string path = SampleFolder::Instance().Path("vanishing.imx");
    fs::copy_file(source, path, fs::copy_options::overwrite_existing);
    PortGuard port;
    OpenIndexed(port, path);
    ASSERT_TRUE(Vemor_Play(port, nullptr));
    fs::remove(path);
    // The open descriptor keeps the data; the port plays on and can be stopped and closed.
    EXPECT_TRUE(Vemor_SetCurrentFrameNum(port, 40));
    EXPECT_TRUE(Vemor_Stop(port));
    EXPECT_TRUE(Vemor_CloseFile(port));
}

}  // namespace
