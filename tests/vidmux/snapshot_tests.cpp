#include <gtest/gtest.h>

#include "engine_test_support.h"

using namespace enginetest;
using samplegen::Container;

namespace {

TEST(Snapshot, BmpAndJpegDecodeToFullSizeAndTheShownFrame) {
    PortGuard port;
    OpenIndexed(port, SmallSample(Container::Recorder, true));
    ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, 33));
    std::vector<uint8_t> buffer(1 << 20);
    for (bool jpeg : {false, true}) {
        uint32_t size = 0;
        const VBOOL ok = jpeg ? Vemor_GetJPEG(port, buffer.data(), buffer.size(), &size)
                              : Vemor_GetBMP(port, buffer.data(), buffer.size(), &size);
        ASSERT_TRUE(ok);
        int width = 0, height = 0;
        ASSERT_TRUE(samplegen::ImageSize(buffer.data(), size, &width, &height));
        EXPECT_EQ(width, 160);
        EXPECT_EQ(height, 120);
        EXPECT_EQ(samplegen::ReadFrameNumberFromImage(buffer.data(), size), 33);
        if (!jpeg) {
            EXPECT_EQ(size, 54u + 160u * 3u * 120u);
        }
    }
}

TEST(Snapshot, SmallBufferIsRefusedAndTheNeededSizeReported) {
    PortGuard port;
    OpenIndexed(port, SmallSample(Container::Mp4));
    ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, 2));
    std::vector<uint8_t> buffer(1000, 0xAB);
    uint32_t size = 0;
    EXPECT_FALSE(Vemor_GetBMP(port, buffer.data(), buffer.size(), &size));
    EXPECT_EQ(Vemor_GetLastError(port), static_cast<uint32_t>(VIDMUX_ERR_BUFFER_TOO_SMALL));
    EXPECT_EQ(size, 54u + 160u * 3u * 120u);
    EXPECT_EQ(buffer[999], 0xAB);  // nothing written past what was allowed
}

TEST(Snapshot, NoPictureBeforeAnythingWasShown) {
    PortGuard port;
    OpenIndexed(port, SmallSample(Container::Mp4));
    std::vector<uint8_t> buffer(1 << 20);
    uint32_t size = 0;
    EXPECT_FALSE(Vemor_GetJPEG(port, buffer.data(), buffer.size(), &size));
    EXPECT_EQ(Vemor_GetLastError(port), static_cast<uint32_t>(VIDMUX_ERR_NO_PICTURE));
}

}  // namespace
