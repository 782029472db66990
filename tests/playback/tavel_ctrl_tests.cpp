#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QTemporaryDir>
#include <cstring>

#include "common/debug_log.h"
#include "playback/engine_api.h"
#include "playback/file_probe.h"
#include "playback/tavel_ctrl.h"
#include "samplegen/samplegen.h"

namespace {

class TavelCtrlTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_folder = new QTemporaryDir;
        samplegen::SampleParams params;
        params.container = samplegen::Container::Recorder;
        params.width = 160;
        params.height = 120;
        params.frameCount = 50;
        params.gop = 25;
        samplegen::Watermark mark;
        mark.packedTime = samplegen::PackTime({2024, 1, 2, 3, 4, 5});
        mark.serial = 42;
        params.watermark = mark;
        s_sample = s_folder->filePath("sample.rec");
        std::string error;
        ASSERT_TRUE(samplegen::WriteSample(s_sample.toStdString(), params, &error)) << error;
    }
    static void TearDownTestSuite() { delete s_folder; }

    static QTemporaryDir* s_folder;
    static QString s_sample;
};
QTemporaryDir* TavelCtrlTest::s_folder = nullptr;
QString TavelCtrlTest::s_sample;

bool WaitForFlag(const std::atomic<uint8_t>& flag) {
    for (int i = 0; i < 2000 && !flag.load(); ++i) usleep(5000);
    return flag.load() != 0;
}

TEST_F(TavelCtrlTest, ReportsFileFactsIndexAndWatermarkThroughItsUserRecord) {
    TavelUserRecord record;
    CTavelCtrl control;
    ASSERT_TRUE(control.GetPort());
    ASSERT_TRUE(control.SetFileRefCallBack(&record));
    ASSERT_TRUE(control.SetCheckWatermarkCallBack(&record));
    ASSERT_TRUE(control.OpenFile(s_sample));
    ASSERT_TRUE(WaitForFlag(record.bIndexBuilt));
    EXPECT_EQ(control.GetFileTotalFrames(), 50u);
    EXPECT_EQ(control.GetFileTime(), 2u);
    ASSERT_TRUE(control.GoToStart());
    std::lock_guard lock(record.watermarkMutex);
    uint32_t packed = 0;
    std::memcpy(&packed, record.watermark.data(), 4);
    EXPECT_EQ(packed, samplegen::PackTime({2024, 1, 2, 3, 4, 5}));
    EXPECT_EQ(record.watermark[4], 42);
}

TEST_F(TavelCtrlTest, SetFrameOrEarlierFallsBackToTheLastFrameTheEngineTakes) {
    TavelUserRecord record;
    CTavelCtrl control;
    ASSERT_TRUE(control.GetPort());
    ASSERT_TRUE(control.SetFileRefCallBack(&record));
    ASSERT_TRUE(control.OpenFile(s_sample));
    ASSERT_TRUE(WaitForFlag(record.bIndexBuilt));
    ASSERT_TRUE(control.SetFrameOrEarlier(400));
    EXPECT_EQ(control.GetCurrentFrameNum(), 49u);
}

TEST_F(TavelCtrlTest, ReservedOperationsSucceedWithoutAnEngine) {
    CTavelCtrl control;  // no port at all
    EXPECT_TRUE(control.Reserved1());
    EXPECT_TRUE(control.Reserved2(1, 2, 3, 4));
    EXPECT_TRUE(control.Reserved3(1, 2));
    EXPECT_TRUE(control.Reserved5(1));
    EXPECT_TRUE(control.Reserved7());
    EXPECT_FALSE(control.Play(nullptr));
}

TEST_F(TavelCtrlTest, DestructorFreesThePortOnlyWhenTheEngineLetsIt) {
    int32_t port = -1;
    {
        CTavelCtrl control;
        ASSERT_TRUE(control.GetPort());
        port = control.Port();
        ASSERT_TRUE(control.OpenFile(s_sample));
    }
    // Freed: the engine hands the same port out again.
    int32_t again = -1;
    ASSERT_TRUE(Vemor_GetPort(&again));
    EXPECT_EQ(again, port);
    Vemor_FreePort(again);
}

TEST_F(TavelCtrlTest, PlayNeedsBothPlayAndRefreshToSucceed) {
    CTavelCtrl control;
    ASSERT_TRUE(control.GetPort());
    ASSERT_TRUE(control.OpenFile(s_sample));
    ScopedEngineOverride override;
    Engine().RefreshPlay = [](int32_t) -> VBOOL { return 0; };
    EXPECT_FALSE(control.Play(nullptr));
}

TEST_F(TavelCtrlTest, ProbeAcceptsPlayableFilesAndFreesItsPort) {
    EXPECT_TRUE(ProbeMediaFile(s_sample));
    EXPECT_FALSE(ProbeMediaFile(QString()));
    EXPECT_FALSE(ProbeMediaFile(s_folder->filePath("missing.mp4")));
    EXPECT_FALSE(ProbeMediaFile(s_folder->path()));
    // Every probe gave its port back: all of them can still be taken.
    std::vector<int32_t> ports;
    int32_t port = -1;
    while (Vemor_GetPort(&port)) ports.push_back(port);
    EXPECT_EQ(ports.size(), static_cast<size_t>(VIDMUX_MAX_PORTS));
    for (int32_t p : ports) Vemor_FreePort(p);
}

TEST_F(TavelCtrlTest, ProbeFailsWhenNoPortIsFree) {
    ScopedEngineOverride override;
    Engine().GetPort = [](int32_t*) -> VBOOL { return 0; };
    EXPECT_FALSE(ProbeMediaFile(s_sample));
}

}  // namespace
