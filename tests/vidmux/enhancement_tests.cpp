#include <gtest/gtest.h>

#include <array>
#include <map>
#include <atomic>
#include <thread>

#include "engine_test_support.h"

using namespace enginetest;
using samplegen::Container;
using namespace std::chrono_literals;

namespace {

// The 72-byte parameter block: module set, then seventeen parameters.
using Block = std::array<int32_t, VIDMUX_VIE_PARAM_BYTES / 4>;
constexpr int kBright = 1;
constexpr int kDenoise = 11;

Block BrightBlock(int bright) {
    Block block{};
    block[0] = 0x01;
    block[kBright] = bright;
    return block;
}

// Mean of red, green and blue over columns [from, to) of a BGRA picture.
double Mean(const std::vector<uint8_t>& pixels, int width, int from, int to) {
    double sum = 0;
    long count = 0;
    const int height = static_cast<int>(pixels.size() / 4 / width);
    for (int y = 0; y < height; ++y) {
        for (int x = from; x < to; ++x) {
            const uint8_t* p = &pixels[(static_cast<size_t>(y) * width + x) * 4];
            sum += p[0] + p[1] + p[2];
            ++count;
        }
    }
    return count ? sum / (3.0 * count) : 0;
}

std::vector<uint8_t> Bmp(int32_t port) {
    std::vector<uint8_t> buffer(1 << 20);
    uint32_t size = 0;
    EXPECT_TRUE(Vemor_GetBMP(port, buffer.data(), static_cast<uint32_t>(buffer.size()), &size));
    buffer.resize(size);
    return buffer;
}

class Enhancement : public testing::Test {
protected:
    void SetUp() override {
        OpenIndexed(port, SmallSample(Container::Recorder));
        ASSERT_TRUE(Vemor_Play(port, window.window()));
        ASSERT_TRUE(Vemor_Pause(port, 1));
        ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, 20));
        plain = Render();
        plainBmp = Bmp(port);
        ASSERT_FALSE(plain.empty());
    }

    // The refresh is queued behind redraws that earlier settings calls asked
    // for, and one of those may be drawn with only part of the settings; a
    // snapshot waits for the port's queue, so after it the refresh is drawn.
    std::vector<uint8_t> Render() {
        const int before = window.Presented();
        EXPECT_TRUE(Vemor_RefreshPlay(port));
        ShownFrame(port);
        EXPECT_GT(window.Presented(), before);
        return window.LastPixels();
    }

    // Sends the block; a refresh queued behind the redraw the block asked
    // for makes sure the window shows its effect.
    void Send(const Block& block) {
        ASSERT_TRUE(Vemor_VIE_SetParaConfig(port, block.data()));
        Render();
    }

    double WholeMean(const std::vector<uint8_t>& pixels) { return Mean(pixels, 160, 0, 160); }

    // Declared first so that it outlives the port's queued redraws.
    CapturingWindow window{160, 120};
    PortGuard port;
    std::vector<uint8_t> plain;
    std::vector<uint8_t> plainBmp;
};

TEST_F(Enhancement, BrightnessShowsAtOnceInTheWindowAndTheSnapshotOfTheSamePicture) {
    ASSERT_TRUE(Vemor_VIE_SetModuConfig(port, 0x01, 1));
    const Block block = BrightBlock(120);
    ASSERT_TRUE(Vemor_VIE_SetParaConfig(port, block.data()));
    // The paused picture is drawn again without being asked to.
    ASSERT_TRUE(
        WaitFor([&] { return WholeMean(window.LastPixels()) > WholeMean(plain) + 20; }, 2s));
    const std::vector<uint8_t> bright = Render();
    EXPECT_EQ(window.Frames().back(), 20);

    const std::vector<uint8_t> snapshot = Bmp(port);
    EXPECT_NE(snapshot, plainBmp);
    EXPECT_EQ(samplegen::ReadFrameNumberFromImage(snapshot.data(), snapshot.size()), 20);
    // Redrawing an unchanged setting shows the same enhanced picture.
    EXPECT_EQ(Render(), bright);

    Send(BrightBlock(-120));
    EXPECT_LT(WholeMean(window.LastPixels()), WholeMean(plain) - 20);
}

TEST_F(Enhancement, EveryModuleOffShowsTheDecodedPictureByteForByte) {
    Block strongest{};
    for (size_t i = 1; i < strongest.size(); ++i) strongest[i] = 255;
    strongest[13] = 15;  // sharpen radius
    // Every module on at its strongest changes the picture...
    ASSERT_TRUE(Vemor_VIE_SetModuConfig(port, 0xFF, 1));
    strongest[0] = 0xFF;
    Send(strongest);
    EXPECT_NE(window.LastPixels(), plain);
    EXPECT_NE(Bmp(port), plainBmp);

    // ...and switched off leaves nothing behind, with the parameters kept.
    ASSERT_TRUE(Vemor_VIE_SetModuConfig(port, 0xFF, 0));
    EXPECT_EQ(Render(), plain);
    strongest[0] = 0;
    Send(strongest);
    EXPECT_EQ(window.LastPixels(), plain);
    EXPECT_EQ(Bmp(port), plainBmp);
}

TEST_F(Enhancement, ModuleSwitchesAndTheBlockSetTheModulesTogether) {
    // Switching on brightens with the block's parameters sent earlier.
    Block block = BrightBlock(120);
    block[0] = 0;
    ASSERT_TRUE(Vemor_VIE_SetParaConfig(port, block.data()));
    EXPECT_EQ(Render(), plain);
    ASSERT_TRUE(Vemor_VIE_SetModuConfig(port, 0x01, 1));
    const std::vector<uint8_t> bright = Render();
    EXPECT_GT(WholeMean(bright), WholeMean(plain) + 20);
    // Switching another module off keeps this one.
    ASSERT_TRUE(Vemor_VIE_SetModuConfig(port, 0x08, 0));
    EXPECT_EQ(Render(), bright);
    // The block's module set replaces the whole set.
    ASSERT_TRUE(Vemor_VIE_SetParaConfig(port, block.data()));
    EXPECT_EQ(Render(), plain);
}

TEST_F(Enhancement, RegionLimitsTheEffectToItsRectangle) {
    ASSERT_TRUE(Vemor_VIE_SetModuConfig(port, 0x01, 1));
    const VemorRect left{0, 0, 80, 120};
    ASSERT_TRUE(Vemor_VIE_SetRegion(port, 0, &left));
    Send(BrightBlock(120));
    std::vector<uint8_t> shown = window.LastPixels();
    EXPECT_GT(Mean(shown, 160, 0, 76), Mean(plain, 160, 0, 76) + 20);
    EXPECT_NEAR(Mean(shown, 160, 84, 160), Mean(plain, 160, 84, 160), 0.5);

    // Clamped to the picture: from x 80 to beyond the right edge.
    const VemorRect beyond{80, 0, 1000, 1000};
    ASSERT_TRUE(Vemor_VIE_SetRegion(port, 0, &beyond));
    shown = Render();
    EXPECT_NEAR(Mean(shown, 160, 0, 76), Mean(plain, 160, 0, 76), 0.5);
    EXPECT_GT(Mean(shown, 160, 84, 160), Mean(plain, 160, 84, 160) + 20);

    // Wholly outside: nothing to enhance.
    const VemorRect outside{400, 400, 500, 500};
    ASSERT_TRUE(Vemor_VIE_SetRegion(port, 0, &outside));
    EXPECT_EQ(Render(), plain);

    // No rectangle: the whole picture again.
    ASSERT_TRUE(Vemor_VIE_SetRegion(port, 0, nullptr));
    shown = Render();
    EXPECT_GT(Mean(shown, 160, 84, 160), Mean(plain, 160, 84, 160) + 20);

    for (const VemorRect& bad : {VemorRect{-2, 0, 80, 120}, VemorRect{0, -1, 80, 120},
                                 VemorRect{80, 0, 40, 120}, VemorRect{0, 60, 80, 30},
                                 VemorRect{10, 10, 10, 50}}) {
        EXPECT_FALSE(Vemor_VIE_SetRegion(port, 0, &bad));
        EXPECT_EQ(Vemor_GetLastError(port), static_cast<uint32_t>(VIDMUX_ERR_OUT_OF_RANGE));
    }
    EXPECT_FALSE(Vemor_VIE_SetRegion(port, 1, nullptr));
    EXPECT_EQ(Vemor_GetLastError(port), static_cast<uint32_t>(VIDMUX_ERR_NOT_SUPPORTED));
    // A refused region leaves the one in force.
    EXPECT_EQ(Render(), shown);
}

TEST_F(Enhancement, StepsAndReversePlayShowEnhancedPicturesUnderTheirNumbers) {
    // Unenhanced brightness of the pictures the steps will reach.
    std::map<int, double> plainMean;
    for (int n = 0; n < 50; ++n) {
        ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, n));
        plainMean[n] = WholeMean(Render());
    }
    ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, 20));
    ASSERT_TRUE(Vemor_VIE_SetModuConfig(port, 0x01, 1));
    Send(BrightBlock(120));

    ASSERT_TRUE(Vemor_OneByOne(port));
    EXPECT_EQ(window.Frames().back(), 21);
    EXPECT_GT(WholeMean(window.LastPixels()), plainMean[21] + 20);
    for (int expected : {20, 19}) {
        ASSERT_TRUE(Vemor_OneByOneBack(port));
        EXPECT_EQ(window.Frames().back(), expected);
        EXPECT_GT(WholeMean(window.LastPixels()), plainMean[expected] + 20);
    }
    const int before = window.Presented();
    ASSERT_TRUE(Vemor_ReversePlay(port));
    ASSERT_TRUE(WaitFor([&] { return window.Presented() >= before + 5; }, 5s));
    ASSERT_TRUE(Vemor_Pause(port, 1));
    const int shown = window.Frames().back();
    ASSERT_GE(shown, 0);
    ASSERT_LT(shown, 19);
    EXPECT_GT(WholeMean(window.LastPixels()), plainMean[shown] + 20);
    EXPECT_EQ(ShownFrame(port), shown);
}

TEST_F(Enhancement, SettingsChangingDuringFastPlayLeaveEveryPictureWhole) {
    // Settings change from this thread while the port thread enhances
    // pictures at full speed; under the sanitizers this is where a shared
    // enhancer or frame would show. Every picture still carries its number.
    ASSERT_TRUE(Vemor_VIE_SetModuConfig(port, 0x08, 1));
    ASSERT_TRUE(Vemor_Stop(port));
    ASSERT_TRUE(Vemor_Play(port, window.window()));
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(Vemor_Fast(port));
    std::atomic<bool> stop{false};
    std::thread changer([&] {
        Block block{};
        block[kDenoise] = 200;
        for (int i = 0; !stop; ++i) {
            block[0] = (i % 3 == 0) ? 0x08 : (i % 3 == 1 ? 0x29 : 0x00);
            block[kBright] = (i * 7) % 40;
            Vemor_VIE_SetParaConfig(port, block.data());
            const VemorRect rect{2 * (i % 10), 0, 100 + i % 50, 120};
            Vemor_VIE_SetRegion(port, 0, (i % 4) ? &rect : nullptr);
            std::this_thread::sleep_for(1ms);
        }
    });
    ASSERT_TRUE(WaitFor([&] { return window.Presented() > 60; }, 10s));
    ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, 5));
    ASSERT_TRUE(WaitFor([&] { return window.Presented() > 90; }, 10s));
    stop = true;
    changer.join();
    for (int frame : window.Frames()) EXPECT_GE(frame, 0);
}

TEST(EnhancementSettings, KeptWithoutAFileAndAppliedToTheNextOne) {
    CapturingWindow window(160, 120);
    PortGuard port;
    ASSERT_TRUE(Vemor_VIE_SetModuConfig(port, 0x01, 1));
    const Block block = BrightBlock(120);
    ASSERT_TRUE(Vemor_VIE_SetParaConfig(port, block.data()));
    OpenIndexed(port, SmallSample(Container::Recorder));
    ASSERT_TRUE(Vemor_Play(port, window.window()));
    ASSERT_TRUE(Vemor_Pause(port, 1));
    ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, 20));
    const std::vector<uint8_t> bright = window.LastPixels();
    ASSERT_TRUE(Vemor_VIE_SetModuConfig(port, 0x01, 0));
    ASSERT_TRUE(Vemor_RefreshPlay(port));
    ASSERT_TRUE(WaitFor([&] { return window.LastPixels() != bright; }, 2s));
    EXPECT_GT(Mean(bright, 160, 0, 160), Mean(window.LastPixels(), 160, 0, 160) + 20);

    EXPECT_FALSE(Vemor_VIE_SetParaConfig(port, nullptr));
    EXPECT_EQ(Vemor_GetLastError(port), static_cast<uint32_t>(VIDMUX_ERR_NULL_POINTER));
}

}  // namespace
