#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <thread>

#include "engine_test_support.h"

using namespace enginetest;
using samplegen::Container;
using namespace std::chrono_literals;

namespace {

// SDL's "disk" driver writes what would be heard into a file, so the sound a
// port makes can be measured without a sound card.
std::string g_output;

class SoundDevice : public testing::Test {
protected:
    static void SetUpTestSuite() {
        g_output = SampleFolder::Instance().Path("heard.raw");
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", g_output.c_str(), 1);
    }
};

// Loudest sample written to the device file from byte `from` on, and the file's size.
std::pair<int, size_t> Loudest(size_t from) {
    std::ifstream in(g_output, std::ios::binary);
    std::vector<char> bytes(std::istreambuf_iterator<char>(in), {});
    int loudest = 0;
    for (size_t i = from & ~size_t{1}; i + 1 < bytes.size(); i += 2) {
        const int16_t sample = static_cast<int16_t>(static_cast<uint8_t>(bytes[i]) |
                                                    (static_cast<uint8_t>(bytes[i + 1]) << 8));
        loudest = std::max(loudest, std::abs(static_cast<int>(sample)));
    }
    return {loudest, bytes.size()};
}

TEST_F(SoundDevice, ExclusiveSoundIsHeardAtNormalSpeedOnlyAndFollowsTheVolume) {
    samplegen::SampleParams params = SmallParams(Container::MpegTs);
    params.audio = true;
    params.frameCount = 250;
    PortGuard port;
    OpenIndexed(port, SampleFolder::Instance().Get("tone.ts", params));
    ASSERT_TRUE(Vemor_PlaySound(port));
    ASSERT_TRUE(Vemor_SetVolume(port, 0xFFFF));
    ASSERT_TRUE(Vemor_Play(port, nullptr));
    std::this_thread::sleep_for(1500ms);
    const auto [loud, afterLoud] = Loudest(0);
    EXPECT_GT(loud, 500) << "nothing was heard";

    ASSERT_TRUE(Vemor_SetVolume(port, 0x1000));
    std::this_thread::sleep_for(300ms);
    const size_t quietFrom = Loudest(0).second;
    std::this_thread::sleep_for(800ms);
    const int quiet = Loudest(quietFrom).first;
    EXPECT_GT(quiet, 0);
    EXPECT_LT(quiet, loud / 8);

    ASSERT_TRUE(Vemor_SetVolume(port, 0xFFFF));
    ASSERT_TRUE(Vemor_Fast(port));  // twice the speed: silent
    std::this_thread::sleep_for(300ms);
    const size_t fastFrom = Loudest(0).second;
    std::this_thread::sleep_for(600ms);
    EXPECT_EQ(Loudest(fastFrom).first, 0);

    ASSERT_TRUE(Vemor_Slow(port));  // normal speed again: heard again
    std::this_thread::sleep_for(400ms);
    const size_t normalFrom = Loudest(0).second;
    std::this_thread::sleep_for(600ms);
    EXPECT_GT(Loudest(normalFrom).first, 500);

    ASSERT_TRUE(Vemor_StopSound());
    std::this_thread::sleep_for(300ms);
    const size_t stoppedFrom = Loudest(0).second;
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(Loudest(stoppedFrom).first, 0);
}

}  // namespace
