#include <QCoreApplication>
#include <QWheelEvent>
#include <atomic>

#include "pane_fixture.h"
#include "playback/engine_api.h"
#include "playback/render_wnd.h"

namespace {
std::atomic<int> g_nFastCalls{0};
std::atomic<int> g_nStopCalls{0};
std::vector<uint32_t> g_throwB;  // user-interface thread only

void CountEngineCalls() {
    g_nFastCalls = 0;
    g_nStopCalls = 0;
    g_throwB.clear();
    Engine().Fast = [](int32_t nPort) -> VBOOL {
        ++g_nFastCalls;
        return Vemor_Fast(nPort);
    };
    Engine().Stop = [](int32_t nPort) -> VBOOL {
        ++g_nStopCalls;
        return Vemor_Stop(nPort);
    };
    Engine().ThrowBFrameNum = [](int32_t nPort, uint32_t nNum) -> VBOOL {
        g_throwB.push_back(nNum);
        return Vemor_ThrowBFrameNum(nPort, nNum);
    };
}

int FrameShown(const CPlayWnd* pPane) {
    const QImage image = pPane->GetRenderWnd()->LastPicture();
    if (image.isNull()) return -1;
    return samplegen::ReadFrameNumber(image.constBits(), image.width(), image.height(),
                                      static_cast<int>(image.bytesPerLine()));
}
}  // namespace

TEST_F(PaneTest, StateFollowsOpenPlayPauseStopClose) {
    const QString strPath = Sample("state_50_frames.mp4");
    EXPECT_EQ(m_pPane->GetPlayState(), PLAY_STATE_IDLE);
    EXPECT_FALSE(m_pPane->Play());  // idle
    EXPECT_EQ(LogCount("CPlayWnd::Play() return 1"), 1);

    ASSERT_TRUE(m_pPane->Open(strPath));
    EXPECT_EQ(m_pPane->GetPlayState(), PLAY_STATE_OPENED);
    EXPECT_FALSE(m_pPane->Pause());  // only a playing pane pauses
    ASSERT_TRUE(m_pPane->Play());
    EXPECT_EQ(m_pPane->GetPlayState(), PLAY_STATE_PLAYING);
    EXPECT_FALSE(m_pPane->Play());
    EXPECT_EQ(LogCount("CPlayWnd::Play() return 1"), 2);
    ASSERT_TRUE(WaitFor([&] { return FrameShown(m_pPane) >= 0; }));

    ASSERT_TRUE(m_pPane->Pause());
    EXPECT_EQ(m_pPane->GetPlayState(), PLAY_STATE_PAUSED);
    EXPECT_EQ(LogCount("CPlayWnd::Pause()"), 1);
    const int nStateMessages = m_main.nStateMessages;
    ASSERT_TRUE(m_pPane->Stop());
    EXPECT_EQ(m_pPane->GetPlayState(), PLAY_STATE_STOPPED);
    ASSERT_TRUE(WaitFor([&] { return m_main.nStateMessages > nStateMessages; }));

    // Closing gives the port back and takes a fresh one at once.
    EXPECT_TRUE(m_pPane->Close());
    EXPECT_EQ(m_pPane->GetPlayState(), PLAY_STATE_IDLE);
    EXPECT_GE(m_pPane->GetPort(), 0);
    EXPECT_EQ(m_pPane->GetRenderWnd()->GetContent(), CRenderWnd::Content::IdleImage);
}

TEST_F(PaneTest, OpeningAnotherFileReusesThePaneAndShowsItsPictures) {
    const QString strFirst = Sample("first_50_frames.mp4");
    const QString strSecond = Sample("second_50_frames.mp4");
    ASSERT_TRUE(m_pPane->Open(strFirst));
    ASSERT_TRUE(m_pPane->Play());
    ASSERT_TRUE(m_pPane->Open(strSecond));
    EXPECT_EQ(m_pPane->GetPlayState(), PLAY_STATE_OPENED);
    EXPECT_EQ(m_pPane->GetFilePath(), strSecond);
    ASSERT_TRUE(m_pPane->Play());
    ASSERT_TRUE(m_pPane->Pause());
    ASSERT_TRUE(m_pPane->SetFramePos(30));
    EXPECT_TRUE(WaitFor([&] { return FrameShown(m_pPane) == 30; }));

    EXPECT_FALSE(m_pPane->Open(m_dir.filePath("missing.mp4")));
    EXPECT_TRUE(LogHasPrefix("Vemor_OpenFile() Fail GetLastError()="));
    EXPECT_EQ(m_pPane->GetPlayState(), PLAY_STATE_IDLE);
}

TEST_F(PaneTest, SpeedLevelsStopAtTheLimitsAndPausedLevelsApplyOnPlay) {
    ScopedEngineOverride restore;
    CountEngineCalls();
    ASSERT_TRUE(m_pPane->Open(Sample("speed_50_frames.mp4")));
    EXPECT_FALSE(m_pPane->Fast());  // opened, never played
    ASSERT_TRUE(m_pPane->Play());
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(m_pPane->Fast());
    EXPECT_EQ(m_pPane->GetMessageText(), QStringLiteral("Speed * 16"));
    EXPECT_FALSE(m_pPane->Fast());
    EXPECT_EQ(m_pPane->GetSpeedLevel(), 4);
    EXPECT_EQ(g_nFastCalls, 4);

    // Slowing down touches B-frames only on reaching level 0 or below: count 0.
    g_throwB.clear();
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(m_pPane->Slow());
    EXPECT_EQ(g_throwB, (std::vector<uint32_t>{0}));
    EXPECT_EQ(m_pPane->GetMessageText(), QStringLiteral("Playing"));
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(m_pPane->Slow());
    EXPECT_FALSE(m_pPane->Slow());
    EXPECT_EQ(m_pPane->GetMessageText(), QStringLiteral("Speed / 16"));
    // From -1 to 0 upwards no B-frame call is made.
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(m_pPane->Fast());
    g_throwB.clear();
    ASSERT_TRUE(m_pPane->Fast());
    EXPECT_TRUE(g_throwB.empty());

    // While paused the level rises without the engine; the next play applies it.
    ASSERT_TRUE(m_pPane->Pause());
    g_nFastCalls = 0;
    ASSERT_TRUE(m_pPane->Fast());
    ASSERT_TRUE(m_pPane->Fast());
    EXPECT_EQ(g_nFastCalls, 0);
    ASSERT_TRUE(m_pPane->PlayNotSync());
    EXPECT_EQ(g_nFastCalls, 2);
    EXPECT_EQ(LogCount("CPlayWnd::PlayNotSync() Vemor_Fast succ"), 2);
}

TEST_F(PaneTest, FailedEngineCallsAreLoggedAndKeepOrChangeStateAsDocumented) {
    ASSERT_TRUE(m_pPane->Open(Sample("failures_50_frames.mp4")));
    ScopedEngineOverride restore;
    Engine().Play = [](int32_t, VemorRenderWindow*) -> VBOOL { return 0; };
    EXPECT_FALSE(m_pPane->Play());
    EXPECT_TRUE(LogHasPrefix("CPlayWnd::PlayNotSync() Vemor_Play Fail m_lPort="));
    EXPECT_EQ(m_pPane->GetPlayState(), PLAY_STATE_OPENED);
    Engine().Play = &Vemor_Play;
    ASSERT_TRUE(m_pPane->Play());

    // A failed pause still leaves the pane paused.
    Engine().Pause = [](int32_t, uint32_t) -> VBOOL { return 0; };
    EXPECT_TRUE(m_pPane->Pause());
    EXPECT_TRUE(LogHasPrefix("CPlayWnd::Pause() Vemor_Pause Fail m_lPort="));
    EXPECT_EQ(m_pPane->GetPlayState(), PLAY_STATE_PAUSED);

    Engine().OneByOne = [](int32_t) -> VBOOL { return 0; };
    EXPECT_FALSE(m_pPane->FrameForward(true));
    EXPECT_TRUE(LogHasPrefix("CPlayWnd::FrameForward() Vemor_OneByOne() Fail GetLastError()="));
    Engine().GetSystemTime = [](int32_t, VemorSystemTime*) -> VBOOL { return 0; };
    VemorSystemTime stTime{};
    EXPECT_FALSE(m_pPane->GetCurGlobalTime(&stTime));
    EXPECT_TRUE(LogHasPrefix("Vemor_GetSystemTime dwErr="));
    EXPECT_FALSE(m_pPane->GetCurGlobalTime(nullptr));
    EXPECT_EQ(LogCount("CPlayWnd::GetCurGlobalTime (m_lPort < 0) || (pGlobalTime == NULL)"), 1);
}

TEST_F(PaneTest, StepsAndReversePlayAreRefusedWhereTheyCannotWork) {
    {
        // Without the index callback the index never counts as built.
        ScopedEngineOverride restore;
        Engine().SetFileRefCallBack = [](int32_t, VemorFileRefCallBack, void*) -> VBOOL {
            return 1;
        };
        ASSERT_TRUE(m_pPane->Open(Sample("no_index_50_frames.mp4")));
        ASSERT_TRUE(m_pPane->Play());
        SpinFor(300);
        EXPECT_FALSE(m_pPane->BackPlay(true));
        EXPECT_FALSE(m_pPane->IsBackPlay());
    }
    ASSERT_TRUE(m_pPane->Open(Sample("reverse_50_frames.mp4")));
    ASSERT_TRUE(m_pPane->Play());
    // The callback sets the flag before it logs, on the engine's thread.
    ASSERT_TRUE(WaitFor([&] {
        return m_pPane->IsFileRefDone() &&
               LogHasPrefix("File Ref Created m_nSubWndIndex=0 m_lPort=");
    }));
    ASSERT_TRUE(m_pPane->FrameForward(true));
    EXPECT_EQ(m_pPane->GetPlayState(), PLAY_STATE_PAUSED);
    ASSERT_TRUE(m_pPane->BackPlay(true));  // paused: only the flag
    EXPECT_TRUE(m_pPane->IsBackPlay());
    ASSERT_TRUE(m_pPane->PlayNotSync());  // plays backwards now

    m_pPane->SetSync(true);
    EXPECT_FALSE(m_pPane->FrameForward(true));
    EXPECT_FALSE(m_pPane->FrameForward(false));
    EXPECT_FALSE(m_pPane->BackPlay(false));
    m_pPane->SetSync(false);
}

TEST_F(PaneTest, QueuedFileEndsAreHandledOnceAndFollowThePlayOrder) {
    const QString strFirst = Sample("order_first_50_frames.mp4");
    const QString strSecond = Sample("order_second_50_frames.mp4");
    m_main.playlist = {strFirst, strSecond};
    m_main.eOrder = PLAY_ORDER_PLAYLIST_PLAY;
    ASSERT_TRUE(m_pPane->Open(strFirst));
    ASSERT_TRUE(m_pPane->Play());

    ScopedEngineOverride restore;
    CountEngineCalls();
    for (int i = 0; i < 3; ++i) PostOrlinMessage(m_pPane, ORLIN_MSG_FILE_END);
    QCoreApplication::processEvents();
    EXPECT_EQ(g_nStopCalls, 1);
    EXPECT_EQ(m_pPane->GetFilePath(), strSecond);
    // The next entry opens in the background and plays on the answer.
    ASSERT_TRUE(WaitFor([&] { return !m_pPane->IsOpening(); }));
    EXPECT_EQ(m_pPane->GetPlayState(), PLAY_STATE_PLAYING);

    // The last entry ends the list under playlist play, wraps under playlist repeat.
    m_pPane->PlayEndMessage();
    EXPECT_EQ(m_pPane->GetPlayState(), PLAY_STATE_STOPPED);
    ASSERT_TRUE(m_pPane->Play());
    m_main.eOrder = PLAY_ORDER_PLAYLIST_REPEAT;
    m_pPane->PlayEndMessage();
    EXPECT_EQ(m_pPane->GetFilePath(), strFirst);
    ASSERT_TRUE(WaitFor([&] { return !m_pPane->IsOpening(); }));
    EXPECT_EQ(m_pPane->GetPlayState(), PLAY_STATE_PLAYING);

    // While the cut panel is open the end is left alone.
    m_main.bCutPanel = true;
    m_pPane->PlayEndMessage();
    EXPECT_EQ(m_pPane->GetPlayState(), PLAY_STATE_PLAYING);
}

TEST_F(PaneTest, RealFileEndRepeatsTheFileUnderSingleRepeat) {
    m_main.eOrder = PLAY_ORDER_SINGLE_REPEAT;
    ASSERT_TRUE(m_pPane->Open(Sample("repeat_10_frames.mp4", 10)));
    ASSERT_TRUE(m_pPane->Play());
    ScopedEngineOverride restore;
    CountEngineCalls();
    // 10 frames at 25 fps: the end comes within half a second, then play starts again.
    ASSERT_TRUE(WaitFor([] { return g_nStopCalls >= 1; }));
    EXPECT_TRUE(WaitFor([&] { return m_pPane->GetPlayState() == PLAY_STATE_PLAYING; }));
    m_main.eOrder = PLAY_ORDER_SINGLE_PLAY;
    EXPECT_TRUE(WaitFor([&] { return m_pPane->GetPlayState() == PLAY_STATE_STOPPED; }));
}

TEST_F(PaneTest, MessageTextIsDrawnOverThePictureInYellow) {
    ASSERT_TRUE(m_pPane->Open(Sample("message_50_frames.mp4")));
    ASSERT_TRUE(m_pPane->Play());
    ASSERT_TRUE(m_pPane->Pause());
    ASSERT_TRUE(m_pPane->Fast());  // "Speed * 2" for three seconds
    const uint64_t nBefore = m_pPane->GetRenderWnd()->PresentedCount();
    ASSERT_TRUE(m_pPane->FrameForward(true));
    ASSERT_TRUE(WaitFor([&] { return m_pPane->GetRenderWnd()->PresentedCount() > nBefore; }));
    const QImage image = m_pPane->GetRenderWnd()->LastPicture();
    int nYellow = 0;
    for (int y = 10; y < std::min(40, image.height()); ++y) {
        for (int x = 10; x < std::min(120, image.width()); ++x) {
            const QRgb px = image.pixel(x, y);
            if (qRed(px) > 200 && qGreen(px) > 200 && qBlue(px) < 60) ++nYellow;
        }
    }
    EXPECT_GT(nYellow, 10);
}

TEST_F(PaneTest, ZoomFollowsTheWheelWithinItsLimits) {
    ASSERT_TRUE(m_pPane->Open(Sample("zoom_50_frames.mp4")));
    EXPECT_FALSE(m_pPane->EnableZoom(true));  // not playing yet
    ASSERT_TRUE(m_pPane->Play());
    ASSERT_TRUE(WaitFor([&] { return FrameShown(m_pPane) >= 0; }));
    ASSERT_TRUE(m_pPane->EnableZoom(true));
    EXPECT_FALSE(m_pPane->EnableZoom(true));
    const QPointF pt(50, 50);
    for (int i = 0; i < 40; ++i) {
        QWheelEvent up(pt, pt, {}, {0, 120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                       false);
        QCoreApplication::sendEvent(m_pPane, &up);
    }
    EXPECT_EQ(m_pPane->GetZoomPercent(), 400);
    QWheelEvent down(pt, pt, {}, {0, -120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(m_pPane, &down);
    EXPECT_EQ(m_pPane->GetZoomPercent(), 390);
    m_pPane->Stop();
    EXPECT_FALSE(m_pPane->IsZoomOn());
}
