#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "engine_test_support.h"
#include "umbrel.h"
#include "umbrel_test_support.h"

using enginetest::SampleFolder;
using samplegen::Container;
using umbreltest::BgraPicture;
using umbreltest::OpenedFile;

namespace {

samplegen::SampleParams WithSound(Container container) {
    samplegen::SampleParams params;
    params.container = container;
    params.width = 160;
    params.height = 120;
    params.frameCount = 75;  // three seconds at 25 fps
    params.audio = true;
    return params;
}

class SoundTest : public testing::TestWithParam<Container> {};

TEST_P(SoundTest, SoundOfTheWholeFileArrivesAtTheAskedRateAlongsideThePictures) {
    const std::string name = GetParam() == Container::Mp4 ? "sound.mp4" : "sound.rec";
    OpenedFile file(SampleFolder::Instance().Get(name, WithSound(GetParam())));
    ASSERT_EQ(file.opened(), UMBREL_OK);
    UmbrelInfo info{};
    ASSERT_EQ(UMBREL_GetInfo(file.handle(), &info), UMBREL_OK);
    ASSERT_EQ(info.hasSound, 1);
    EXPECT_GT(info.soundRate, 0);
    EXPECT_NEAR(info.durationUs, 3000000, 100000);
    ASSERT_EQ(UMBREL_CollectSound(file.handle(), 22050, 2), UMBREL_OK);

    BgraPicture picture(64, 48);
    std::vector<int16_t> samples(4096 * 2);
    int64_t soundFrames = 0, firstUs = INT64_MIN, pictureUs = 0;
    double energy = 0;
    auto drain = [&] {
        for (;;) {
            int32_t frames = 0;
            int64_t timeUs = 0;
            ASSERT_EQ(UMBREL_ReadSound(file.handle(), samples.data(), 4096, &frames, &timeUs),
                      UMBREL_OK);
            if (frames == 0) return;
            if (firstUs == INT64_MIN) firstUs = timeUs;
            // Each read continues where the last left off.
            EXPECT_NEAR(timeUs, firstUs + soundFrames * 1000000 / 22050, 30000);
            for (int i = 0; i < frames * 2; ++i) energy += std::abs(samples[i]);
            soundFrames += frames;
        }
    };
    int pictures = 0;
    while (UMBREL_DecodePicture(file.handle(), &picture.picture, &pictureUs, nullptr) ==
           UMBREL_OK) {
        ++pictures;
        drain();
        // Sound is never far behind the picture it belongs with.
        if (pictureUs > 500000) {
            EXPECT_GT(firstUs + soundFrames * 1000000 / 22050, pictureUs - 500000);
        }
    }
    drain();
    EXPECT_EQ(pictures, 75);
    EXPECT_NEAR(firstUs, 0, 100000);
    EXPECT_NEAR(static_cast<double>(soundFrames), 3.0 * 22050, 0.1 * 22050);
    EXPECT_GT(energy / (soundFrames * 2.0), 100.0) << "the tone is audible";
}

INSTANTIATE_TEST_SUITE_P(Containers, SoundTest,
                         testing::Values(Container::Mp4, Container::Recorder));

TEST(SoundCollection, FileWithoutSoundGivesNoneAndBadFormatsAreRefused) {
    samplegen::SampleParams params = WithSound(Container::RawH264);
    params.audio = false;
    OpenedFile file(SampleFolder::Instance().Get("silent.264", params));
    ASSERT_EQ(file.opened(), UMBREL_OK);
    EXPECT_EQ(UMBREL_CollectSound(file.handle(), 44100, 3), UMBREL_ERR_ARGUMENT);
    EXPECT_EQ(UMBREL_CollectSound(file.handle(), 0, 2), UMBREL_ERR_ARGUMENT);
    ASSERT_EQ(UMBREL_CollectSound(file.handle(), 44100, 1), UMBREL_OK);
    BgraPicture picture(64, 48);
    int64_t timeUs = 0;
    while (UMBREL_DecodePicture(file.handle(), &picture.picture, &timeUs, nullptr) == UMBREL_OK) {
    }
    int16_t samples[64];
    int32_t frames = -1;
    ASSERT_EQ(UMBREL_ReadSound(file.handle(), samples, 64, &frames, &timeUs), UMBREL_OK);
    EXPECT_EQ(frames, 0);
}

TEST(BadInput, MissingDamagedAndEmptyFilesAreRefusedWithTheirReason) {
    int32_t handle = 0;
    EXPECT_EQ(UMBREL_Open(nullptr, &handle), UMBREL_ERR_NULL_POINTER);
    EXPECT_EQ(UMBREL_Open("x", nullptr), UMBREL_ERR_NULL_POINTER);
    EXPECT_EQ(UMBREL_Open("/no/such/file.mp4", &handle), UMBREL_ERR_OPEN_FILE);
    EXPECT_EQ(UMBREL_Open("/tmp", &handle), UMBREL_ERR_OPEN_FILE);
    const std::string empty = SampleFolder::Instance().Path("empty.mp4");
    std::ofstream(empty).close();
    EXPECT_EQ(UMBREL_Open(empty.c_str(), &handle), UMBREL_ERR_FILE_FORMAT);
    const std::string junk = SampleFolder::Instance().Path("junk.mp4");
    {
        std::ofstream out(junk, std::ios::binary);
        for (int i = 0; i < 100000; ++i) out.put(static_cast<char>((i * 7919) >> 3));
    }
    EXPECT_EQ(UMBREL_Open(junk.c_str(), &handle), UMBREL_ERR_FILE_FORMAT);
    EXPECT_EQ(handle, 0) << "no handle is handed out on failure";
}

TEST(BadInput, TruncatedFileGivesItsWholePicturesThenEnds) {
    samplegen::SampleParams params = WithSound(Container::Recorder);
    params.audio = false;
    const std::string whole = SampleFolder::Instance().Get("whole.rec", params);
    const std::string cut = SampleFolder::Instance().Path("cut.rec");
    {
        std::ifstream in(whole, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), {});
        std::ofstream(cut, std::ios::binary).write(bytes.data(), bytes.size() / 2);
    }
    OpenedFile file(cut);
    ASSERT_EQ(file.opened(), UMBREL_OK);
    BgraPicture picture(64, 48);
    int64_t timeUs = 0;
    std::vector<int> numbers;
    int result = UMBREL_OK;
    while ((result = UMBREL_DecodePicture(file.handle(), &picture.picture, &timeUs, nullptr)) ==
           UMBREL_OK) {
        numbers.push_back(picture.FrameNumber());
    }
    EXPECT_EQ(result, UMBREL_END);
    ASSERT_GT(numbers.size(), 20u);
    EXPECT_LT(numbers.size(), 75u);
    // The picture cut in two may be patched from the one before it.
    for (size_t i = 0; i + 1 < numbers.size(); ++i) EXPECT_EQ(numbers[i], static_cast<int>(i));
}

TEST(BadInput, StrangeHandlesPointersAndBuffersAreRefused) {
    BgraPicture picture(64, 48);
    int64_t timeUs = 0;
    UmbrelInfo info{};
    int16_t samples[8];
    int32_t frames = 0;
    for (int32_t bad : {0, -1, 65, 12345}) {
        EXPECT_EQ(UMBREL_GetInfo(bad, &info), UMBREL_ERR_BAD_HANDLE);
        EXPECT_EQ(UMBREL_DecodePicture(bad, &picture.picture, &timeUs, nullptr),
                  UMBREL_ERR_BAD_HANDLE);
        EXPECT_EQ(UMBREL_ReadSound(bad, samples, 4, &frames, &timeUs), UMBREL_ERR_BAD_HANDLE);
        EXPECT_EQ(UMBREL_Seek(bad, 0), UMBREL_ERR_BAD_HANDLE);
        EXPECT_EQ(UMBREL_CollectSound(bad, 44100, 2), UMBREL_ERR_BAD_HANDLE);
        EXPECT_EQ(UMBREL_Close(bad), UMBREL_ERR_BAD_HANDLE);
    }

    samplegen::SampleParams params = WithSound(Container::Recorder);
    params.audio = false;
    int32_t handle = 0;
    ASSERT_EQ(UMBREL_Open(SampleFolder::Instance().Get("whole.rec", params).c_str(), &handle),
              UMBREL_OK);
    EXPECT_EQ(UMBREL_GetInfo(handle, nullptr), UMBREL_ERR_NULL_POINTER);
    EXPECT_EQ(UMBREL_DecodePicture(handle, nullptr, &timeUs, nullptr), UMBREL_ERR_NULL_POINTER);
    EXPECT_EQ(UMBREL_ReadSound(handle, nullptr, 4, &frames, &timeUs), UMBREL_ERR_NULL_POINTER);
    UmbrelPicture odd = picture.picture;
    odd.pixel = UMBREL_PIXEL_I420;
    odd.width = 63;
    EXPECT_EQ(UMBREL_DecodePicture(handle, &odd, &timeUs, nullptr), UMBREL_ERR_ARGUMENT);
    UmbrelPicture narrow = picture.picture;
    narrow.strides[0] = 64;
    EXPECT_EQ(UMBREL_DecodePicture(handle, &narrow, &timeUs, nullptr), UMBREL_ERR_ARGUMENT);
    UmbrelPicture unknown = picture.picture;
    unknown.pixel = 7;
    EXPECT_EQ(UMBREL_DecodePicture(handle, &unknown, &timeUs, nullptr), UMBREL_ERR_ARGUMENT);
    // The refusals cost no picture.
    ASSERT_EQ(UMBREL_DecodePicture(handle, &picture.picture, &timeUs, nullptr), UMBREL_OK);
    EXPECT_EQ(picture.FrameNumber(), 0);
    EXPECT_EQ(UMBREL_Close(handle), UMBREL_OK);
    EXPECT_EQ(UMBREL_Close(handle), UMBREL_ERR_BAD_HANDLE);
    EXPECT_EQ(UMBREL_DecodePicture(handle, &picture.picture, &timeUs, nullptr),
              UMBREL_ERR_BAD_HANDLE);
}

}  // namespace
