#include <gtest/gtest.h>

#include <fstream>

#include "engine_test_support.h"

using namespace enginetest;
using samplegen::Container;

namespace {

std::vector<char> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

TEST(KeyFrames, PositionsAtOrBeforeAndAtOrAfterATime) {
    PortGuard port;
    OpenIndexed(port, SmallSample(Container::Recorder));  // key frames at 0, 1 s
    VemorFramePos before{}, after{};
    ASSERT_TRUE(Vemor_GetKeyFramePos(port, 500, 2, &before));
    ASSERT_TRUE(Vemor_GetNextKeyFramePos(port, 500, 2, &after));
    EXPECT_EQ(before.nFrameNum, 0);
    EXPECT_EQ(after.nFrameNum, 25);
    EXPECT_EQ(after.nFrameTime, 1000);
    EXPECT_GE(before.nFilePos, 40);
    EXPECT_GT(after.nFilePos, before.nFilePos);
    ASSERT_TRUE(Vemor_GetKeyFramePos(port, 1000, 2, &before));
    EXPECT_EQ(before.nFrameNum, 25);
    EXPECT_FALSE(Vemor_GetNextKeyFramePos(port, 1500, 2, &after));
    EXPECT_EQ(Vemor_GetLastError(port), static_cast<uint32_t>(VIDMUX_ERR_OUT_OF_RANGE));
    EXPECT_FALSE(Vemor_GetKeyFramePos(port, 500, 1, &before));
    EXPECT_EQ(Vemor_GetLastError(port), static_cast<uint32_t>(VIDMUX_ERR_NOT_SUPPORTED));
}

TEST(KeyFrames, ByteRangeBetweenKeyFramesIsAPlayableRecording) {
    samplegen::SampleParams params = SmallParams(Container::Recorder, true);
    params.frameCount = 75;
    params.audio = true;
    const std::string source = SampleFolder::Instance().Get("cut-source.imx", params);
    PortGuard port;
    OpenIndexed(port, source);
    VemorFramePos from{}, to{};
    ASSERT_TRUE(Vemor_GetKeyFramePos(port, 1000, 2, &from));
    ASSERT_TRUE(Vemor_GetNextKeyFramePos(port, 1001, 2, &to));
    ASSERT_EQ(from.nFrameNum, 25);
    ASSERT_EQ(to.nFrameNum, 50);

    const std::vector<char> bytes = ReadAll(source);
    std::vector<char> cut(bytes.begin(), bytes.begin() + 40);
    cut.insert(cut.end(), bytes.begin() + from.nFilePos, bytes.begin() + to.nFilePos);
    const std::string path = SampleFolder::Instance().Path("cut-25-50.imx");
    std::ofstream(path, std::ios::binary)
        .write(cut.data(), static_cast<std::streamsize>(cut.size()));

    PortGuard cutPort;
    OpenIndexed(cutPort, path);
    EXPECT_EQ(Vemor_GetFileTotalFrames(cutPort), 25u);
    for (uint32_t frame : {0u, 12u, 24u}) {
        ASSERT_TRUE(Vemor_SetCurrentFrameNum(cutPort, frame));
        EXPECT_EQ(ShownFrame(cutPort), 25 + static_cast<int>(frame));
    }
}

}  // namespace
