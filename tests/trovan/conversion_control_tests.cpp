#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

#include "engine_test_support.h"
#include "trovan_test_support.h"

using enginetest::SampleFolder;
using samplegen::Container;
using trovantest::Convert;
using trovantest::OutputFolder;
using trovantest::PlayerParams;

namespace {

// Long enough that a conversion is still running when the test acts on it.
std::string LongSample() {
    samplegen::SampleParams params;
    params.container = Container::Recorder;
    params.width = 704;
    params.height = 576;
    params.frameCount = 400;
    params.gop = 50;
    params.audio = true;
    return SampleFolder::Instance().Get("long.rec", params);
}

std::string ShortSample() {
    samplegen::SampleParams params;
    params.container = Container::Mp4;
    params.width = 160;
    params.height = 120;
    params.frameCount = 20;
    return SampleFolder::Instance().Get("short.mp4", params);
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A started conversion on a fresh handle, released when the test ends.
class Started {
public:
    Started(const std::string& source, const std::string& target) {
        EXPECT_EQ(TROVAN_Create(&m_handle), TROVAN_OK);
        const TrovanParams params = PlayerParams();
        EXPECT_EQ(TROVAN_Initial(m_handle, source.c_str(), target.c_str()), TROVAN_OK);
        EXPECT_EQ(TROVAN_SetPara(m_handle, &params), TROVAN_OK);
        EXPECT_EQ(TROVAN_Start(m_handle), TROVAN_OK);
    }
    ~Started() { TROVAN_Release(m_handle); }
    int32_t handle() const { return m_handle; }
    // Waits until the conversion has made some progress.
    void WaitForProgress() const {
        for (int i = 0; i < 3000; ++i) {
            int32_t percent = 0;
            ASSERT_EQ(TROVAN_GetConvertPerc(m_handle, &percent), TROVAN_OK);
            ASSERT_LT(percent, 100) << "finished before the test could act";
            if (percent > 0) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        FAIL() << "no progress";
    }

private:
    int32_t m_handle = 0;
};

TEST(ConversionControl, StopAndReleaseEndTheConversionAndLeaveTheOldTargetAlone) {
    const std::string source = LongSample();
    OutputFolder folder;
    const std::string target = folder.Path("kept.avi");
    std::ofstream(target) << "an earlier file";
    {
        Started running(source, target);
        running.WaitForProgress();
        const auto before = std::chrono::steady_clock::now();
        ASSERT_EQ(TROVAN_Stop(running.handle()), TROVAN_OK);
        EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(1));
        EXPECT_EQ(folder.Files(), std::vector<std::string>{"kept.avi"});
        EXPECT_EQ(ReadAll(target), "an earlier file");
        // A stopped conversion is not a failure, and it can start again.
        int32_t percent = -1;
        EXPECT_EQ(TROVAN_GetConvertPerc(running.handle(), &percent), TROVAN_OK);
        EXPECT_LT(percent, 100);
        ASSERT_EQ(TROVAN_Start(running.handle()), TROVAN_OK);
        running.WaitForProgress();
    }
    // Released while running: the handle is gone and so is the partial file.
    EXPECT_EQ(folder.Files(), std::vector<std::string>{"kept.avi"});
    EXPECT_EQ(ReadAll(target), "an earlier file");
}

TEST(ConversionControl, HandleConvertsAgainAfterFinishingAndPercentStartsOver) {
    OutputFolder folder;
    int32_t handle = 0;
    ASSERT_EQ(TROVAN_Create(&handle), TROVAN_OK);
    const TrovanParams params = PlayerParams();
    for (const char* name : {"first.avi", "second.avi"}) {
        ASSERT_EQ(TROVAN_Initial(handle, ShortSample().c_str(), folder.Path(name).c_str()),
                  TROVAN_OK);
        ASSERT_EQ(TROVAN_SetPara(handle, &params), TROVAN_OK);
        ASSERT_EQ(TROVAN_Start(handle), TROVAN_OK);
        // Changing the job while it runs is refused.
        const int32_t again = TROVAN_Start(handle);
        int32_t percent = 0;
        for (int i = 0; i < 2000 && percent < 100; ++i) {
            ASSERT_EQ(TROVAN_GetConvertPerc(handle, &percent), TROVAN_OK);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        ASSERT_EQ(percent, 100);
        EXPECT_TRUE(again == TROVAN_ERR_ORDER);
        // Stop after the end keeps the finished file.
        EXPECT_EQ(TROVAN_Stop(handle), TROVAN_OK);
        EXPECT_TRUE(trovantest::ReadAvi(folder.Path(name)).opened);
    }
    EXPECT_EQ(folder.Files().size(), 2u);
    EXPECT_EQ(TROVAN_Release(handle), TROVAN_OK);
}

TEST(ConversionFailure, MissingOrUnusablePathsFailBeforeStartingAndWriteNothing) {
    OutputFolder folder;
    const std::string source = ShortSample();
    const std::string before = ReadAll(source);
    EXPECT_EQ(Convert(folder.Path("missing.mp4"), folder.Path("a.avi"), PlayerParams()),
              TROVAN_ERR_SOURCE);
    EXPECT_EQ(Convert(folder.Path(""), folder.Path("a.avi"), PlayerParams()), TROVAN_ERR_SOURCE);
    EXPECT_EQ(Convert(source, folder.Path("no-folder/a.avi"), PlayerParams()), TROVAN_ERR_TARGET);
    EXPECT_EQ(Convert(source, folder.Path(""), PlayerParams()), TROVAN_ERR_TARGET);
    // The source itself as target would lose the recording.
    EXPECT_EQ(Convert(source, source, PlayerParams()), TROVAN_ERR_TARGET);
    EXPECT_EQ(ReadAll(source), before);
    TrovanParams odd = PlayerParams();
    odd.nWidth = 701;
    EXPECT_EQ(Convert(source, folder.Path("a.avi"), odd), TROVAN_ERR_PARAMETER);
    EXPECT_TRUE(folder.Files().empty());
}

TEST(ConversionFailure, SourceThatIsNoRecordingIsReportedAfterStartAndLeavesNoFile) {
    OutputFolder folder;
    const std::string junk = folder.Path("junk.mp4");
    {
        std::ofstream out(junk, std::ios::binary);
        for (int i = 0; i < 200000; ++i) out.put(static_cast<char>((i * 7919) >> 5));
    }
    std::vector<int> percents;
    EXPECT_EQ(Convert(junk, folder.Path("junk.avi"), PlayerParams(), &percents),
              TROVAN_ERR_CONVERT);
    ASSERT_FALSE(percents.empty());
    EXPECT_LT(percents.back(), 100);
    EXPECT_EQ(folder.Files(), std::vector<std::string>{"junk.mp4"});
}

TEST(ConversionFailure, BadHandlesAndNullPointersAreRefused) {
    const TrovanParams params = PlayerParams();
    int32_t percent = 0;
    EXPECT_EQ(TROVAN_Create(nullptr), TROVAN_ERR_NULL_POINTER);
    for (int32_t bad : {0, -1, 17, 999}) {
        EXPECT_EQ(TROVAN_Initial(bad, "a", "b"), TROVAN_ERR_BAD_HANDLE);
        EXPECT_EQ(TROVAN_SetPara(bad, &params), TROVAN_ERR_BAD_HANDLE);
        EXPECT_EQ(TROVAN_Start(bad), TROVAN_ERR_BAD_HANDLE);
        EXPECT_EQ(TROVAN_GetConvertPerc(bad, &percent), TROVAN_ERR_BAD_HANDLE);
        EXPECT_EQ(TROVAN_Stop(bad), TROVAN_ERR_BAD_HANDLE);
        EXPECT_EQ(TROVAN_Release(bad), TROVAN_ERR_BAD_HANDLE);
    }
    int32_t handle = 0;
    ASSERT_EQ(TROVAN_Create(&handle), TROVAN_OK);
    EXPECT_EQ(TROVAN_Start(handle), TROVAN_ERR_ORDER) << "nothing to convert yet";
    EXPECT_EQ(TROVAN_Initial(handle, nullptr, "b"), TROVAN_ERR_NULL_POINTER);
    EXPECT_EQ(TROVAN_Initial(handle, "a", nullptr), TROVAN_ERR_NULL_POINTER);
    EXPECT_EQ(TROVAN_SetPara(handle, nullptr), TROVAN_ERR_NULL_POINTER);
    EXPECT_EQ(TROVAN_GetConvertPerc(handle, nullptr), TROVAN_ERR_NULL_POINTER);
    EXPECT_EQ(TROVAN_GetConvertPerc(handle, &percent), TROVAN_OK);
    EXPECT_EQ(percent, 0);
    EXPECT_EQ(TROVAN_Release(handle), TROVAN_OK);
    EXPECT_EQ(TROVAN_Release(handle), TROVAN_ERR_BAD_HANDLE);
}

}  // namespace
