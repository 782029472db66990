// Watermarks reach the decoder's side data on key frames, intact even when
// the record holds byte runs that need emulation prevention.

#include <gtest/gtest.h>

#include <cstring>

#include "sample_probe.h"
#include "samplegen/samplegen.h"

namespace {

using samplegen::Container;
using namespace samplegen_test;

std::vector<uint8_t> ExpectedPayload(const samplegen::Watermark& w) {
    std::vector<uint8_t> p(samplegen::kWatermarkUuid, samplegen::kWatermarkUuid + 16);
    for (uint32_t v : {w.packedTime, w.serial}) {
        for (int i = 0; i < 4; ++i) p.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    p.insert(p.end(), w.mac, w.mac + 6);
    p.push_back(w.deviceType);
    p.push_back(w.deviceInfo);
    p.push_back(w.channel);
    return p;
}

// Payloads that start with our UUID.
std::vector<std::vector<uint8_t>> Watermarks(const ProbedFrame& frame) {
    std::vector<std::vector<uint8_t>> found;
    for (const auto& payload : frame.unregisteredSei) {
        if (payload.size() >= 16 &&
            std::memcmp(payload.data(), samplegen::kWatermarkUuid, 16) == 0) {
            found.push_back(payload);
        }
    }
    return found;
}

class SampleWatermarkTest : public testing::TestWithParam<Container> {};

TEST_P(SampleWatermarkTest, EveryKeyFrameAndOnlyKeyFramesCarryTheRecord) {
    samplegen::Watermark w;
    // Zero runs followed by small bytes: 00 00 03 must be escaped in the NAL unit.
    w.packedTime = samplegen::PackTime({2000, 1, 1, 0, 0, 1});
    w.serial = 0x00000300;
    const uint8_t mac[6] = {0x00, 0x00, 0x01, 0x00, 0x00, 0x02};
    std::memcpy(w.mac, mac, 6);
    w.deviceType = 0;
    w.deviceInfo = 0;
    w.channel = 3;

    TempFolder folder;
    samplegen::SampleParams params;
    params.container = GetParam();
    params.width = 160;
    params.height = 120;
    params.frameCount = 30;
    params.gop = 10;
    params.bFrames = true;
    params.watermark = w;
    const std::string path = folder.Path("marked");
    std::string error;
    ASSERT_TRUE(samplegen::WriteSample(path, params, &error)) << error;

    ProbedSample probed;
    ASSERT_TRUE(ProbeSample(path, GetParam() == Container::Recorder, &probed, &error)) << error;
    ASSERT_EQ(probed.frames.size(), 30u);
    const auto expected = ExpectedPayload(w);
    for (int i = 0; i < 30; ++i) {
        SCOPED_TRACE("frame " + std::to_string(i));
        EXPECT_EQ(probed.frames[i].number, i);
        const auto marks = Watermarks(probed.frames[i]);
        if (i % 10 == 0) {
            ASSERT_EQ(marks.size(), 1u);
            EXPECT_EQ(marks[0], expected);
        } else {
            EXPECT_TRUE(marks.empty());
        }
    }
}

std::string ContainerName(const testing::TestParamInfo<Container>& info) {
    static const char* const kNames[] = {"Recorder", "RawH264", "Mp4", "MpegTs"};
    return kNames[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Containers, SampleWatermarkTest,
                         testing::Values(Container::Recorder, Container::RawH264, Container::Mp4,
                                         Container::MpegTs),
                         ContainerName);

TEST(SampleNoWatermarkTest, PlainStreamCarriesNoRecord) {
    TempFolder folder;
    samplegen::SampleParams params;
    params.container = Container::RawH264;
    params.width = 160;
    params.height = 120;
    params.frameCount = 10;
    const std::string path = folder.Path("plain.264");
    std::string error;
    ASSERT_TRUE(samplegen::WriteSample(path, params, &error)) << error;
    ProbedSample probed;
    ASSERT_TRUE(ProbeSample(path, false, &probed, &error)) << error;
    for (const auto& frame : probed.frames) EXPECT_TRUE(Watermarks(frame).empty());
}

TEST(SamplePackTimeTest, FieldsLandInTheirBits) {
    EXPECT_EQ(samplegen::PackTime({2000, 0, 0, 0, 0, 1}), 1u);
    EXPECT_EQ(samplegen::PackTime({2063, 12, 31, 23, 59, 59}),
              (63u << 26) | (12u << 22) | (31u << 17) | (23u << 12) | (59u << 6) | 59u);
    // An out-of-range field does not spill into its neighbours.
    EXPECT_EQ(samplegen::PackTime({2000, 0, 0, 0, 64, 0}), 0u);
}

}  // namespace
