// Failures are reported with a reason and never leave a partial file or
// damage a file already in place.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>

#include "sample_probe.h"
#include "samplegen/samplegen.h"

namespace {

using samplegen::Container;
using samplegen::SampleParams;
using namespace samplegen_test;

size_t EntriesIn(const std::string& dir) {
    return std::distance(std::filesystem::directory_iterator(dir), {});
}

SampleParams Small() {
    SampleParams params;
    params.width = 160;
    params.height = 120;
    params.frameCount = 10;
    return params;
}

TEST(SampleWriteFailureTest, ParametersThatCannotBeHonouredAreRefused) {
    TempFolder folder;
    std::vector<std::pair<const char*, SampleParams>> bad;
    auto add = [&](const char* what, auto change) {
        SampleParams params = Small();
        change(params);
        bad.emplace_back(what, params);
    };
    add("odd width", [](SampleParams& s) { s.width = 161; });
    add("tiny", [](SampleParams& s) { s.height = 16; });
    add("zero fps", [](SampleParams& s) { s.fpsNum = 0; });
    add("negative fps den", [](SampleParams& s) { s.fpsDen = -1; });
    add("no frames", [](SampleParams& s) { s.frameCount = 0; });
    add("too many frames", [](SampleParams& s) { s.frameCount = 1 << 20; });
    add("zero gop", [](SampleParams& s) { s.gop = 0; });
    add("30 February", [](SampleParams& s) { s.start = samplegen::StartTime{2024, 2, 30}; });
    add("year 2064", [](SampleParams& s) { s.start = samplegen::StartTime{2064, 1, 1}; });
    add("hour 24", [](SampleParams& s) { s.start = samplegen::StartTime{2024, 1, 1, 24}; });
    add("container", [](SampleParams& s) { s.container = static_cast<Container>(9); });
    for (const auto& [what, params] : bad) {
        std::string error;
        EXPECT_FALSE(samplegen::WriteSample(folder.Path("x"), params, &error)) << what;
        EXPECT_FALSE(error.empty()) << what;
    }
    EXPECT_EQ(EntriesIn(folder.Dir()), 0u);
    // A leap day is fine.
    SampleParams leap = Small();
    leap.start = samplegen::StartTime{2024, 2, 29};
    EXPECT_TRUE(samplegen::WriteSample(folder.Path("leap.rec"), leap));
}

TEST(SampleWriteFailureTest, MissingFolderIsReported) {
    TempFolder folder;
    std::string error;
    EXPECT_FALSE(samplegen::WriteSample(folder.Path("no/such/x.rec"), Small(), &error));
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;
    EXPECT_EQ(EntriesIn(folder.Dir()), 0u);
}

// Running out of room half-way (a file size limit stands in for a full disk)
// fails the write, removes the partial file and keeps the previous file.
TEST(SampleWriteFailureTest, RunningOutOfRoomKeepsThePreviousFile) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    for (Container container : {Container::Recorder, Container::Mp4, Container::MpegTs}) {
        TempFolder folder;
        SampleParams params = Small();
        params.container = container;
        params.frameCount = 60;
        params.audio = true;
        const std::string path = folder.Path("sample");
        ASSERT_TRUE(samplegen::WriteSample(path, params));
        const auto before = ReadFile(path);

        params.frameCount = 600;  // several times larger than the limit below
        rlimit limited = old;
        limited.rlim_cur = before.size() + 4096;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
        std::string error;
        const bool written = samplegen::WriteSample(path, params, &error);
        setrlimit(RLIMIT_FSIZE, &old);

        EXPECT_FALSE(written) << static_cast<int>(container);
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(ReadFile(path) == before) << static_cast<int>(container);
        EXPECT_EQ(EntriesIn(folder.Dir()), 1u) << static_cast<int>(container);
    }
    std::signal(SIGXFSZ, SIG_DFL);
}

}  // namespace
