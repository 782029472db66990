// Every container the writer produces, read back through libavformat and the
// H.264 decoder: the facts the engine's tests build on.

#include <gtest/gtest.h>

#include <cmath>

#include "sample_probe.h"
#include "samplegen/samplegen.h"

extern "C" {
#include <libavutil/crc.h>
}

namespace {

using samplegen::Container;
using samplegen::SampleParams;
using samplegen::StartTime;
using namespace samplegen_test;

struct ContainerCase {
    const char* name;
    Container container;
    int fpsNum, fpsDen;
    int gop;
    bool bFrames;
    bool audio;
    const char* audioCodec;
};

void PrintTo(const ContainerCase& c, std::ostream* os) { *os << c.name; }

class SampleContainerTest : public testing::TestWithParam<ContainerCase> {};

TEST_P(SampleContainerTest, EveryPictureComesBackWithItsNumberTimeAndType) {
    const ContainerCase& c = GetParam();
    TempFolder folder;
    SampleParams params;
    params.container = c.container;
    params.width = 160;
    params.height = 120;
    params.fpsNum = c.fpsNum;
    params.fpsDen = c.fpsDen;
    params.frameCount = 50;
    params.gop = c.gop;
    params.bFrames = c.bFrames;
    params.audio = c.audio;
    const std::string path = folder.Path(c.name);
    std::string error;
    ASSERT_TRUE(samplegen::WriteSample(path, params, &error)) << error;

    ProbedSample probed;
    ASSERT_TRUE(ProbeSample(path, c.container == Container::Recorder, &probed, &error)) << error;
    EXPECT_EQ(probed.width, 160);
    EXPECT_EQ(probed.height, 120);
    EXPECT_EQ(probed.fpsNum * int64_t{c.fpsDen}, c.fpsNum * int64_t{probed.fpsDen})
        << probed.fpsNum << "/" << probed.fpsDen;
    EXPECT_EQ(probed.hasAudio, c.audio);
    if (c.audio) {
        EXPECT_EQ(probed.audioCodec, c.audioCodec);
        EXPECT_GT(probed.audioFrames, 0);
    }

    ASSERT_EQ(probed.frames.size(), 50u);
    bool sawB = false;
    for (int i = 0; i < 50; ++i) {
        const ProbedFrame& f = probed.frames[i];
        SCOPED_TRACE("frame " + std::to_string(i));
        EXPECT_EQ(f.number, i);
        EXPECT_EQ(f.numberSmall, i);
        if (c.container != Container::RawH264) {
            EXPECT_NEAR(f.seconds, double(i) * c.fpsDen / c.fpsNum, 1e-6);
        }
        EXPECT_EQ(f.key, i % c.gop == 0);
        if (f.key) {
            EXPECT_EQ(f.type, 'I');
        }
        sawB |= f.type == 'B';
    }
    EXPECT_EQ(sawB, c.bFrames);

    // Raw H.264 has no container clock; the others time every picture and
    // know how long they last.
    if (c.container != Container::RawH264) {
        EXPECT_EQ(probed.videoPacketsWithoutPts, 0);
        EXPECT_NEAR(probed.durationSeconds, 50.0 * c.fpsDen / c.fpsNum, 0.05);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Samples, SampleContainerTest,
    testing::Values(
        ContainerCase{"recorder_audio_b.rec", Container::Recorder, 25, 1, 25, true, true, "mp2"},
        ContainerCase{"recorder_plain.rec", Container::Recorder, 25, 1, 12, false, false, ""},
        ContainerCase{"raw_b.264", Container::RawH264, 25, 1, 10, true, false, ""},
        ContainerCase{"ntsc_audio_b.mp4", Container::Mp4, 30000, 1001, 15, true, true, "aac"},
        ContainerCase{"plain.mp4", Container::Mp4, 25, 1, 25, false, false, ""},
        ContainerCase{"audio.ts", Container::MpegTs, 30, 1, 10, false, true, "mp2"},
        ContainerCase{"audio_b.mkv", Container::Matroska, 25, 1, 25, true, true, "aac"}),
    [](const testing::TestParamInfo<ContainerCase>& info) {
        std::string name = info.param.name;
        for (char& ch : name) {
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        }
        return name;
    });

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t{b[at + 3]} << 24;
}
uint16_t Le16(const std::vector<uint8_t>& b, size_t at) { return b[at] | b[at + 1] << 8; }

TEST(SampleRecorderTest, HeadDescribesStreamAndStartAndStreamMapFollowsFirstPack) {
    TempFolder folder;
    SampleParams params;
    params.width = 160;
    params.height = 120;
    params.frameCount = 10;
    params.audio = true;
    params.start = StartTime{2024, 1, 1, 10, 0, 0};
    const std::string path = folder.Path("head.rec");
    std::string error;
    ASSERT_TRUE(samplegen::WriteSample(path, params, &error)) << error;
    const std::vector<uint8_t> bytes = ReadFile(path);
    ASSERT_GT(bytes.size(), 200u);

    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "IMXV");
    EXPECT_EQ(Le16(bytes, 8), 2);      // PS
    EXPECT_EQ(Le16(bytes, 10), 256);   // H.264
    EXPECT_EQ(Le16(bytes, 12), 8192);  // MPEG audio
    EXPECT_EQ(bytes[14], 1);
    EXPECT_EQ(bytes[15], 16);
    EXPECT_EQ(Le32(bytes, 16), 48000u);
    EXPECT_EQ(Le32(bytes, 24), samplegen::PackTime(*params.start));
    EXPECT_EQ(Le32(bytes, 24), (24u << 26) | (1u << 22) | (1u << 17) | (10u << 12));
    for (size_t i = 28; i < 40; ++i) EXPECT_EQ(bytes[i], 0) << i;

    // An MPEG-2 pack header right at byte 40.
    ASSERT_EQ(std::vector<uint8_t>(bytes.begin() + 40, bytes.begin() + 44),
              (std::vector<uint8_t>{0, 0, 1, 0xBA}));
    EXPECT_GE(bytes[44], 64);
    EXPECT_GE(bytes[53], 248);
    size_t at = 40 + 14 + (bytes[53] & 7);
    if (bytes[at + 3] == 0xBB) at += 6 + (bytes[at + 4] << 8 | bytes[at + 5]);

    // Then the stream map naming H.264 (0x1B) and MPEG audio (0x04).
    ASSERT_EQ(std::vector<uint8_t>(bytes.begin() + at, bytes.begin() + at + 4),
              (std::vector<uint8_t>{0, 0, 1, 0xBC}));
    const size_t mapBytes = 6 + (bytes[at + 4] << 8 | bytes[at + 5]);
    ASSERT_EQ(mapBytes, 6u + 10 + 2 * 4);
    const size_t entries = at + 12;
    EXPECT_EQ(bytes[entries], 0x1B);
    EXPECT_EQ(bytes[entries + 1] & 0xF0, 0xE0);
    EXPECT_EQ(bytes[entries + 4], 0x04);
    EXPECT_EQ(bytes[entries + 5] & 0xE0, 0xC0);
    // The CRC over the whole unit, itself included, leaves zero.
    EXPECT_EQ(av_crc(av_crc_get_table(AV_CRC_32_IEEE), UINT32_MAX, &bytes[at], mapBytes), 0u);
}

TEST(SampleRecorderTest, WithoutStartTimeOrAudioThoseHeadFieldsAreZero) {
    TempFolder folder;
    SampleParams params;
    params.width = 160;
    params.height = 120;
    params.frameCount = 5;
    const std::string path = folder.Path("bare.rec");
    ASSERT_TRUE(samplegen::WriteSample(path, params));
    const std::vector<uint8_t> bytes = ReadFile(path);
    ASSERT_GT(bytes.size(), 40u);
    for (size_t i = 12; i < 40; ++i) EXPECT_EQ(bytes[i], 0) << i;
}

TEST(SampleMp4Test, CreationTimeCarriesTheStartTimeOnlyWhenGiven) {
    TempFolder folder;
    for (const Container container : {Container::Mp4, Container::Matroska}) {
        const std::string ext = container == Container::Mp4 ? ".mp4" : ".mkv";
        SCOPED_TRACE(ext);
        SampleParams params;
        params.container = container;
        params.width = 160;
        params.height = 120;
        params.frameCount = 5;
        std::string error;
        ASSERT_TRUE(samplegen::WriteSample(folder.Path("none" + ext), params, &error)) << error;
        params.start = StartTime{2023, 12, 31, 23, 59, 58};
        ASSERT_TRUE(samplegen::WriteSample(folder.Path("timed" + ext), params, &error)) << error;

        ProbedSample timed, none;
        ASSERT_TRUE(ProbeSample(folder.Path("timed" + ext), false, &timed, &error)) << error;
        ASSERT_TRUE(ProbeSample(folder.Path("none" + ext), false, &none, &error)) << error;
        EXPECT_EQ(timed.tags["creation_time"], "2023-12-31T23:59:58.000000Z");
        EXPECT_EQ(none.tags.count("creation_time"), 0u);
    }
}

TEST(SampleDeterminismTest, SameParametersGiveSameBytes) {
    TempFolder folder;
    SampleParams params;
    params.width = 160;
    params.height = 120;
    params.frameCount = 30;
    params.bFrames = true;
    params.audio = true;
    params.start = StartTime{2024, 5, 6, 7, 8, 9};
    for (Container container : {Container::Recorder, Container::Mp4}) {
        params.container = container;
        ASSERT_TRUE(samplegen::WriteSample(folder.Path("a"), params));
        ASSERT_TRUE(samplegen::WriteSample(folder.Path("b"), params));
        const auto a = ReadFile(folder.Path("a")), b = ReadFile(folder.Path("b"));
        EXPECT_FALSE(a.empty());
        EXPECT_TRUE(a == b) << "container " << static_cast<int>(container);
    }
}

}  // namespace
