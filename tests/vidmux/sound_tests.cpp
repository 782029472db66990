#include <gtest/gtest.h>

#include <cstdlib>

#include "engine_test_support.h"

using namespace enginetest;
using samplegen::Container;

namespace {

// Every sound test runs without a sound device: the engine must play on silently.
class Sound : public testing::Test {
protected:
    static void SetUpTestSuite() { setenv("SDL_AUDIODRIVER", "no-such-driver", 1); }
};

TEST_F(Sound, WithoutADeviceSoundCallsSucceedAndPlayGoesOn) {
    samplegen::SampleParams params = SmallParams(Container::MpegTs);
    params.audio = true;
    PortGuard port;
    OpenIndexed(port, SampleFolder::Instance().Get("with-sound.ts", params));
    ASSERT_TRUE(Vemor_Play(port, nullptr));
    EXPECT_TRUE(Vemor_PlaySound(port));
    EXPECT_TRUE(Vemor_SetVolume(port, 0x8000));
    EXPECT_TRUE(Vemor_PlaySoundShare(port));
    EXPECT_TRUE(
        WaitFor([&] { return Vemor_GetCurrentFrameNum(port) >= 10; }, std::chrono::seconds(3)));
    EXPECT_TRUE(Vemor_StopSoundShare(port));
    EXPECT_TRUE(Vemor_StopSound());
}

TEST_F(Sound, FileWithoutSoundRefusesToSound) {
    PortGuard port;
    OpenIndexed(port, SmallSample(Container::Mp4));
    EXPECT_FALSE(Vemor_PlaySound(port));
    EXPECT_EQ(Vemor_GetLastError(port), static_cast<uint32_t>(VIDMUX_ERR_NO_AUDIO));
    EXPECT_FALSE(Vemor_PlaySoundShare(port));
    EXPECT_TRUE(Vemor_StopSoundShare(port));
}

}  // namespace
