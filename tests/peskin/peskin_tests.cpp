#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "engine_test_support.h"
#include "peskin.h"

using enginetest::SampleFolder;
using samplegen::Container;

namespace {

struct Analysis {
    int32_t nResult = 0;
    PeskinFileInfo stInfo{};
    uint8_t byRaw[PESKIN_RECORD_BYTES] = {};
};

Analysis Analyze(const std::string& path) {
    Analysis a;
    const int32_t nHandle = PESKIN_CreateHandle();
    EXPECT_GT(nHandle, 0);
    std::memset(a.byRaw, 0xAB, sizeof a.byRaw);
    a.nResult = PESKIN_AnalyzeFile(nHandle, path.c_str(), a.byRaw);
    std::memcpy(&a.stInfo, a.byRaw, sizeof a.stInfo);
    EXPECT_EQ(PESKIN_DestroyHandle(nHandle), PESKIN_OK);
    return a;
}

samplegen::SampleParams Params(Container container, int frames, samplegen::StartTime start) {
    samplegen::SampleParams params;
    params.container = container;
    params.width = 160;
    params.height = 120;
    params.frameCount = frames;
    params.start = start;
    return params;
}

std::string CopyPrefix(const std::string& from, const std::string& name, size_t bytes) {
    const std::string to = SampleFolder::Instance().Path(name);
    std::ifstream in(from, std::ios::binary);
    std::vector<char> data(bytes);
    in.read(data.data(), static_cast<std::streamsize>(bytes));
    std::ofstream(to, std::ios::binary).write(data.data(), in.gcount());
    return to;
}

::testing::AssertionResult IsTime(const PeskinTime& t, uint32_t y, uint32_t mo, uint32_t d,
                                  uint32_t h, uint32_t mi, uint32_t s, uint32_t ms) {
    if (t.dwYear == y && t.dwMon == mo && t.dwDay == d && t.dwHour == h && t.dwMin == mi &&
        t.dwSec == s && t.dwMs == ms) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << t.dwYear << "-" << t.dwMon << "-" << t.dwDay << " " << t.dwHour << ":" << t.dwMin
           << ":" << t.dwSec << "." << t.dwMs;
}

}  // namespace

TEST(Peskin, RecorderHeadGivesStartAndEndAcrossMidnight) {
    // 100 pictures at 25 fps from 23:59:58: the last one shows at 00:00:01.960.
    const Analysis a = Analyze(SampleFolder::Instance().Get(
        "midnight.imx", Params(Container::Recorder, 100, {2024, 2, 29, 23, 59, 58})));
    ASSERT_EQ(a.nResult, PESKIN_OK);
    EXPECT_EQ(a.stInfo.nSize, 100u);
    EXPECT_EQ(a.stInfo.nTimeSource, uint32_t{PESKIN_TIME_RECORDER_HEAD});
    EXPECT_EQ(a.stInfo.nFrameMs, 40u);
    // The record is packed: 64-bit fields are copied before gtest binds a reference to them.
    EXPECT_EQ(int64_t{a.stInfo.nLastPictureMs}, 3960);
    EXPECT_EQ(int64_t{a.stInfo.nLengthMs}, 4000);
    EXPECT_TRUE(IsTime(a.stInfo.stStart, 2024, 2, 29, 23, 59, 58, 0));
    EXPECT_TRUE(IsTime(a.stInfo.stEnd, 2024, 3, 1, 0, 0, 2, 0));
    // The player reads the two records at bytes 44 and 72.
    uint32_t dwStartYear = 0, dwEndDay = 0;
    std::memcpy(&dwStartYear, a.byRaw + 44, 4);
    std::memcpy(&dwEndDay, a.byRaw + 72 + 8, 4);
    EXPECT_EQ(dwStartYear, 2024u);
    EXPECT_EQ(dwEndDay, 1u);
}

TEST(Peskin, Mp4CreationTimeWithBFramesAndSound) {
    samplegen::SampleParams params = Params(Container::Mp4, 75, {2023, 12, 31, 12, 0, 0});
    params.bFrames = true;
    params.audio = true;
    const Analysis a = Analyze(SampleFolder::Instance().Get("bframes.mp4", params));
    ASSERT_EQ(a.nResult, PESKIN_OK);
    EXPECT_EQ(a.stInfo.nTimeSource, uint32_t{PESKIN_TIME_CREATION_TAG});
    EXPECT_TRUE(IsTime(a.stInfo.stStart, 2023, 12, 31, 12, 0, 0, 0));
    EXPECT_TRUE(IsTime(a.stInfo.stEnd, 2023, 12, 31, 12, 0, 3, 0));
}

TEST(Peskin, FilesWithoutTimeAreRefused) {
    samplegen::SampleParams params = Params(Container::Mp4, 25, {});
    params.start.reset();
    EXPECT_EQ(Analyze(SampleFolder::Instance().Get("notime.mp4", params)).nResult,
              PESKIN_ERR_NO_TIME);
    params.container = Container::Recorder;
    EXPECT_EQ(Analyze(SampleFolder::Instance().Get("notime.imx", params)).nResult,
              PESKIN_ERR_NO_TIME);
    params.container = Container::RawH264;
    EXPECT_EQ(Analyze(SampleFolder::Instance().Get("notime.264", params)).nResult,
              PESKIN_ERR_NO_TIME);
    params.container = Container::MpegTs;
    const Analysis ts = Analyze(SampleFolder::Instance().Get("notime.ts", params));
    EXPECT_EQ(ts.nResult, PESKIN_ERR_NO_TIME);
    // A failed analysis leaves no half-filled record behind.
    for (uint8_t b : ts.byRaw) ASSERT_EQ(b, 0);
}

TEST(Peskin, EmptyTruncatedAndRandomFilesAreRefused) {
    const std::string mp4 =
        SampleFolder::Instance().Get("whole.mp4", Params(Container::Mp4, 50, {2024, 5, 1, 8}));
    const std::string rec =
        SampleFolder::Instance().Get("whole.imx", Params(Container::Recorder, 50, {2024, 5, 1, 8}));
    EXPECT_EQ(Analyze(CopyPrefix(mp4, "empty.mp4", 0)).nResult, PESKIN_ERR_OPEN);
    EXPECT_EQ(Analyze(SampleFolder::Instance().Path("missing.mp4")).nResult, PESKIN_ERR_OPEN);
    EXPECT_EQ(Analyze("").nResult, PESKIN_ERR_ARGUMENT);
    EXPECT_EQ(Analyze(SampleFolder::Instance().Path("")).nResult, PESKIN_ERR_OPEN);  // a folder
    // An MP4 whose tables were never written cannot be timed.
    EXPECT_LT(Analyze(CopyPrefix(mp4, "cut.mp4", 4000)).nResult, 0);
    // A recorder head with no pictures after it.
    EXPECT_EQ(Analyze(CopyPrefix(rec, "head-only.imx", 40)).nResult, PESKIN_ERR_DAMAGED);

    const std::string random = SampleFolder::Instance().Path("random.mp4");
    std::mt19937 gen(7);
    std::vector<char> junk(512 * 1024);
    for (char& c : junk) c = static_cast<char>(gen());
    std::ofstream(random, std::ios::binary).write(junk.data(), junk.size());
    EXPECT_LT(Analyze(random).nResult, 0);
    // Random bytes behind a valid recorder head hold no picture.
    std::memcpy(junk.data(), "IMXV", 4);
    std::ifstream(rec, std::ios::binary).read(junk.data(), 40);
    const std::string junkRec = SampleFolder::Instance().Path("junk.imx");
    std::ofstream(junkRec, std::ios::binary).write(junk.data(), junk.size());
    EXPECT_EQ(Analyze(junkRec).nResult, PESKIN_ERR_DAMAGED);
}

TEST(Peskin, TruncatedRecordingEndsAtItsLastWholePicture) {
    const std::string rec =
        SampleFolder::Instance().Get("long.imx", Params(Container::Recorder, 250, {2024, 5, 1, 8}));
    const Analysis whole = Analyze(rec);
    ASSERT_EQ(whole.nResult, PESKIN_OK);
    EXPECT_EQ(int64_t{whole.stInfo.nLengthMs}, 10000);
    const Analysis half = Analyze(CopyPrefix(rec, "half.imx", std::filesystem::file_size(rec) / 2));
    ASSERT_EQ(half.nResult, PESKIN_OK);
    EXPECT_GT(int64_t{half.stInfo.nLengthMs}, 3000);
    EXPECT_LT(int64_t{half.stInfo.nLengthMs}, 7000);
    EXPECT_TRUE(IsTime(half.stInfo.stStart, 2024, 5, 1, 8, 0, 0, 0));
}

TEST(Peskin, HandlesAreCheckedAndLimited) {
    uint8_t byRecord[PESKIN_RECORD_BYTES] = {};
    const std::string rec = SampleFolder::Instance().Get(
        "handles.imx", Params(Container::Recorder, 25, {2024, 5, 1, 8}));
    EXPECT_EQ(PESKIN_AnalyzeFile(-1, rec.c_str(), byRecord), PESKIN_ERR_HANDLE);
    EXPECT_EQ(PESKIN_AnalyzeFile(0, rec.c_str(), byRecord), PESKIN_ERR_HANDLE);
    EXPECT_EQ(PESKIN_AnalyzeFile(PESKIN_MAX_HANDLES + 1, rec.c_str(), byRecord), PESKIN_ERR_HANDLE);
    EXPECT_EQ(PESKIN_DestroyHandle(12345), PESKIN_ERR_HANDLE);

    std::vector<int32_t> handles;
    for (int i = 0; i < PESKIN_MAX_HANDLES; ++i) {
        handles.push_back(PESKIN_CreateHandle());
        ASSERT_GT(handles.back(), 0);
    }
    EXPECT_EQ(PESKIN_CreateHandle(), -1);
    const int32_t nHandle = handles.back();
    EXPECT_EQ(PESKIN_AnalyzeFile(nHandle, rec.c_str(), nullptr), PESKIN_ERR_ARGUMENT);
    EXPECT_EQ(PESKIN_AnalyzeFile(nHandle, nullptr, byRecord), PESKIN_ERR_ARGUMENT);
    EXPECT_EQ(PESKIN_AnalyzeFile(nHandle, rec.c_str(), byRecord), PESKIN_OK);
    for (int32_t h : handles) EXPECT_EQ(PESKIN_DestroyHandle(h), PESKIN_OK);
    // A destroyed handle is refused.
    EXPECT_EQ(PESKIN_AnalyzeFile(nHandle, rec.c_str(), byRecord), PESKIN_ERR_HANDLE);
    EXPECT_EQ(PESKIN_DestroyHandle(nHandle), PESKIN_ERR_HANDLE);
}
