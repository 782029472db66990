// A port whose window is smaller than half its picture may decode with the
// loop filter skipped; a snapshot, or the picture of a window that has grown,
// is always the fully decoded picture.

#include <gtest/gtest.h>

#include <thread>

#include "engine_test_support.h"

using namespace enginetest;
using namespace std::chrono_literals;

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

std::string DeblockedSample() {
    samplegen::SampleParams params;
    params.container = samplegen::Container::Mp4;
    params.width = kWidth;
    params.height = kHeight;
    params.frameCount = 100;
    params.gop = 50;
    return SampleFolder::Instance().Get("reduced_640x480.mp4", params);
}

std::vector<uint8_t> Bmp(int32_t port) {
    std::vector<uint8_t> buffer(1 << 21);
    uint32_t size = 0;
    if (!Vemor_GetBMP(port, buffer.data(), static_cast<uint32_t>(buffer.size()), &size)) return {};
    buffer.resize(size);
    return buffer;
}

TEST(ReducedDecode, SnapshotsAndEnlargedWindowsShowTheFullyDecodedPicture) {
    const std::string path = DeblockedSample();

    // A pane a quarter of the picture's width plays well into the group.
    PortGuard small;
    OpenIndexed(small, path);
    CapturingWindow pane(kWidth / 4, kHeight / 4);
    ASSERT_TRUE(Vemor_Play(small, pane.window()));
    ASSERT_TRUE(WaitFor([&] { return Vemor_GetCurrentFrameNum(small) >= 30; }, 10s));
    ASSERT_TRUE(Vemor_Pause(small, 1));
    std::this_thread::sleep_for(100ms);
    const uint32_t shown = Vemor_GetCurrentFrameNum(small);
    ASSERT_NE(shown % 50, 0u) << "a key frame is decoded alike either way";

    // The same picture decoded in full, straight from its key frame, at the
    // size the pane will grow to.
    PortGuard full;
    OpenIndexed(full, path);
    CapturingWindow big(kWidth, kHeight);
    ASSERT_TRUE(Vemor_Play(full, big.window()));
    ASSERT_TRUE(Vemor_Pause(full, 1));
    ASSERT_TRUE(Vemor_SetCurrentFrameNum(full, shown));
    const std::vector<uint8_t> fullBmp = Bmp(full);
    ASSERT_FALSE(fullBmp.empty());
    ASSERT_EQ(samplegen::ReadFrameNumberFromImage(fullBmp.data(), fullBmp.size()),
              static_cast<int>(shown));
    const std::vector<uint8_t> fullPixels = big.LastPixels();

    const std::vector<uint8_t> snapshot = Bmp(small);
    EXPECT_EQ(snapshot, fullBmp) << "the snapshot of picture " << shown
                                 << " is not the fully decoded picture";
    EXPECT_EQ(Vemor_GetCurrentFrameNum(small), shown);

    // The pane grows: its picture is drawn from the full decode.
    pane.Resize(kWidth, kHeight);
    ASSERT_TRUE(Vemor_RefreshPlay(small));
    EXPECT_TRUE(WaitFor([&] { return pane.LastPixels() == fullPixels; }, 5s))
        << "the enlarged pane does not show the fully decoded picture " << shown;
    EXPECT_EQ(pane.Frames().back(), static_cast<int>(shown));
}

}  // namespace
