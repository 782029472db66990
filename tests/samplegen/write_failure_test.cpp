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
using samplegen::SampleSpec;
using namespace samplegen_test;

size_t EntriesIn(const std::string& dir) {
    return std::distance(std::filesystem::directory_iterator(dir), {});
}

SampleSpec Small() {
    SampleSpec spec;
    spec.width = 160;
    spec.height = 120;
    spec.frameCount = 10;
    return spec;
}

TEST(SampleWriteFailureTest, SpecsThatCannotBeHonouredAreRefused) {
    TempFolder folder;
    std::vector<std::pair<const char*, SampleSpec>> bad;
    auto add = [&](const char* what, auto change) {
        SampleSpec spec = Small();
        change(spec);
        bad.emplace_back(what, spec);
    };
    add("odd width", [](SampleSpec& s) { s.width = 161; });
    add("tiny", [](SampleSpec& s) { s.height = 16; });
    add("zero fps", [](SampleSpec& s) { s.fpsNum = 0; });
    add("negative fps den", [](SampleSpec& s) { s.fpsDen = -1; });
    add("no frames", [](SampleSpec& s) { s.frameCount = 0; });
    add("too many frames", [](SampleSpec& s) { s.frameCount = 1 << 20; });
    add("zero gop", [](SampleSpec& s) { s.gop = 0; });
    add("30 February", [](SampleSpec& s) { s.start = samplegen::StartTime{2024, 2, 30}; });
    add("year 2064", [](SampleSpec& s) { s.start = samplegen::StartTime{2064, 1, 1}; });
    add("hour 24", [](SampleSpec& s) { s.start = samplegen::StartTime{2024, 1, 1, 24}; });
    add("container", [](SampleSpec& s) { s.container = static_cast<Container>(9); });
    for (const auto& [what, spec] : bad) {
        std::string error;
        EXPECT_FALSE(samplegen::WriteSample(folder.Path("x"), spec, &error)) << what;
        EXPECT_FALSE(error.empty()) << what;
    }
    EXPECT_EQ(EntriesIn(folder.Dir()), 0u);
    // A leap day is fine.
    SampleSpec leap = Small();
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
        SampleSpec spec = Small();
        spec.container = container;
        spec.frameCount = 60;
        spec.audio = true;
        const std::string path = folder.Path("sample");
        ASSERT_TRUE(samplegen::WriteSample(path, spec));
        const auto before = ReadFile(path);

        spec.frameCount = 600;  // several times larger than the limit below
        rlimit limited = old;
        limited.rlim_cur = before.size() + 4096;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
        std::string error;
        const bool written = samplegen::WriteSample(path, spec, &error);
        setrlimit(RLIMIT_FSIZE, &old);

        EXPECT_FALSE(written) << static_cast<int>(container);
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(ReadFile(path) == before) << static_cast<int>(container);
        EXPECT_EQ(EntriesIn(folder.Dir()), 1u) << static_cast<int>(container);
    }
    std::signal(SIGXFSZ, SIG_DFL);
}

}  // namespace
