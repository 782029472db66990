#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine_test_support.h"
#include "trovan_test_support.h"
#include "umbrel.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

using enginetest::SampleFolder;
using samplegen::Container;
using trovantest::Convert;
using trovantest::OutputFolder;
using trovantest::PlayerParams;
using trovantest::ReadAvi;
using trovantest::ShownFrames;

namespace {

struct Source {
    const char* name;
    Container container;
    int fps;
    int frames;
    bool sound;
};

class ConversionTest : public testing::TestWithParam<Source> {};

TEST_P(ConversionTest, AviHoldsTheSourcesPicturesAtTwentyFiveFramesWithItsSound) {
    const Source& source = GetParam();
    samplegen::SampleParams params;
    params.container = source.container;
    params.width = 352;  // the shape of 704x576, so the pictures fill the frame
    params.height = 288;
    params.fpsNum = source.fps;
    params.frameCount = source.frames;
    params.gop = 15;
    params.bFrames = source.container != Container::RawH264;
    params.audio = source.sound;
    const std::string input = SampleFolder::Instance().Get(source.name, params);
    OutputFolder folder;
    const std::string target = folder.Path("out.avi");

    std::vector<int> percents;
    ASSERT_EQ(Convert(input, target, PlayerParams(), &percents), TROVAN_OK);
    ASSERT_FALSE(percents.empty());
    EXPECT_EQ(percents.back(), 100);
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
    EXPECT_EQ(std::count(percents.begin(), percents.end(), 100), 1);
    EXPECT_EQ(folder.Files(), std::vector<std::string>{"out.avi"});

    const trovantest::AviContents avi = ReadAvi(target);
    ASSERT_TRUE(avi.opened);
    EXPECT_EQ(avi.format, "avi");
    EXPECT_EQ(avi.videoCodec, AV_CODEC_ID_MPEG4);
    EXPECT_EQ(avi.width, 704);
    EXPECT_EQ(avi.height, 576);
    EXPECT_DOUBLE_EQ(avi.frameRate, 25.0);
    const double seconds = double(source.frames) / source.fps;
    EXPECT_NEAR(avi.pictures, seconds * 25, 1.0);
    if (source.sound) {
        const bool mp3 = avcodec_find_encoder(AV_CODEC_ID_MP3) != nullptr;
        EXPECT_EQ(avi.soundCodec, mp3 ? AV_CODEC_ID_MP3 : AV_CODEC_ID_PCM_S16LE);
        EXPECT_NEAR(avi.soundSeconds, seconds, 0.15);
    } else {
        EXPECT_EQ(avi.soundCodec, 0);
    }

    // Each AVI picture shows the source picture of its own time.
    const std::vector<int> shown = ShownFrames(target);
    ASSERT_EQ(static_cast<int>(shown.size()), avi.pictures);
    for (size_t n = 0; n < shown.size(); ++n) {
        const double sourceFrame = n * double(source.fps) / 25;
        EXPECT_LE(std::abs(shown[n] - sourceFrame), 1.0) << "AVI picture " << n;
    }
    EXPECT_EQ(shown.front(), 0);
    EXPECT_GE(shown.back(), source.frames - 2);
}

INSTANTIATE_TEST_SUITE_P(Sources, ConversionTest,
                         testing::Values(Source{"rec25.rec", Container::Recorder, 25, 60, true},
                                         Source{"mp4-30.mp4", Container::Mp4, 30, 75, true},
                                         Source{"raw30.264", Container::RawH264, 30, 60, false}),
                         [](const auto& info) {
                             return std::string(info.param.name).substr(0, 5) == "rec25"
                                        ? "Recorder"
                                    : info.param.container == Container::Mp4 ? "Mp4"
                                                                             : "RawH264";
                         });

TEST(Conversion, WidePictureIsLetterboxedInBlack) {
    samplegen::SampleParams params;
    params.container = Container::Mp4;
    params.width = 320;
    params.height = 180;
    params.frameCount = 10;
    const std::string input = SampleFolder::Instance().Get("wide.mp4", params);
    OutputFolder folder;
    const std::string target = folder.Path("wide.avi");
    TrovanParams pcm = PlayerParams();
    pcm.nAudioCodec = TROVAN_AUDIO_PCM;
    ASSERT_EQ(Convert(input, target, pcm), TROVAN_OK);

    // 704x396 in the middle, 90 black rows above and below.
    const std::vector<int> inside = ShownFrames(target, 0, 90, 704, 396);
    ASSERT_EQ(inside.size(), 10u);
    for (int n = 0; n < 10; ++n) EXPECT_EQ(inside[n], n);

    int32_t handle = 0;
    ASSERT_EQ(UMBREL_Open(target.c_str(), &handle), UMBREL_OK);
    std::vector<uint8_t> pixels(704 * 576 * 4);
    UmbrelPicture picture{UMBREL_PIXEL_BGRA, 704, 576, {pixels.data()}, {704 * 4}};
    int64_t timeUs = 0;
    ASSERT_EQ(UMBREL_DecodePicture(handle, &picture, &timeUs, nullptr), UMBREL_OK);
    UMBREL_Close(handle);
    auto brightest = [&](int firstRow, int rows) {
        int most = 0;
        for (int row = firstRow; row < firstRow + rows; ++row) {
            for (int col = 0; col < 704; ++col)
                most = std::max<int>(most, pixels[(row * 704 + col) * 4 + 1]);
        }
        return most;
    };
    EXPECT_LT(brightest(0, 86), 24);
    EXPECT_LT(brightest(490, 86), 24);
    EXPECT_GT(brightest(100, 380), 200);
}

}  // namespace
