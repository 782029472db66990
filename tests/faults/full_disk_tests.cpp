// A disk that fills while a file is written, played by a file-size limit:
// every writer must report the failure, leave an earlier file of the same name
// as it was, and leave no half-written file behind.

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "file_size_limit.h"
#include "kelsa.h"
#include "pane_fixture.h"
#include "playback/capture_file_name.h"
#include "player_params.h"

namespace fs = std::filesystem;

namespace {

constexpr uint64_t kLimitBytes = 16 * 1024;
const std::string kEarlier = "an earlier file the user keeps";

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class FullDiskTest : public PaneTest {
protected:
    void SetUp() override {
        PaneTest::SetUp();
        m_out = m_dir.filePath("out").toStdString();
        fs::create_directories(m_out);
    }

    // 160x120 at 25 fps with sound, big enough to pass the limit many times over.
    std::string Recording(const char* szName, samplegen::Container eContainer, int nFrames) {
        samplegen::SampleParams params;
        params.container = eContainer;
        params.width = 160;
        params.height = 120;
        params.frameCount = nFrames;
        params.audio = true;
        const std::string path = m_dir.filePath(QString::fromUtf8(szName)).toStdString();
        std::string error;
        EXPECT_TRUE(samplegen::WriteSample(path, params, &error)) << error;
        EXPECT_GT(fs::file_size(path), 4 * kLimitBytes);
        return path;
    }

    // The output folder holding only the earlier file named `name`.
    std::string Earlier(const std::string& name) {
        const std::string path = m_out + "/" + name;
        std::ofstream(path, std::ios::binary) << kEarlier;
        return path;
    }

    void ExpectOnlyTheEarlierFile(const std::string& path) {
        EXPECT_EQ(ReadAll(path), kEarlier);
        EXPECT_EQ(Names(m_out), std::vector<std::string>{fs::path(path).filename().string()});
    }

    std::string m_out;
};

TEST_F(FullDiskTest, MergeFailsAndKeepsTheEarlierOutput) {
    const std::string first = Recording("first.mp4", samplegen::Container::Mp4, 150);
    const std::string second = Recording("second.mp4", samplegen::Container::Mp4, 150);
    const std::string target = Earlier("merged.mp4");
    const int32_t handle = KELSA_CreateHandle();
    ASSERT_GT(handle, 0);
    ASSERT_EQ(KELSA_AddToMergeList(handle, first.c_str(), 0, 6000), KELSA_OK);
    ASSERT_EQ(KELSA_AddToMergeList(handle, second.c_str(), 0, 6000), KELSA_OK);
    int32_t nResult = KELSA_OK;
    {
        ScopedFileSizeLimit limit(kLimitBytes);
        ASSERT_TRUE(limit.Ok());
        nResult = KELSA_MergeFileInList(handle, target.c_str());
    }
    EXPECT_EQ(nResult, KELSA_ERR_OUTPUT);
    ExpectOnlyTheEarlierFile(target);
    // With room again the same handle merges.
    EXPECT_EQ(KELSA_MergeFileInList(handle, target.c_str()), KELSA_OK);
    EXPECT_GT(fs::file_size(target), 2 * kLimitBytes);
    KELSA_DestroyHandle(handle);
}

TEST_F(FullDiskTest, ConversionFailsAndKeepsTheEarlierAvi) {
    const std::string source = Recording("source.imx", samplegen::Container::Recorder, 100);
    const std::string target = Earlier("converted.avi");
    int32_t handle = 0;
    ASSERT_EQ(TROVAN_Create(&handle), TROVAN_OK);
    TrovanParams params = trovantest::PlayerParams();
    params.nWidth = 320;  // small pictures: the limit is reached all the same
    params.nHeight = 240;
    ASSERT_EQ(TROVAN_Initial(handle, source.c_str(), target.c_str()), TROVAN_OK);
    ASSERT_EQ(TROVAN_SetPara(handle, &params), TROVAN_OK);
    int32_t nResult = TROVAN_OK;
    int32_t nPercent = 0;
    {
        ScopedFileSizeLimit limit(kLimitBytes);
        ASSERT_TRUE(limit.Ok());
        ASSERT_EQ(TROVAN_Start(handle), TROVAN_OK);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        do {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            nResult = TROVAN_GetConvertPerc(handle, &nPercent);
        } while (nResult == TROVAN_OK && nPercent < 100 &&
                 std::chrono::steady_clock::now() < deadline);
    }
    EXPECT_EQ(nResult, TROVAN_ERR_CONVERT);
    EXPECT_LT(nPercent, 100);
    ExpectOnlyTheEarlierFile(target);
    EXPECT_EQ(TROVAN_Release(handle), TROVAN_OK);
}

TEST_F(FullDiskTest, ContinuousCaptureStopsAtTheFirstFailedPictureAndLeavesNoneHalfWritten) {
    ASSERT_TRUE(m_pPane->Open(Sample("capture_250_frames.mp4", 250)));
    ASSERT_TRUE(m_pPane->Play());
    ScopedFileSizeLimit limit(4096);  // less than one 160x120 picture
    ASSERT_TRUE(limit.Ok());
    const QString strFolder = QString::fromStdString(m_out);
    ASSERT_EQ(m_pPane->ContinuousCapture(true, 0, strFolder), 1);
    ASSERT_TRUE(WaitFor([&] { return !m_pPane->IsConCapturing(); }, 5000));
    EXPECT_EQ(m_pPane->GetMessageText(), QStringLiteral("Capture Fail!"));
    EXPECT_EQ(LogCount("CapOnePic fail 6"), 1);
    EXPECT_TRUE(Names(m_out).empty());
}

TEST_F(FullDiskTest, SnapshotNeverReplacesAnEarlierPicture) {
    ASSERT_TRUE(m_pPane->Open(Sample("snapshot_50_frames.mp4")));
    ASSERT_TRUE(m_pPane->Play());
    ASSERT_TRUE(m_pPane->Pause());
    // Another run of the player took the next names, in this second and the next.
    const uint32_t nNext = TakeCaptureCounter(false) + 1;
    std::vector<std::string> earlier;
    const std::time_t now = std::time(nullptr);
    for (std::time_t t = now; t <= now + 1; ++t) {
        std::tm stLocal{};
        localtime_r(&t, &stLocal);
        earlier.push_back(
            CaptureFileName(QString::fromStdString(m_out), &stLocal, nNext, false).toStdString());
        std::ofstream(earlier.back(), std::ios::binary) << kEarlier;
    }
    ASSERT_EQ(m_pPane->Capture(0, QString::fromStdString(m_out)), CPlayWnd::CAPTURE_OK);
    for (const std::string& path : earlier) EXPECT_EQ(ReadAll(path), kEarlier) << path;
    EXPECT_EQ(Names(m_out).size(), earlier.size() + 1);
}

}  // namespace
