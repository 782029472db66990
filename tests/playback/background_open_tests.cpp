// Opening a pane's file off the user-interface thread: the window is never
// held by the engine's open, the pane plays once the answer arrives, and a
// pane closed, reopened or destroyed before the answer leaves no open file
// and no taken port behind.

#include <QElapsedTimer>
#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "counted_engine_calls.h"
#include "pane_fixture.h"
#include "playback/background_open.h"
#include "playback/engine_api.h"
#include "playback/render_wnd.h"

namespace {

// How long the engine's open takes in these tests: long enough that every
// step of a test happens while it is still running.
std::atomic<int> g_nOpenDelayMs{0};

void SlowEngineOpen(int nDelayMs) {
    g_nOpenDelayMs = nDelayMs;
    enginecalls::Install([](const char*) { return g_nOpenDelayMs.load(); });
}

using enginecalls::Closed;
using enginecalls::Freed;
using enginecalls::Opened;

int FrameShown(const CPlayWnd* pPane) {
    const QImage image = pPane->GetRenderWnd()->LastPicture();
    if (image.isNull()) return -1;
    return samplegen::ReadFrameNumber(image.constBits(), image.width(), image.height(),
                                      static_cast<int>(image.bytesPerLine()));
}

class BackgroundOpenTest : public PaneTest {
protected:
    void TearDown() override {
        PaneTest::TearDown();
        EXPECT_TRUE(CBackgroundOpen::WaitForAll(5000));
    }
    // Once every background thread is done: the pane heard nothing, and the
    // port of the abandoned open had its file closed and is gone from the engine.
    void ExpectLeftBehindNothing(int32_t lOpeningPort, const bool& bAnswered) {
        ASSERT_TRUE(CBackgroundOpen::WaitForAll(5000));
        SpinFor(50);
        EXPECT_FALSE(bAnswered);
        EXPECT_EQ(m_pPane->GetPlayState(), PLAY_STATE_IDLE);
        EXPECT_EQ(Opened(lOpeningPort), 1u);
        EXPECT_EQ(Closed(lOpeningPort), 1u);
        EXPECT_EQ(Freed(lOpeningPort), 1u);
        EXPECT_FALSE(Vemor_CloseFile(lOpeningPort));
        EXPECT_EQ(Vemor_GetLastError(-1), static_cast<uint32_t>(VIDMUX_ERR_BAD_PORT));
    }
    ScopedEngineOverride m_restore;
};

}  // namespace

TEST_F(BackgroundOpenTest, TheWindowGoesOnWhileTheEngineOpensAndThePanePlaysOnTheAnswer) {
    const QString strPath = Sample("background_50_frames.mp4");
    SlowEngineOpen(400);
    int nPlayingCalls = 0;
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(m_dlgShow.OpenAndPlay(strPath, [&](CPlayWnd* pPane) {
        EXPECT_EQ(pPane, m_pPane);
        EXPECT_EQ(pPane->GetPlayState(), PLAY_STATE_PLAYING);
        ++nPlayingCalls;
    }));
    EXPECT_LT(timer.elapsed(), 200);
    EXPECT_TRUE(m_pPane->IsOpening());
    EXPECT_EQ(m_pPane->GetRenderWnd()->GetContent(), CRenderWnd::Content::Busy);
    EXPECT_EQ(m_pPane->GetPlayState(), PLAY_STATE_IDLE);
    EXPECT_EQ(m_pPane->GetFilePath(), strPath);

    ASSERT_TRUE(WaitFor([&] { return FrameShown(m_pPane) >= 0; }));
    EXPECT_FALSE(m_pPane->IsOpening());
    EXPECT_EQ(m_pPane->GetPlayState(), PLAY_STATE_PLAYING);
    EXPECT_EQ(m_pPane->GetRenderWnd()->GetContent(), CRenderWnd::Content::Picture);
    EXPECT_EQ(nPlayingCalls, 1);
    EXPECT_EQ(LogCount("Vemor_OpenFile() Fail GetLastError()=0"), 0);
}

TEST_F(BackgroundOpenTest, AFileThatCannotOpenEndsIdleWithTheEnginesError) {
    SlowEngineOpen(50);
    int nAnswers = 0;
    bool bOpened = true;
    ASSERT_TRUE(m_pPane->OpenInBackground(m_dir.filePath("missing.mp4"), [&](bool b) {
        ++nAnswers;
        bOpened = b;
    }));
    ASSERT_TRUE(WaitFor([&] { return nAnswers > 0; }));
    EXPECT_FALSE(bOpened);
    EXPECT_EQ(m_pPane->GetPlayState(), PLAY_STATE_IDLE);
    EXPECT_NE(m_pPane->GetRenderWnd()->GetContent(), CRenderWnd::Content::Busy);
    EXPECT_EQ(
        LogCount("Vemor_OpenFile() Fail GetLastError()=" + std::to_string(VIDMUX_ERR_OPEN_FILE)),
        1);
}

TEST_F(BackgroundOpenTest, APaneClosedBeforeTheAnswerLeavesNoFileAndNoPortBehind) {
    const QString strPath = Sample("closed_50_frames.mp4");
    SlowEngineOpen(300);
    bool bAnswered = false;
    ASSERT_TRUE(m_pPane->OpenInBackground(strPath, [&](bool) { bAnswered = true; }));
    const int32_t lOpeningPort = m_pPane->GetPort();
    ASSERT_GE(lOpeningPort, 0);
    ASSERT_TRUE(WaitFor([&] { return Opened(lOpeningPort) == 1; }));

    // Closing does not wait for the engine.
    QElapsedTimer timer;
    timer.start();
    EXPECT_TRUE(m_pPane->Close());
    EXPECT_LT(timer.elapsed(), 100);
    EXPECT_FALSE(m_pPane->IsOpening());
    EXPECT_EQ(m_pPane->GetPlayState(), PLAY_STATE_IDLE);
    EXPECT_GE(m_pPane->GetPort(), 0);
    EXPECT_NE(m_pPane->GetPort(), lOpeningPort);

    ExpectLeftBehindNothing(lOpeningPort, bAnswered);
}

TEST_F(BackgroundOpenTest, AnAnswerQueuedForAClosedPaneIsIgnoredAndItsFileClosed) {
    const QString strPath = Sample("queued_50_frames.mp4");
    SlowEngineOpen(0);
    bool bAnswered = false;
    ASSERT_TRUE(m_pPane->OpenInBackground(strPath, [&](bool) { bAnswered = true; }));
    const int32_t lOpeningPort = m_pPane->GetPort();
    // The engine answers, but the event loop has not delivered the answer yet.
    ASSERT_TRUE(CBackgroundOpen::WaitForAll(5000));
    EXPECT_TRUE(m_pPane->IsOpening());
    EXPECT_TRUE(m_pPane->Close());
    ExpectLeftBehindNothing(lOpeningPort, bAnswered);
}

TEST_F(BackgroundOpenTest, OnlyTheLastOfTwoOpensCountsAndAPaneDestroyedWhileOpeningFreesItsPort) {
    const QString strFirst = Sample("first_50_frames.mp4");
    const QString strSecond = Sample("second_50_frames.mp4");
    SlowEngineOpen(200);
    QStringList answers;
    ASSERT_TRUE(m_pPane->OpenInBackground(strFirst, [&](bool) { answers << strFirst; }));
    const int32_t lFirstPort = m_pPane->GetPort();
    ASSERT_TRUE(m_pPane->OpenInBackground(strSecond, [&](bool) { answers << strSecond; }));
    ASSERT_TRUE(WaitFor([&] { return !answers.isEmpty(); }));
    SpinFor(300);
    EXPECT_EQ(answers, QStringList{strSecond});
    EXPECT_EQ(m_pPane->GetPlayState(), PLAY_STATE_OPENED);
    EXPECT_EQ(m_pPane->GetFilePath(), strSecond);
    ASSERT_TRUE(CBackgroundOpen::WaitForAll(5000));
    EXPECT_EQ(Freed(lFirstPort), 1u);

    // A pane of its own, destroyed while its open runs (port numbers are reused).
    SlowEngineOpen(200);
    auto* pLone = new CPlayWnd(1, false, &m_dlgShow, nullptr);
    ASSERT_TRUE(pLone->OpenInBackground(strFirst, [&](bool) { answers << QString(); }));
    const int32_t lLonePort = pLone->GetPort();
    ASSERT_TRUE(WaitFor([&] { return Opened(lLonePort) == 1; }));
    delete pLone;
    ASSERT_TRUE(CBackgroundOpen::WaitForAll(5000));
    SpinFor(50);
    EXPECT_EQ(answers.size(), 1);
    EXPECT_EQ(Closed(lLonePort), 1u);
    EXPECT_EQ(Freed(lLonePort), 1u);
}

TEST_F(BackgroundOpenTest, OpensWaitTheirTurnAndOneAbandonedBeforeItsTurnIsNeverOpened) {
    // More opens than may run at once, so that the last one has to wait.
    const int nCores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const int nPanes = nCores + 1;
    const QString strPath = Sample("turns_50_frames.mp4");
    // Each open quicker than one that would stop counting as running.
    SlowEngineOpen(150);
    std::vector<std::unique_ptr<CPlayWnd>> panes;
    std::vector<int32_t> ports;
    int nAnswers = 0;
    for (int i = 0; i < nPanes; ++i) {
        panes.push_back(std::make_unique<CPlayWnd>(i + 1, false, &m_dlgShow, nullptr));
        ASSERT_TRUE(panes.back()->OpenInBackground(strPath, [&](bool) { ++nAnswers; }));
        ports.push_back(panes.back()->GetPort());
    }
    // The last open is still waiting: closing its pane gives its port back
    // without the engine ever opening the file on it.
    EXPECT_TRUE(panes.back()->Close());
    ASSERT_TRUE(WaitFor([&] { return nAnswers == nPanes - 1; }, 10000));
    ASSERT_TRUE(CBackgroundOpen::WaitForAll(5000));
    SpinFor(50);
    EXPECT_EQ(nAnswers, nPanes - 1);
    for (int i = 0; i + 1 < nPanes; ++i) {
        EXPECT_EQ(panes[i]->GetPlayState(), PLAY_STATE_OPENED) << "pane " << i;
    }
    const int32_t lWaitingPort = ports.back();
    EXPECT_EQ(Opened(lWaitingPort), 0u);
    EXPECT_EQ(Closed(lWaitingPort), 0u);
    EXPECT_EQ(Freed(lWaitingPort), 1u);
    // A processor is always left to the window.
    EXPECT_EQ(enginecalls::MostOpensAtOnce(), std::max(1, nCores - 1));
    panes.clear();
}
