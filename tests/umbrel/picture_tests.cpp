#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "engine_test_support.h"
#include "umbrel.h"
#include "umbrel_test_support.h"

using enginetest::SampleFolder;
using samplegen::Container;
using umbreltest::BgraPicture;
using umbreltest::OpenedFile;

namespace {

struct Source {
    const char* name;
    Container container;
    int fps;
    bool bFrames;
};

const char* ContainerName(const Source& source) {
    switch (source.container) {
        case Container::Recorder:
            return "Recorder";
        case Container::Mp4:
            return "Mp4";
        case Container::RawH264:
            return "RawH264";
        case Container::MpegTs:
            return "MpegTs";
        case Container::Matroska:
            return "Matroska";
    }
    return "Unknown";
}

samplegen::SampleParams ParamsOf(const Source& source) {
    samplegen::SampleParams params;
    params.container = source.container;
    params.width = 160;
    params.height = 120;
    params.fpsNum = source.fps;
    params.frameCount = 60;
    params.gop = 20;
    params.bFrames = source.bFrames;
    return params;
}

class PictureTest : public testing::TestWithParam<Source> {
protected:
    std::string Sample() {
        return SampleFolder::Instance().Get(GetParam().name, ParamsOf(GetParam()));
    }
    int64_t TimeOf(int frame) const { return int64_t{frame} * 1000000 / GetParam().fps; }
};

TEST_P(PictureTest, EveryPictureComesOnceInOrderWithItsTime) {
    OpenedFile file(Sample());
    ASSERT_EQ(file.opened(), UMBREL_OK);
    UmbrelInfo info{};
    ASSERT_EQ(UMBREL_GetInfo(file.handle(), &info), UMBREL_OK);
    EXPECT_EQ(info.width, 160);
    EXPECT_EQ(info.height, 120);
    EXPECT_EQ(info.rateNum / info.rateDen, GetParam().fps);
    EXPECT_GT(info.fileBytes, 0);
    if (GetParam().container == Container::RawH264) {
        EXPECT_EQ(info.durationUs, 0) << "a raw stream's length is only a guess";
    } else {
        EXPECT_NEAR(info.durationUs, TimeOf(60), 50000);
    }

    BgraPicture picture(80, 60);
    int64_t lastPos = 0;
    for (int frame = 0; frame < 60; ++frame) {
        int64_t timeUs = -1;
        int64_t pos = -1;
        ASSERT_EQ(UMBREL_DecodePicture(file.handle(), &picture.picture, &timeUs, &pos), UMBREL_OK)
            << frame;
        ASSERT_EQ(picture.FrameNumber(), frame);
        EXPECT_NEAR(timeUs, TimeOf(frame), 1000) << frame;
        EXPECT_GE(pos, lastPos);
        lastPos = pos;
    }
    int64_t timeUs = 0;
    EXPECT_EQ(UMBREL_DecodePicture(file.handle(), &picture.picture, &timeUs, nullptr), UMBREL_END);
    EXPECT_EQ(UMBREL_DecodePicture(file.handle(), &picture.picture, &timeUs, nullptr), UMBREL_END);
}

TEST_P(PictureTest, SeekGivesThePictureAtThatTimeEitherWay) {
    OpenedFile file(Sample());
    ASSERT_EQ(file.opened(), UMBREL_OK);
    BgraPicture picture(160, 120);
    int64_t timeUs = 0;
    ASSERT_EQ(UMBREL_DecodePicture(file.handle(), &picture.picture, &timeUs, nullptr), UMBREL_OK);
    // Forward across a key frame, back to the start, into the middle of a group,
    // and beyond the end, which gives the last picture.
    for (int frame : {47, 2, 33, 0}) {
        SCOPED_TRACE(frame);
        ASSERT_EQ(UMBREL_Seek(file.handle(), TimeOf(frame)), UMBREL_OK);
        ASSERT_EQ(UMBREL_DecodePicture(file.handle(), &picture.picture, &timeUs, nullptr),
                  UMBREL_OK);
        EXPECT_EQ(picture.FrameNumber(), frame);
        EXPECT_NEAR(timeUs, TimeOf(frame), 1000);
        ASSERT_EQ(UMBREL_DecodePicture(file.handle(), &picture.picture, &timeUs, nullptr),
                  UMBREL_OK);
        EXPECT_EQ(picture.FrameNumber(), frame + 1);
    }
    ASSERT_EQ(UMBREL_Seek(file.handle(), TimeOf(500)), UMBREL_OK);
    ASSERT_EQ(UMBREL_DecodePicture(file.handle(), &picture.picture, &timeUs, nullptr), UMBREL_OK);
    EXPECT_EQ(picture.FrameNumber(), 59);
    EXPECT_EQ(UMBREL_DecodePicture(file.handle(), &picture.picture, &timeUs, nullptr), UMBREL_END);
}

INSTANTIATE_TEST_SUITE_P(Containers, PictureTest,
                         testing::Values(Source{"rec25b.rec", Container::Recorder, 25, true},
                                         Source{"mp4-30b.mp4", Container::Mp4, 30, true},
                                         Source{"raw30.264", Container::RawH264, 30, false},
                                         Source{"ts25.ts", Container::MpegTs, 25, false}),
                         [](const auto& info) { return std::string(ContainerName(info.param)); });

TEST(PictureLayout, I420PictureHoldsTheSameFrameAsBgra) {
    const std::string path = SampleFolder::Instance().Get(
        "rec25b.rec", ParamsOf(Source{"rec25b.rec", Container::Recorder, 25, true}));
    OpenedFile file(path);
    ASSERT_EQ(file.opened(), UMBREL_OK);
    // A padded I420 buffer: the picture goes exactly where the planes point.
    const int width = 320, height = 240, stride = 352;
    std::vector<uint8_t> y(stride * height, 16), u(stride / 2 * height / 2, 128),
        v(stride / 2 * height / 2, 128);
    UmbrelPicture picture{UMBREL_PIXEL_I420,
                          width,
                          height,
                          {y.data(), u.data(), v.data()},
                          {stride, stride / 2, stride / 2}};
    int64_t timeUs = 0;
    ASSERT_EQ(UMBREL_Seek(file.handle(), 400000), UMBREL_OK);
    ASSERT_EQ(UMBREL_DecodePicture(file.handle(), &picture, &timeUs, nullptr), UMBREL_OK);
    // The padding right of the picture is untouched.
    for (int row = 0; row < height; ++row) ASSERT_EQ(y[row * stride + width], 16) << row;

    // Convert to BGRA by hand (full-range approximation is enough for the block code).
    std::vector<uint8_t> bgra(width * height * 4);
    for (int row = 0; row < height; ++row) {
        for (int col = 0; col < width; ++col) {
            const int luma = std::clamp((y[row * stride + col] - 16) * 255 / 219, 0, 255);
            uint8_t* px = &bgra[(row * width + col) * 4];
            px[0] = px[1] = px[2] = static_cast<uint8_t>(luma);
            px[3] = 255;
        }
    }
    EXPECT_EQ(samplegen::ReadFrameNumber(bgra.data(), width, height, width * 4), 10);
}

}  // namespace
