// The frame number survives what the engine does to pictures before a test
// sees them: scaling, JPEG and BMP snapshots. Damaged or foreign pictures
// give -1, never a wrong number.

#include <gtest/gtest.h>

#include <random>

#include "sample_probe.h"
#include "samplegen/samplegen.h"

namespace {

using namespace samplegen_test;

class SampleFrameNumberTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_folder = new TempFolder;
        samplegen::SampleParams params;
        params.frameCount = 40;
        params.gop = 20;
        params.bFrames = true;
        std::string error;
        const std::string path = s_folder->Path("numbers.rec");
        ASSERT_TRUE(samplegen::WriteSample(path, params, &error)) << error;
        s_sample = new ProbedSample;
        ASSERT_TRUE(ProbeSample(path, true, s_sample, &error, true)) << error;
        ASSERT_EQ(s_sample->frames.size(), 40u);
    }
    static void TearDownTestSuite() {
        delete s_sample;
        delete s_folder;
    }
    static const ProbedFrame& Frame(int i) { return s_sample->frames[i]; }

    static constexpr int kWidth = 352, kHeight = 288;
    static TempFolder* s_folder;
    static ProbedSample* s_sample;
};
TempFolder* SampleFrameNumberTest::s_folder = nullptr;
ProbedSample* SampleFrameNumberTest::s_sample = nullptr;

TEST_F(SampleFrameNumberTest, SurvivesOddScalesAndJpegAndBmpSnapshots) {
    for (int i = 0; i < 40; ++i) {
        SCOPED_TRACE("frame " + std::to_string(i));
        const uint8_t* pixels = Frame(i).pixels.data();
        for (auto [w, h] : {std::pair{64, 48}, {100, 37}, {1000, 700}, {353, 289}}) {
            const auto scaled = ScaleBgra(pixels, kWidth, kHeight, 4 * kWidth, w, h);
            EXPECT_EQ(samplegen::ReadFrameNumber(scaled.data(), w, h, 4 * w), i) << w << "x" << h;
        }
        const auto small = ScaleBgra(pixels, kWidth, kHeight, 4 * kWidth, 64, 48);
        const auto jpeg = EncodeJpeg(small.data(), 64, 48, 10);  // about quality 70
        ASSERT_FALSE(jpeg.empty());
        EXPECT_EQ(samplegen::ReadFrameNumberFromImage(jpeg.data(), jpeg.size()), i);
        const auto bmp = EncodeBmp(pixels, kWidth, kHeight);
        ASSERT_FALSE(bmp.empty());
        EXPECT_EQ(samplegen::ReadFrameNumberFromImage(bmp.data(), bmp.size()), i);
    }
}

TEST_F(SampleFrameNumberTest, ReadsThroughAPaddedStride) {
    const int stride = 4 * kWidth + 64;
    std::vector<uint8_t> padded(static_cast<size_t>(stride) * kHeight, 0xAB);
    for (int y = 0; y < kHeight; ++y) {
        std::copy_n(&Frame(7).pixels[4 * kWidth * y], 4 * kWidth, &padded[stride * y]);
    }
    EXPECT_EQ(samplegen::ReadFrameNumber(padded.data(), kWidth, kHeight, stride), 7);
}

TEST_F(SampleFrameNumberTest, OneFlippedCellIsRejectedNotMisread) {
    // Cells are twelve to a row and the band's rows are each 1/8 of the
    // height; the first two cells of each row are the marker.
    for (int cell : {2, 5, 11, 14, 23}) {
        std::vector<uint8_t> pixels = Frame(13).pixels;
        const int row = cell / 12, column = cell % 12;
        for (int y = row * kHeight / 8; y < (row + 1) * kHeight / 8; ++y) {
            for (int x = column * kWidth / 12; x < (column + 1) * kWidth / 12; ++x) {
                for (int c = 0; c < 3; ++c) pixels[4 * (y * kWidth + x) + c] ^= 0xFF;
            }
        }
        EXPECT_EQ(samplegen::ReadFrameNumber(pixels.data(), kWidth, kHeight, 4 * kWidth), -1)
            << "cell " << cell;
    }
}

TEST(SampleFrameNumberReadTest, PicturesWithoutABandGiveMinusOne) {
    const int w = 160, h = 120;
    std::vector<uint8_t> gray(4 * w * h, 128);
    EXPECT_EQ(samplegen::ReadFrameNumber(gray.data(), w, h, 4 * w), -1);
    std::vector<uint8_t> noise(4 * w * h);
    std::mt19937 random(1234);
    for (uint8_t& byte : noise) byte = static_cast<uint8_t>(random());
    EXPECT_EQ(samplegen::ReadFrameNumber(noise.data(), w, h, 4 * w), -1);
    EXPECT_EQ(samplegen::ReadFrameNumber(nullptr, w, h, 4 * w), -1);
    EXPECT_EQ(samplegen::ReadFrameNumber(gray.data(), w, h, 4 * w - 1), -1);
    EXPECT_EQ(samplegen::ReadFrameNumber(gray.data(), 8, 8, 32), -1);
}

TEST(SampleImageReaderTest, SizesOfBmpAndJpegAndRefusalOfOtherBytes) {
    const int w = 70, h = 50;
    std::vector<uint8_t> pixels(4 * w * h, 200);
    const auto bmp = EncodeBmp(pixels.data(), w, h);
    const auto jpeg = EncodeJpeg(pixels.data(), w, h, 5);
    int width = 0, height = 0;
    ASSERT_TRUE(samplegen::ImageSize(bmp.data(), bmp.size(), &width, &height));
    EXPECT_EQ(width, w);
    EXPECT_EQ(height, h);
    ASSERT_TRUE(samplegen::ImageSize(jpeg.data(), jpeg.size(), &width, &height));
    EXPECT_EQ(width, w);
    EXPECT_EQ(height, h);
    EXPECT_EQ(samplegen::ReadFrameNumberFromImage(bmp.data(), bmp.size()), -1);

    const std::vector<uint8_t> garbage = {'B', 'M', 1, 2, 3, 4, 5, 6, 7, 8, 9};
    EXPECT_FALSE(samplegen::ImageSize(garbage.data(), garbage.size(), &width, &height));
    EXPECT_FALSE(samplegen::ImageSize(jpeg.data(), 16, &width, &height));
    EXPECT_FALSE(samplegen::ImageSize(bmp.data() + 2, bmp.size() - 2, &width, &height));
    EXPECT_FALSE(samplegen::ImageSize(nullptr, 0, &width, &height));
    EXPECT_EQ(samplegen::ReadFrameNumberFromImage(garbage.data(), garbage.size()), -1);
}

}  // namespace
