#include "command_line.h"

#include <gtest/gtest.h>

namespace {

using samplegen::CommandLine;
using samplegen::Container;

TEST(SampleCommandLineTest, OptionsFillTheParameters) {
    CommandLine cl;
    std::string error;
    ASSERT_TRUE(samplegen::ParseCommandLine(
        {"--format", "mp4", "--size", "704x576", "--fps", "30000/1001", "--frames", "90", "--gop",
         "30", "--bframes", "--audio", "--start", "2024-02-29 23:59:58", "--watermark",
         "4294967295", "out.mp4"},
        &cl, &error))
        << error;
    EXPECT_EQ(cl.action, CommandLine::Action::WriteOne);
    EXPECT_EQ(cl.output, "out.mp4");
    EXPECT_EQ(cl.params.container, Container::Mp4);
    EXPECT_EQ(cl.params.width, 704);
    EXPECT_EQ(cl.params.height, 576);
    EXPECT_EQ(cl.params.fpsNum, 30000);
    EXPECT_EQ(cl.params.fpsDen, 1001);
    EXPECT_EQ(cl.params.frameCount, 90);
    EXPECT_EQ(cl.params.gop, 30);
    EXPECT_TRUE(cl.params.bFrames);
    EXPECT_TRUE(cl.params.audio);
    ASSERT_TRUE(cl.params.start);
    EXPECT_EQ(cl.params.start->day, 29);
    EXPECT_EQ(cl.params.start->second, 58);
    ASSERT_TRUE(cl.params.watermark);
    EXPECT_EQ(cl.params.watermark->serial, 4294967295u);
    EXPECT_EQ(cl.params.watermark->packedTime, samplegen::PackTime(*cl.params.start));
}

TEST(SampleCommandLineTest, WatermarkWithoutStartStillHasATime) {
    CommandLine cl;
    std::string error;
    ASSERT_TRUE(samplegen::ParseCommandLine({"--watermark", "7", "x.rec"}, &cl, &error));
    ASSERT_TRUE(cl.params.watermark);
    EXPECT_NE(cl.params.watermark->packedTime, 0u);
}

TEST(SampleCommandLineTest, BadArgumentsSayWhatIsWrong) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"--format", "avi", "x"},
        {"--size", "704", "x"},
        {"--size", "704x", "x"},
        {"--fps", "0", "x"},
        {"--fps", "25/0", "x"},
        {"--frames", "-3", "x"},
        {"--frames", "12abc", "x"},
        {"--gop"},
        {"--start", "2024-01-01", "x"},
        {"--start", "2024-01-01 10:00:00junk", "x"},
        {"--watermark", "4294967296", "x"},
        {"--format", "264", "--audio", "x.264"},
        {"--bogus", "x"},
        {"a", "b"},
        {"--demo", ""},
    };
    for (const auto& args : bad) {
        CommandLine cl;
        std::string error;
        std::string joined;
        for (const auto& a : args) joined += a + " ";
        EXPECT_FALSE(samplegen::ParseCommandLine(args, &cl, &error)) << joined;
        EXPECT_FALSE(error.empty()) << joined;
    }
}

TEST(SampleCommandLineTest, DemoAndHelpNeedNoOutput) {
    CommandLine cl;
    std::string error;
    ASSERT_TRUE(samplegen::ParseCommandLine({"--demo", "samples"}, &cl, &error));
    EXPECT_EQ(cl.action, CommandLine::Action::WriteDemo);
    EXPECT_EQ(cl.demoDir, "samples");
    ASSERT_TRUE(samplegen::ParseCommandLine({"--help"}, &cl, &error));
    EXPECT_EQ(cl.action, CommandLine::Action::ShowHelp);
}

}  // namespace
