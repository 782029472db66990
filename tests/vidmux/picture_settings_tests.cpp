#include <gtest/gtest.h>

#include <thread>

#include "engine_test_support.h"

using namespace enginetest;
using samplegen::Container;
using namespace std::chrono_literals;

namespace {

// Shows frame 20 in a 160x120 window and returns the picture presented.
std::vector<uint8_t> Render(int32_t port, CapturingWindow& window) {
    const int before = window.Presented();
    EXPECT_TRUE(Vemor_RefreshPlay(port));
    // A snapshot waits for the port's queue, so after it the refresh is drawn
    // rather than a redraw an earlier setting queued.
    ShownFrame(port);
    EXPECT_GT(window.Presented(), before);
    return window.LastPixels();
}

class PictureSettings : public testing::Test {
protected:
    void SetUp() override {
        OpenIndexed(port, SmallSample(Container::Recorder));
        ASSERT_TRUE(Vemor_Play(port, window.window()));
        ASSERT_TRUE(Vemor_Pause(port, 1));
        ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, 20));
        plain = Render(port, window);
        ASSERT_FALSE(plain.empty());
    }
    // The window outlives the port: a redraw the port still has queued
    // draws into it.
    CapturingWindow window{160, 120};
    PortGuard port;
    std::vector<uint8_t> plain;
};

TEST_F(PictureSettings, NeutralColourLeavesPixelsUnchangedAndOthersChangeThem) {
    ASSERT_TRUE(Vemor_SetColor(port, 0, 64, 64, 64, 64));
    EXPECT_EQ(Render(port, window), plain);

    ASSERT_TRUE(Vemor_SetColor(port, 0, 100, 64, 64, 64));
    const std::vector<uint8_t> brighter = Render(port, window);
    long sumPlain = 0, sumBright = 0;
    for (size_t i = 0; i < plain.size(); i += 4) {
        sumPlain += plain[i] + plain[i + 1] + plain[i + 2];
        sumBright += brighter[i] + brighter[i + 1] + brighter[i + 2];
    }
    EXPECT_GT(sumBright, sumPlain + static_cast<long>(plain.size() / 4) * 30);

    ASSERT_TRUE(Vemor_SetColor(port, 0, 64, 64, 0, 64));  // no saturation: grey
    const std::vector<uint8_t> grey = Render(port, window);
    for (size_t i = 0; i < grey.size(); i += 4) {
        ASSERT_NEAR(grey[i], grey[i + 1], 2);
        ASSERT_NEAR(grey[i + 1], grey[i + 2], 2);
    }
    EXPECT_FALSE(Vemor_SetColor(port, 0, 129, 64, 64, 64));
    EXPECT_EQ(Vemor_GetLastError(port), static_cast<uint32_t>(VIDMUX_ERR_OUT_OF_RANGE));
}

TEST_F(PictureSettings, DisplayRegionShowsOnlyThatPartScaledToTheWindow) {
    // The frame number sits in the top band: the bottom half alone has none.
    const VemorRect bottom{0, 60, 160, 120};
    ASSERT_TRUE(Vemor_SetDisplayRegion(port, 0, &bottom, window.window(), 1));
    Render(port, window);
    EXPECT_EQ(window.Frames().back(), -1);
    const VemorRect whole{0, 0, 160, 120};
    ASSERT_TRUE(Vemor_SetDisplayRegion(port, 0, &whole, window.window(), 1));
    EXPECT_EQ(Render(port, window), plain);
    ASSERT_TRUE(Vemor_SetDisplayRegion(port, 0, &bottom, window.window(), 0));
    EXPECT_EQ(Render(port, window), plain);

    const VemorRect outside{500, 500, 600, 600};
    EXPECT_FALSE(Vemor_SetDisplayRegion(port, 0, &outside, window.window(), 1));
    EXPECT_EQ(Vemor_GetLastError(port), static_cast<uint32_t>(VIDMUX_ERR_OUT_OF_RANGE));
}

TEST_F(PictureSettings, QualityLowResolutionAndAntiFlickerChangeThePicture) {
    CapturingWindow large(400, 300);  // scaling up, where the scalers differ
    ASSERT_TRUE(Vemor_Play(port, large.window()));
    ASSERT_TRUE(Vemor_Pause(port, 1));
    const std::vector<uint8_t> bilinear = Render(port, large);
    ASSERT_TRUE(Vemor_SetPicQuality(port, 1));
    EXPECT_NE(Render(port, large), bilinear);
    ASSERT_TRUE(Vemor_SetPicQuality(port, 0));
    EXPECT_EQ(Render(port, large), bilinear);

    ASSERT_TRUE(Vemor_SetDisplayType(port, 2));
    Render(port, large);
    EXPECT_EQ(large.Frames().back(), samplegen::ReadFrameNumber(bilinear.data(), 400, 300, 1600));
    EXPECT_FALSE(Vemor_SetDisplayType(port, 3));
    ASSERT_TRUE(Vemor_SetDisplayType(port, 1));

    // Anti-flicker blends each picture with the one before it.
    ASSERT_TRUE(Vemor_SetDeflash(port, 1));
    Render(port, large);
    ASSERT_TRUE(Vemor_OneByOne(port));
    const std::vector<uint8_t> blended = large.LastPixels();
    ASSERT_TRUE(Vemor_SetDeflash(port, 0));
    const std::vector<uint8_t> sharp = Render(port, large);
    EXPECT_NE(blended, sharp);
}

TEST_F(PictureSettings, DrawCallbackPaintsOnThePresentedPicture) {
    ASSERT_TRUE(Vemor_RegisterDrawFun(
        port,
        [](int32_t, VemorDrawContext* dc, void*) {
            for (int x = 0; x < 10; ++x)
                reinterpret_cast<uint32_t*>(dc->pixels + 100 * dc->stride)[x] = 0xFFFFFF00;
        },
        nullptr));
    const std::vector<uint8_t> drawn = Render(port, window);
    const uint32_t* row = reinterpret_cast<const uint32_t*>(drawn.data() + 100 * 160 * 4);
    EXPECT_EQ(row[5], 0xFFFFFF00u);
    ASSERT_TRUE(Vemor_RegisterDrawFun(port, nullptr, nullptr));
    EXPECT_EQ(Render(port, window), plain);
}

TEST_F(PictureSettings, AnalysisOverlayCallbackFollowsTheSwitch) {
    static std::atomic<int> calls{0};
    ASSERT_TRUE(Vemor_RegisterIVSDrawFunCB(
        port, [](int32_t, VemorDrawContext*, void*, int32_t, void*) { ++calls; }, nullptr));
    Render(port, window);
    EXPECT_EQ(calls.load(), 1);
    ASSERT_TRUE(Vemor_EnableIVS(port, 0));
    Render(port, window);
    EXPECT_EQ(calls.load(), 1);
}

TEST_F(PictureSettings, DisplayAndDecodeCallbacksDescribeThePicture) {
    struct Seen {
        std::atomic<int> width{0}, height{0}, rate{0}, type{0}, bytes{0};
    };
    static Seen seen;
    ASSERT_TRUE(Vemor_SetDisplayCallBackEx(
        port,
        [](const VemorDisplayInfo* info) {
            seen.width = info->nWidth;
            seen.height = info->nHeight;
        },
        nullptr));
    ASSERT_TRUE(Vemor_SetDecCallBackExMend(
        port,
        [](int32_t, const uint8_t*, int32_t size, const VemorFrameInfo* info, void*, int32_t) {
            seen.rate = info->nFrameRate;
            seen.type = info->nType;
            seen.bytes = size;
        },
        nullptr, 0, nullptr));
    ASSERT_TRUE(Vemor_OneByOne(port));
    EXPECT_EQ(seen.width.load(), 160);
    EXPECT_EQ(seen.height.load(), 120);
    EXPECT_EQ(seen.rate.load(), 25);
    EXPECT_EQ(seen.type.load(), VIDMUX_FRAME_VIDEO_YV12);
    EXPECT_EQ(seen.bytes.load(), 160 * 120 * 3 / 2);
}

TEST_F(PictureSettings, TimerTypesAreOneAndTwo) {
    EXPECT_TRUE(Vemor_SetTimerType(port, 2, 0));
    EXPECT_TRUE(Vemor_SetTimerType(port, 1, 0));
    EXPECT_FALSE(Vemor_SetTimerType(port, 7, 0));
    EXPECT_TRUE(Vemor_VIE_SetModuConfig(port, 0x5, 1));
    EXPECT_TRUE(Vemor_VIE_SetRegion(port, 0, nullptr));
    const uint8_t params[VIDMUX_VIE_PARAM_BYTES] = {1, 2, 3};
    EXPECT_TRUE(Vemor_VIE_SetParaConfig(port, params));
}

}  // namespace
