#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <algorithm>
#include <optional>
#include <vector>

#include "counted_engine_calls.h"
#include "pane_fixture.h"
#include "playback/background_open.h"
#include "playback/engine_api.h"
#include "playback/engine_folder.h"
#include "playback/file_time_analyzer.h"
#include "playback/play_helper.h"
#include "playback/render_wnd.h"
#include "playback/sync_timeline.h"

namespace {

// Generous: a loaded machine decodes slowly; the checks are on pictures, not times.
constexpr int kWaitMs = 15000;

// Recordings of one event from cameras whose recordings start at different seconds.
class DlgShowSyncTest : public PaneTest {
protected:
    void SetUp() override {
        PaneTest::SetUp();
        m_dlgShow.resize(640, 480);
        ASSERT_TRUE(m_dlgShow.SetLayout(4));
        // Anti-flicker blends each picture with the one before, which smears
        // the frame-number code the checks read.
        DlgShowPlaySettings settings;
        settings.bDeflash = false;
        m_dlgShow.SetPlaySettings(settings);
    }
    void TearDown() override {
        m_dlgShow.SetSyncMode(false);
        PaneTest::TearDown();
    }

    QString Camera(const char* szName, samplegen::Container container, int nStartSecond,
                   int nFrames = 250) {
        samplegen::SampleParams params;
        params.container = container;
        params.width = 160;
        params.height = 120;
        params.frameCount = nFrames;
        params.start = samplegen::StartTime{2024, 3, 1, 12, 0, nStartSecond};
        const QString strPath = m_dir.filePath(QString::fromUtf8(szName));
        std::string error;
        EXPECT_TRUE(samplegen::WriteSample(strPath.toStdString(), params, &error)) << error;
        return strPath;
    }

    int ShownFrame(int32_t nPane) {
        const QImage image = m_dlgShow.GetPlayWnd(nPane)->GetRenderWnd()->LastPicture();
        if (image.isNull()) return -1;
        return samplegen::ReadFrameNumber(image.constBits(), image.width(), image.height(),
                                          static_cast<int>(image.bytesPerLine()));
    }

    // Milliseconds after 12:00:00 of the picture each pane shows.
    std::vector<int> ShownInstants(const std::vector<int>& startSeconds) {
        std::vector<int> instants;
        for (size_t i = 0; i < startSeconds.size(); ++i) {
            const int nFrame = ShownFrame(static_cast<int32_t>(i));
            instants.push_back(nFrame < 0 ? -100000 : startSeconds[i] * 1000 + nFrame * 40);
        }
        return instants;
    }

    // The fraction of the 2024-03-01 timeline at 12:mm:ss.
    static double FractionAt(int nMinute, int nSecond) {
        return (12 * 3600 + nMinute * 60 + nSecond) / 86399.0;
    }

    // Starts synchronous play and waits for its outcome: the group formed
    // (true) or the files refused.
    bool StartSync(const QStringList& paths) {
        std::optional<bool> outcome;
        if (!m_dlgShow.StartSyncPlay(paths, [&](bool bStarted) { outcome = bStarted; })) {
            return false;
        }
        EXPECT_TRUE(WaitFor([&] { return outcome.has_value(); }, kWaitMs));
        EXPECT_FALSE(m_dlgShow.IsSyncStarting());
        return outcome.value_or(false);
    }

    bool WaitForFrames(const std::vector<int>& expected) {
        return WaitFor(
            [&] {
                for (size_t i = 0; i < expected.size(); ++i) {
                    if (ShownFrame(static_cast<int32_t>(i)) != expected[i]) return false;
                }
                return true;
            },
            kWaitMs);
    }
};

int Spread(const std::vector<int>& values) {
    return *std::max_element(values.begin(), values.end()) -
           *std::min_element(values.begin(), values.end());
}

}  // namespace

TEST_F(DlgShowSyncTest, StaggeredCamerasShowTheSameInstantBeforeAndAfterRepositioning) {
    const std::vector<int> starts = {0, 1, 2, 3};
    const QStringList paths = {Camera("cam0.imx", samplegen::Container::Recorder, 0),
                               Camera("cam1.mp4", samplegen::Container::Mp4, 1),
                               Camera("cam2.imx", samplegen::Container::Recorder, 2),
                               Camera("cam3.mp4", samplegen::Container::Mp4, 3)};
    ASSERT_TRUE(StartSync(paths));
    EXPECT_TRUE(m_dlgShow.IsSyncMode());
    EXPECT_EQ(m_dlgShow.GetSelState(), PLAY_STATE_PLAYING);
    std::vector<SyncFileEntry> entries;
    FileTimeInfo earliest{}, latest{};
    ASSERT_TRUE(m_dlgShow.CopySyncData(&entries, &earliest, &latest));
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(FileStartTime(earliest).dwSec, 0u);
    EXPECT_EQ(FileEndTime(latest).dwSec, 13u);  // 3 s + 250 pictures of 40 ms

    // The camera that starts last waits for the group clock to reach it.
    ASSERT_TRUE(WaitFor([&] { return ShownFrame(3) >= 5; }, kWaitMs));
    ASSERT_TRUE(m_dlgShow.PlayPause());
    ASSERT_EQ(m_dlgShow.GetSelState(), PLAY_STATE_PAUSED);
    SpinFor(300);
    const std::vector<int> playing = ShownInstants(starts);
    EXPECT_LE(Spread(playing), 40)
        << playing[0] << " " << playing[1] << " " << playing[2] << " " << playing[3];

    double dPrecent = 0;
    VemorSystemTime stNow{};
    ASSERT_TRUE(m_dlgShow.GetSyncPlayPrecent(&dPrecent, &stNow));
    EXPECT_EQ(stNow.dwHour, 12u);
    EXPECT_NEAR(dPrecent, FractionAt(0, 3), 2.0 / 86399);

    // Paused panes move to 12:00:06 and stay paused there.
    ASSERT_TRUE(m_dlgShow.SetSyncPlayPrecent(FractionAt(0, 6)));
    EXPECT_TRUE(WaitForFrames({150, 125, 100, 75}));
    EXPECT_EQ(m_dlgShow.GetSelState(), PLAY_STATE_PAUSED);

    // Repositioning while playing plays on from the new time.
    ASSERT_TRUE(m_dlgShow.PlayPause());
    ASSERT_TRUE(m_dlgShow.SetSyncPlayPrecent(FractionAt(0, 8)));
    EXPECT_TRUE(WaitFor([&] { return m_dlgShow.GetSelState() == PLAY_STATE_PLAYING; }, kWaitMs));
    SpinFor(600);
    ASSERT_TRUE(m_dlgShow.PlayPause());
    SpinFor(300);
    const std::vector<int> after = ShownInstants(starts);
    EXPECT_LE(Spread(after), 40);
    EXPECT_GT(after[0], 8000);
    EXPECT_LT(after[0], 10000);

    // Pausing while the panes are still being moved wins over the play the
    // move would have resumed.
    ASSERT_TRUE(m_dlgShow.PlayPause());
    ASSERT_TRUE(m_dlgShow.SetSyncPlayPrecent(FractionAt(0, 5)));
    ASSERT_TRUE(m_dlgShow.PlayPause());
    SpinFor(500);
    EXPECT_EQ(m_dlgShow.GetSelState(), PLAY_STATE_PAUSED);
    EXPECT_TRUE(WaitForFrames({125, 100, 75, 50}));
}

TEST_F(DlgShowSyncTest, ATimeBetweenTwoSpansParksEarlierFilesAtTheirEndAndLaterOnesAtTheirStart) {
    // 12:00:00-12:00:04 and 12:00:02-12:00:06.
    const QStringList paths = {Camera("early.imx", samplegen::Container::Recorder, 0, 100),
                               Camera("late.imx", samplegen::Container::Recorder, 2, 100)};
    ASSERT_TRUE(StartSync(paths));
    ASSERT_TRUE(WaitFor([&] { return ShownFrame(0) >= 0; }, kWaitMs));
    ASSERT_TRUE(m_dlgShow.PlayPause());

    ASSERT_TRUE(m_dlgShow.SetSyncPlayPrecent(FractionAt(0, 5)));
    EXPECT_TRUE(WaitForFrames({99, 75}));
    EXPECT_FALSE(m_dlgShow.IsSyncActive(0));
    EXPECT_TRUE(m_dlgShow.IsSyncActive(1));
    EXPECT_TRUE(LogHasPrefix("CDlgShow::SetSyncPlayPrecent() GoToEnd() nSubIndex=0"));

    // The second a file starts in shows its first picture; the very first
    // second of the recordings can be chosen too.
    ASSERT_TRUE(m_dlgShow.SetSyncPlayPrecent(FractionAt(0, 2)));
    EXPECT_TRUE(WaitForFrames({50, 0}));
    ASSERT_TRUE(m_dlgShow.SetSyncPlayPrecent(FractionAt(0, 1)));
    EXPECT_TRUE(WaitForFrames({25, 0}));
    EXPECT_TRUE(m_dlgShow.IsSyncActive(0));
    EXPECT_TRUE(m_dlgShow.IsSyncActive(1));
    ASSERT_TRUE(m_dlgShow.SetSyncPlayPrecent(FractionAt(0, 0)));
    EXPECT_TRUE(WaitForFrames({0, 0}));

    // Outside the recorded span, and at the timeline's ends, nothing moves.
    EXPECT_FALSE(m_dlgShow.SetSyncPlayPrecent(FractionAt(0, 30)));
    EXPECT_FALSE(m_dlgShow.SetSyncPlayPrecent(0.0));
    EXPECT_FALSE(m_dlgShow.SetSyncPlayPrecent(1.0));
    EXPECT_FALSE(m_dlgShow.SetSyncPlayPrecent(1.5));

    // Stopped panes are not repositioned and do not start.
    ASSERT_TRUE(m_dlgShow.Stop());
    m_log.clear();
    ASSERT_TRUE(m_dlgShow.SetSyncPlayPrecent(FractionAt(0, 3)));
    EXPECT_FALSE(LogHasPrefix("CDlgShow::SetSyncPlayPrecent()"));
    EXPECT_EQ(m_dlgShow.GetSelState(), PLAY_STATE_STOPPED);
}

TEST_F(DlgShowSyncTest, FilesWithoutCommonTimeAreRefusedAndChangeNothing) {
    const QString strMorning = Camera("morning.imx", samplegen::Container::Recorder, 0, 50);
    ASSERT_TRUE(m_dlgShow.OpenAndPlay(strMorning));
    ASSERT_TRUE(
        WaitFor([&] { return m_dlgShow.GetPlayWnd(0)->GetPlayState() == PLAY_STATE_PLAYING; }));
    samplegen::SampleParams params;
    params.container = samplegen::Container::Mp4;
    params.width = 160;
    params.height = 120;
    const QString strNoTime = m_dir.filePath("notime.mp4");
    ASSERT_TRUE(samplegen::WriteSample(strNoTime.toStdString(), params));
    const QString strLater = Camera("later.imx", samplegen::Container::Recorder, 30, 50);

    EXPECT_FALSE(StartSync({strMorning, strNoTime}));
    EXPECT_FALSE(StartSync({strMorning, strLater}));  // no overlap
    EXPECT_FALSE(m_dlgShow.StartSyncPlay({}));
    ASSERT_EQ(m_main.messages.size(), 2);
    EXPECT_EQ(m_main.messages[0], "Files has no synchronous time, can not play!");
    EXPECT_FALSE(m_dlgShow.IsSyncMode());
    EXPECT_EQ(m_dlgShow.GetPlayWnd(0)->GetPlayState(), PLAY_STATE_PLAYING);
    double dPrecent = 0;
    VemorSystemTime stTime{};
    EXPECT_FALSE(m_dlgShow.GetSyncPlayPrecent(&dPrecent, &stTime));
    EXPECT_FALSE(m_dlgShow.SetSyncPlayPrecent(0.5));
}

TEST_F(DlgShowSyncTest, OnlyAsManyFilesAsVisiblePanesJoinAndAFileThatCannotOpenStaysIdle) {
    ASSERT_TRUE(m_dlgShow.SetLayout(1));
    const QString strA = Camera("a.imx", samplegen::Container::Recorder, 0, 50);
    const QString strB = Camera("b.imx", samplegen::Container::Recorder, 0, 50);
    ASSERT_TRUE(StartSync({strA, strB}));
    std::vector<SyncFileEntry> entries;
    FileTimeInfo earliest{}, latest{};
    ASSERT_TRUE(m_dlgShow.CopySyncData(&entries, &earliest, &latest));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].strPath, strA);
    EXPECT_EQ(entries[0].nEndSec - entries[0].nStartSec, 2);
    EXPECT_FALSE(m_dlgShow.CopySyncData(&entries, nullptr, &latest));
    EXPECT_EQ(m_dlgShow.GetPlayWnd(1)->GetPlayState(), PLAY_STATE_IDLE);
}

// Each analysis loads and releases the library; it must stay mapped, since it
// keeps its handle table for the life of the process and would leak one table
// per analysis if it were unmapped.
TEST_F(DlgShowSyncTest, TheAnalysisLibraryStaysMappedBetweenAnalyses) {
    const QString strPath = Camera("analysed.mp4", samplegen::Container::Mp4, 5);
    FileTimeInfo first{}, second{};
    ASSERT_TRUE(AnalyzeFileTime(strPath, &first));
    const QByteArray library = QDir(EngineFolder()).filePath(kFileAnalysisLibrary).toUtf8();
    void* pHandle = dlopen(library.constData(), RTLD_NOW | RTLD_NOLOAD);
    EXPECT_NE(pHandle, nullptr) << "the library was unmapped";
    if (pHandle != nullptr) dlclose(pHandle);
    ASSERT_TRUE(AnalyzeFileTime(strPath, &second));
    EXPECT_EQ(first, second);
}

namespace {

// Engine opens that take their time: files named "slow..." answer after
// kSlowOpenMs, every other file after kQuickOpenMs. Closes and frees are counted.
constexpr int kQuickOpenMs = 100;
constexpr int kSlowOpenMs = 700;

class SyncStartTest : public DlgShowSyncTest {
protected:
    void SetUp() override {
        DlgShowSyncTest::SetUp();
        enginecalls::Install([](const char* szPath) {
            const bool bSlow = QFileInfo(QString::fromUtf8(szPath)).fileName().startsWith("slow");
            return bSlow ? kSlowOpenMs : kQuickOpenMs;
        });
    }
    void TearDown() override {
        DlgShowSyncTest::TearDown();
        EXPECT_TRUE(CBackgroundOpen::WaitForAll(5000));
    }

    std::vector<int32_t> Ports(int nPanes) {
        std::vector<int32_t> ports;
        for (int i = 0; i < nPanes; ++i) ports.push_back(m_dlgShow.GetPlayWnd(i)->GetPort());
        return ports;
    }

    // Once the engine has answered every open: each of `ports` had the file
    // it opened closed (an open abandoned before its turn opened nothing) and
    // was given back, and the container keeps no group.
    void ExpectNothingLeftOf(const std::vector<int32_t>& ports) {
        ASSERT_TRUE(CBackgroundOpen::WaitForAll(5000));
        SpinFor(100);
        for (int32_t lPort : ports) {
            EXPECT_LE(enginecalls::Opened(lPort), 1u) << "port " << lPort;
            EXPECT_EQ(enginecalls::Closed(lPort), enginecalls::Opened(lPort)) << "port " << lPort;
            EXPECT_EQ(enginecalls::Freed(lPort), 1u) << "port " << lPort;
        }
        for (int i = 0; i < 4; ++i) {
            const CPlayWnd* pPane = m_dlgShow.GetPlayWnd(i);
            EXPECT_EQ(pPane->GetPlayState(), PLAY_STATE_IDLE) << "pane " << i;
            EXPECT_FALSE(pPane->IsOpening()) << "pane " << i;
            EXPECT_FALSE(m_dlgShow.IsSyncActive(i)) << "pane " << i;
        }
        std::vector<SyncFileEntry> entries;
        FileTimeInfo earliest{}, latest{};
        ASSERT_TRUE(m_dlgShow.CopySyncData(&entries, &earliest, &latest));
        EXPECT_TRUE(entries.empty());
    }

    ScopedEngineOverride m_restore;
};

}  // namespace

TEST_F(SyncStartTest, PanesOpenOffTheWindowsThreadAndTheGroupFormsWhenTheLastAnswers) {
    // The slow file comes last: opens take their turns in pane order.
    const QStringList paths = {Camera("cam0.imx", samplegen::Container::Recorder, 0),
                               Camera("cam1.mp4", samplegen::Container::Mp4, 1),
                               Camera("cam2.mp4", samplegen::Container::Mp4, 2),
                               Camera("slow3.imx", samplegen::Container::Recorder, 3)};
    int nStarted = 0;
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(m_dlgShow.StartSyncPlay(paths, [&](bool bStarted) { nStarted += bStarted; }));
    EXPECT_LT(timer.elapsed(), kQuickOpenMs);
    EXPECT_TRUE(m_dlgShow.IsSyncStarting());
    // Once the files' times are known every pane opens, looking busy.
    ASSERT_TRUE(WaitFor([&] { return m_dlgShow.GetPlayWnd(0)->IsOpening(); }, kWaitMs));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(m_dlgShow.GetPlayWnd(i)->GetRenderWnd()->GetContent(),
                  CRenderWnd::Content::Busy);
    }

    // The quick panes have answered; none plays or joins before the slow one.
    ASSERT_TRUE(WaitFor(
        [&] { return m_dlgShow.GetPlayWnd(2)->GetPlayState() == PLAY_STATE_OPENED; }, kWaitMs));
    SpinFor(100);
    EXPECT_TRUE(m_dlgShow.GetPlayWnd(3)->IsOpening());
    for (int i : {0, 1, 2}) {
        EXPECT_EQ(m_dlgShow.GetPlayWnd(i)->GetPlayState(), PLAY_STATE_OPENED) << i;
        EXPECT_FALSE(m_dlgShow.GetPlayWnd(i)->IsInSyncGroup()) << i;
    }
    EXPECT_EQ(nStarted, 0);
    // The group's play command has nothing to act on yet.
    EXPECT_FALSE(m_dlgShow.PlayPause());

    ASSERT_TRUE(WaitFor([&] { return nStarted == 1; }, kWaitMs));
    EXPECT_FALSE(m_dlgShow.IsSyncStarting());
    std::vector<SyncFileEntry> entries;
    FileTimeInfo earliest{}, latest{};
    ASSERT_TRUE(m_dlgShow.CopySyncData(&entries, &earliest, &latest));
    ASSERT_EQ(entries.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(entries[i].strPath, paths[i]);
        EXPECT_EQ(entries[i].lPort, m_dlgShow.GetPlayWnd(i)->GetPort());
        EXPECT_TRUE(m_dlgShow.GetPlayWnd(i)->IsInSyncGroup());
        EXPECT_EQ(m_dlgShow.GetPlayWnd(i)->GetPlayState(), PLAY_STATE_PLAYING);
    }
    // The last camera starts three seconds in: it shows the picture of the
    // group's instant like the others.
    ASSERT_TRUE(WaitFor([&] { return ShownFrame(3) >= 5; }, kWaitMs));
    ASSERT_TRUE(m_dlgShow.PlayPause());
    SpinFor(300);
    EXPECT_LE(Spread(ShownInstants({0, 1, 2, 3})), 40);
}

TEST_F(SyncStartTest, AStopLayoutChangeOrNewStartBeforeTheLastAnswerLeavesNothingBehind) {
    const QString strQuick = Camera("cam0.imx", samplegen::Container::Recorder, 0);
    const QString strSlow1 = Camera("slow1.mp4", samplegen::Container::Mp4, 1);
    const QString strSlow2 = Camera("slow2.imx", samplegen::Container::Recorder, 2);
    bool bStarted = false;
    const auto started = [&](bool) { bStarted = true; };

    // Stop while the files are analysed: nothing was opened, nothing starts.
    ASSERT_TRUE(m_dlgShow.StartSyncPlay({strQuick, strSlow1, strSlow2}, started));
    ASSERT_TRUE(m_dlgShow.Stop());
    EXPECT_FALSE(m_dlgShow.IsSyncStarting());
    SpinFor(300);
    EXPECT_FALSE(m_dlgShow.IsSyncMode());
    EXPECT_FALSE(m_dlgShow.GetPlayWnd(0)->IsOpening());

    // Stop with one pane opened and two still opening.
    ASSERT_TRUE(m_dlgShow.StartSyncPlay({strQuick, strSlow1, strSlow2}, started));
    ASSERT_TRUE(WaitFor([&] { return m_dlgShow.GetPlayWnd(1)->IsOpening(); }, kWaitMs));
    std::vector<int32_t> ports = Ports(3);
    ASSERT_TRUE(WaitFor(
        [&] { return m_dlgShow.GetPlayWnd(0)->GetPlayState() == PLAY_STATE_OPENED; }, kWaitMs));
    ASSERT_TRUE(m_dlgShow.Stop());
    EXPECT_FALSE(m_dlgShow.IsSyncStarting());
    ExpectNothingLeftOf(ports);
    EXPECT_TRUE(m_dlgShow.IsSyncMode());

    // A layout change while every pane is opening.
    enginecalls::Forget();
    ASSERT_TRUE(m_dlgShow.StartSyncPlay({strSlow1, strSlow2}, started));
    ASSERT_TRUE(WaitFor([&] { return m_dlgShow.GetPlayWnd(1)->IsOpening(); }, kWaitMs));
    ports = Ports(2);
    ASSERT_TRUE(m_dlgShow.SetLayout(9));
    ExpectNothingLeftOf(ports);

    // A second start replaces the first: only its group forms.
    enginecalls::Forget();
    ASSERT_TRUE(m_dlgShow.StartSyncPlay({strSlow1, strSlow2}, started));
    ASSERT_TRUE(WaitFor([&] { return m_dlgShow.GetPlayWnd(1)->IsOpening(); }, kWaitMs));
    ports = Ports(2);
    int nSecondStarted = 0;
    ASSERT_TRUE(
        m_dlgShow.StartSyncPlay({strSlow2, strQuick}, [&](bool b) { nSecondStarted += b; }));
    {
        ASSERT_TRUE(CBackgroundOpen::WaitForAll(5000));
        for (int32_t lPort : ports) EXPECT_EQ(enginecalls::Freed(lPort), 1u) << lPort;
    }
    ASSERT_TRUE(WaitFor([&] { return nSecondStarted == 1; }, kWaitMs));
    std::vector<SyncFileEntry> entries;
    FileTimeInfo earliest{}, latest{};
    ASSERT_TRUE(m_dlgShow.CopySyncData(&entries, &earliest, &latest));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].strPath, strSlow2);
    EXPECT_EQ(entries[1].strPath, strQuick);
    SpinFor(200);
    EXPECT_FALSE(bStarted);
}
