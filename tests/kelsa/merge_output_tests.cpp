// What a merge writes: pictures in list order on one running clock, sound in
// step, raw streams timed from their listed duration, and a file the engine plays.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "engine_test_support.h"
#include "kelsa.h"
#include "kelsa_test_support.h"
#include "sample_probe.h"

using namespace kelsatest;
using samplegen::Container;
using namespace std::chrono_literals;

namespace {

constexpr double kFrame = 0.04;  // seconds per picture at 25 per second

class MergeOutputTest : public testing::Test {
protected:
    std::string Output(const std::string& name) const { return m_folder.Path(name); }

    // Merges and expects success.
    void Merge(const std::vector<std::pair<std::string, int32_t>>& files,
               const std::string& output) {
        const int32_t handle = ListedHandle(files);
        ASSERT_GT(handle, 0);
        EXPECT_EQ(KELSA_MergeFileInList(handle, output.c_str()), KELSA_OK);
        EXPECT_EQ(KELSA_DestroyHandle(handle), KELSA_OK);
        ASSERT_TRUE(std::filesystem::exists(output));
    }

    static void ExpectStrictlyIncreasing(const std::vector<double>& values, const char* what) {
        for (size_t i = 1; i < values.size(); ++i) {
            ASSERT_LT(values[i - 1], values[i]) << what << " at packet " << i;
        }
    }

    // Sound runs without holes and ends with the pictures, to within one picture.
    static void ExpectSoundInStep(const PacketTimes& times) {
        ASSERT_TRUE(times.hasAudio);
        ASSERT_FALSE(times.audioDts.empty());
        ExpectStrictlyIncreasing(times.audioDts, "sound dts");
        for (size_t i = 1; i < times.audioDts.size(); ++i) {
            EXPECT_LT(times.audioDts[i] - times.audioEnd[i - 1], kFrame) << "hole before " << i;
        }
        const double picturesEnd =
            *std::max_element(times.videoPts.begin(), times.videoPts.end()) + kFrame;
        EXPECT_NEAR(times.audioEnd.back(), picturesEnd, kFrame);
        EXPECT_NEAR(times.audioDts.front(), times.videoPts.front(), kFrame);
    }

    samplegen_test::TempFolder m_folder;
};

TEST_F(MergeOutputTest, TwoRecordingsRunOnInListOrderWithTheirSound) {
    const std::string first = Recording("a50.mp4", Container::Mp4, 50, true);
    const std::string second = Recording("b30.mp4", Container::Mp4, 30, true, true);
    const std::string output = Output("two.mp4");
    Merge({{first, 2000}, {second, 1000}}, output);

    std::vector<int> expected;
    AppendRun(&expected, 50);
    AppendRun(&expected, 30);
    EXPECT_EQ(ShownNumbers(output), expected);

    const std::vector<double> seconds = ShownSeconds(output);
    ASSERT_EQ(seconds.size(), 80u);
    EXPECT_NEAR(seconds[49], 49 * kFrame, 1e-3);
    EXPECT_NEAR(seconds[50], 50 * kFrame, 1e-3);  // right after the first file's last picture
    EXPECT_NEAR(seconds[79], 79 * kFrame, 1e-3);

    const PacketTimes times = ReadPacketTimes(output);
    ExpectStrictlyIncreasing(times.videoDts, "picture dts");
    ExpectSoundInStep(times);
}

TEST_F(MergeOutputTest, ThreeRecordingsOfOtherContainersJoinWithTheirSound) {
    // Recorder files and MPEG-TS both carry MP2 sound of the same kind.
    const std::string first = Recording("r20.imx", Container::Recorder, 20, true);
    const std::string second = Recording("t35.ts", Container::MpegTs, 35, true, true);
    const std::string third = Recording("r45.imx", Container::Recorder, 45, true);
    const std::string output = Output("three.mp4");
    Merge({{first, 0}, {second, 0}, {third, 0}}, output);

    std::vector<int> expected;
    AppendRun(&expected, 20);
    AppendRun(&expected, 35);
    AppendRun(&expected, 45);
    EXPECT_EQ(ShownNumbers(output), expected);
    const std::vector<double> seconds = ShownSeconds(output);
    ASSERT_EQ(seconds.size(), 100u);
    for (size_t i = 1; i < seconds.size(); ++i) {
        EXPECT_NEAR(seconds[i] - seconds[i - 1], kFrame, 1e-3) << "picture " << i;
    }
    const PacketTimes times = ReadPacketTimes(output);
    ExpectStrictlyIncreasing(times.videoDts, "picture dts");
    ExpectSoundInStep(times);
}

TEST_F(MergeOutputTest, SoundOfDifferentKindsOrMissingInOneFileIsDropped) {
    const std::string aac = Recording("a50.mp4", Container::Mp4, 50, true);
    const std::string mp2 = Recording("t20.ts", Container::MpegTs, 20, true);
    const std::string silent = Recording("s20.mp4", Container::Mp4, 20, false);
    for (const auto& [second, name] :
         {std::pair{mp2, "aac-mp2.mp4"}, std::pair{silent, "aac-none.mp4"}}) {
        const std::string output = Output(name);
        Merge({{aac, 2000}, {second, 800}}, output);
        const PacketTimes times = ReadPacketTimes(output);
        EXPECT_FALSE(times.hasAudio) << name;
        EXPECT_EQ(times.videoDts.size(), 70u) << name;
    }
}

TEST_F(MergeOutputTest, RawStreamsAreTimedFromTheirListedDuration) {
    const std::string plain = Recording("p40.264", Container::RawH264, 40, false);
    const std::string reordered = Recording("b40.264", Container::RawH264, 40, false, true);
    const std::string output = Output("raw.mp4");
    // 2000 ms over 40 pictures: 50 ms each; 1600 ms over 40: 40 ms each.
    Merge({{plain, 2000}, {reordered, 1600}, {plain, 2000}}, output);

    std::vector<int> expected;
    AppendRun(&expected, 40);
    AppendRun(&expected, 40);
    AppendRun(&expected, 40);
    EXPECT_EQ(ShownNumbers(output), expected);
    const std::vector<double> seconds = ShownSeconds(output);
    ASSERT_EQ(seconds.size(), 120u);
    EXPECT_NEAR(seconds[39], 39 * 0.05, 1e-3);
    EXPECT_NEAR(seconds[40], 2.0, 1e-3);
    EXPECT_NEAR(seconds[79], 2.0 + 39 * 0.04, 1e-3);
    EXPECT_NEAR(seconds[80], 3.6, 1e-3);
    EXPECT_NEAR(seconds[119], 3.6 + 39 * 0.05, 1e-3);
    ExpectStrictlyIncreasing(ReadPacketTimes(output).videoDts, "picture dts");
}

TEST_F(MergeOutputTest, RawAndContainerFilesJoinIntoOneTrack) {
    const std::string mp4 = Recording("a50.mp4", Container::Mp4, 50, true);
    const std::string raw = Recording("p40.264", Container::RawH264, 40, false);
    const std::string output = Output("mixed.mp4");
    Merge({{raw, 1600}, {mp4, 2000}, {raw, 1600}}, output);
    std::vector<int> expected;
    AppendRun(&expected, 40);
    AppendRun(&expected, 50);
    AppendRun(&expected, 40);
    EXPECT_EQ(ShownNumbers(output), expected);
}

TEST_F(MergeOutputTest, TheEnginePlaysTheMergedFileFromStartToEnd) {
    const std::string first = Recording("a50.mp4", Container::Mp4, 50, true);
    const std::string second = Recording("b30.mp4", Container::Mp4, 30, true, true);
    const std::string output = Output("played.mp4");
    Merge({{first, 2000}, {second, 1000}}, output);

    struct Ends {
        std::atomic<int> count{0};
        static void OnEnd(int32_t, void* user) { ++static_cast<Ends*>(user)->count; }
    } ends;
    enginetest::CapturingWindow window(160, 120);
    enginetest::PortGuard port;
    ASSERT_TRUE(Vemor_SetFileEndCallback(port, &Ends::OnEnd, &ends));
    enginetest::OpenIndexed(port, output);
    EXPECT_EQ(Vemor_GetFileTotalFrames(port), 80u);
    EXPECT_EQ(Vemor_GetFileTime(port), 3u);
    ASSERT_TRUE(Vemor_Play(port, window.window()));
    for (int i = 0; i < 2; ++i) ASSERT_TRUE(Vemor_Fast(port));
    ASSERT_TRUE(enginetest::WaitFor([&] { return ends.count.load() > 0; }, 20s));
    std::vector<int> expected;
    AppendRun(&expected, 50);
    AppendRun(&expected, 30);
    EXPECT_EQ(window.Frames(), expected);
}

}  // namespace
