#include <gtest/gtest.h>

#include <QCoreApplication>
#include <set>
#include <vector>

#include "pane_fixture.h"
#include "playback/engine_api.h"
#include "playback/render_wnd.h"

namespace {
std::vector<int32_t> g_soundOn;
std::vector<int32_t> g_soundOff;

void RecordSound() {
    g_soundOn.clear();
    g_soundOff.clear();
    Engine().PlaySoundShare = [](int32_t nPort) -> VBOOL {
        g_soundOn.push_back(nPort);
        return Vemor_PlaySoundShare(nPort);
    };
    Engine().StopSoundShare = [](int32_t nPort) -> VBOOL {
        g_soundOff.push_back(nPort);
        return Vemor_StopSoundShare(nPort);
    };
}

class DlgShowTest : public PaneTest {
protected:
    void TearDown() override {
        m_dlgShow.CloseAllPanes();
        PaneTest::TearDown();
    }
    // Opens and plays `strPath` in pane `nIndex` through the container.
    void PlayIn(int32_t nIndex, const QString& strPath) {
        m_dlgShow.SelectPaneByIndex(nIndex);
        ASSERT_TRUE(m_dlgShow.OpenAndPlay(strPath));
        ASSERT_TRUE(WaitFor(
            [&] { return m_dlgShow.GetPlayWnd(nIndex)->GetPlayState() == PLAY_STATE_PLAYING; }));
    }
    std::set<int32_t> VisiblePanes() {
        std::set<int32_t> shown;
        for (int32_t i = 0; i < CDlgShow::MAX_PANES; ++i) {
            if (m_dlgShow.GetPlayWnd(i)->isVisible()) shown.insert(i);
        }
        return shown;
    }
    int StateMessagesAfterSpin() {
        QCoreApplication::processEvents();
        return m_main.nStateMessages;
    }
};
}  // namespace

TEST_F(DlgShowTest, LayoutChangesKeepOrResetTheSelectionAndRefuseRepeats) {
    m_dlgShow.resize(641, 481);
    EXPECT_FALSE(m_dlgShow.SetLayout(1));
    EXPECT_FALSE(m_dlgShow.SetLayout(6));
    ASSERT_TRUE(m_dlgShow.SetLayout(4));
    EXPECT_EQ(VisiblePanes(), (std::set<int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(m_dlgShow.GetPlayWnd(3)->geometry(), QRect(321, 241, 320, 240));

    m_dlgShow.SelectPaneByIndex(3);
    ASSERT_TRUE(m_dlgShow.SetLayout(1));
    EXPECT_EQ(m_dlgShow.GetSelIndex(), 0);
    EXPECT_EQ(VisiblePanes(), (std::set<int32_t>{0}));

    ASSERT_TRUE(m_dlgShow.SetLayout(16));
    m_dlgShow.SelectPaneByIndex(8);
    const int nBefore = StateMessagesAfterSpin();
    ASSERT_TRUE(m_dlgShow.SetLayout(9));
    EXPECT_EQ(m_dlgShow.GetSelIndex(), 8);
    EXPECT_EQ(VisiblePanes().size(), 9u);
    EXPECT_GT(StateMessagesAfterSpin(), nBefore);

    // An index outside the layout is ignored.
    m_dlgShow.SelectPaneByIndex(9);
    EXPECT_EQ(m_dlgShow.GetSelIndex(), 8);
}

TEST_F(DlgShowTest, ChangingTheLayoutClosesOpenPanesAndOnlyTheOnePaneShowsTheIdlePicture) {
    CRenderWnd* pRender = m_dlgShow.GetPlayWnd(0)->GetRenderWnd();
    EXPECT_EQ(pRender->GetContent(), CRenderWnd::Content::IdleImage);
    const QString strPath = Sample("layout_change_50_frames.mp4");
    PlayIn(0, strPath);
    ASSERT_TRUE(m_dlgShow.SetLayout(4));
    EXPECT_EQ(m_dlgShow.GetPlayWnd(0)->GetPlayState(), PLAY_STATE_IDLE);
    EXPECT_EQ(m_dlgShow.GetSelState(), PLAY_STATE_IDLE);
    EXPECT_EQ(pRender->GetContent(), CRenderWnd::Content::Black);
    ASSERT_TRUE(m_dlgShow.SetLayout(1));
    EXPECT_EQ(pRender->GetContent(), CRenderWnd::Content::IdleImage);
}

TEST_F(DlgShowTest, EnlargedViewShowsOnlyTheSelectedPaneAndPointSelectionUsesTheGrid) {
    m_dlgShow.resize(400, 300);
    ASSERT_TRUE(m_dlgShow.SetLayout(4));
    m_dlgShow.SelectPaneAtPoint(QPoint(250, 200));
    EXPECT_EQ(m_dlgShow.GetSelIndex(), 3);
    m_dlgShow.ToggleEnlarged();
    EXPECT_EQ(VisiblePanes(), (std::set<int32_t>{3}));
    EXPECT_EQ(m_dlgShow.GetPlayWnd(3)->geometry(), QRect(0, 0, 400, 300));
    // Point selection ignores the enlarged view and reads the grid.
    m_dlgShow.SelectPaneAtPoint(QPoint(10, 10));
    EXPECT_EQ(m_dlgShow.GetSelIndex(), 0);
    m_dlgShow.SelectPaneAtPoint(QPoint(500, 10));
    EXPECT_EQ(m_dlgShow.GetSelIndex(), 0);
    m_dlgShow.ToggleEnlarged();
    EXPECT_EQ(VisiblePanes().size(), 4u);
}

TEST_F(DlgShowTest, SoundFollowsTheSelection) {
    ScopedEngineOverride restore;
    RecordSound();
    ASSERT_TRUE(m_dlgShow.SetLayout(4));
    PlayIn(0, Sample("sound_a.mp4"));
    PlayIn(1, Sample("sound_b.mp4"));
    const int32_t lPort0 = m_dlgShow.GetPlayWnd(0)->GetPort();
    const int32_t lPort1 = m_dlgShow.GetPlayWnd(1)->GetPort();

    g_soundOn.clear();
    g_soundOff.clear();
    m_dlgShow.SelectPaneByIndex(0);
    ASSERT_FALSE(g_soundOn.empty());
    EXPECT_EQ(std::set<int32_t>(g_soundOn.begin(), g_soundOn.end()), std::set<int32_t>{lPort0});
    EXPECT_NE(std::find(g_soundOff.begin(), g_soundOff.end(), lPort1), g_soundOff.end());

    g_soundOn.clear();
    m_dlgShow.SelectPaneByIndex(1);
    EXPECT_EQ(std::set<int32_t>(g_soundOn.begin(), g_soundOn.end()), std::set<int32_t>{lPort1});

    // Sound off silences every pane.
    g_soundOn.clear();
    g_soundOff.clear();
    m_dlgShow.SetVolume(0, false);
    EXPECT_TRUE(g_soundOn.empty());
    EXPECT_EQ(std::set<int32_t>(g_soundOff.begin(), g_soundOff.end()),
              (std::set<int32_t>{lPort0, lPort1}));
}

TEST_F(DlgShowTest, CommandsRefuseWithoutAFileOrAMainWindow) {
    EXPECT_FALSE(m_dlgShow.Play());
    EXPECT_FALSE(m_dlgShow.PlayPause());
    CDlgShow orphan(nullptr);
    EXPECT_FALSE(orphan.Stop());
    EXPECT_EQ(LogCount("CDlgShow::SyncStop() return 1"), 1);
    EXPECT_FALSE(orphan.GoToStart());
    EXPECT_FALSE(orphan.ApplySettings());
    EXPECT_FALSE(orphan.SetColour(64, 64, 64, 64));
    EXPECT_EQ(orphan.GetSelTotalFrames(), 0u);
    EXPECT_TRUE(orphan.GetSelFilePath().isEmpty());
}

TEST_F(DlgShowTest, PlayPauseToggleFollowsThePaneState) {
    PlayIn(0, Sample("toggle_50_frames.mp4"));
    EXPECT_TRUE(m_dlgShow.PlayPause());
    EXPECT_EQ(m_dlgShow.GetSelState(), PLAY_STATE_PAUSED);
    EXPECT_TRUE(m_dlgShow.PlayPause());
    EXPECT_EQ(m_dlgShow.GetSelState(), PLAY_STATE_PLAYING);
    EXPECT_TRUE(m_dlgShow.Stop());
    EXPECT_EQ(m_dlgShow.GetSelState(), PLAY_STATE_STOPPED);
    EXPECT_TRUE(m_dlgShow.PlayPause());
    EXPECT_EQ(m_dlgShow.GetSelState(), PLAY_STATE_PLAYING);
    EXPECT_EQ(m_dlgShow.GetSelTotalFrames(), 50u);
}

TEST_F(DlgShowTest, SettingsReachOpenPanesAndFailuresAreLogged) {
    ScopedEngineOverride restore;
    Engine().SetPicQuality = [](int32_t, VBOOL) -> VBOOL { return 0; };
    Engine().SetColor = [](int32_t, uint32_t, int32_t, int32_t, int32_t, int32_t) -> VBOOL {
        return 0;
    };
    EXPECT_TRUE(m_dlgShow.ApplySettings());
    EXPECT_FALSE(LogHasPrefix("Vemor_SetPicQuality dwErr="));
    PlayIn(0, Sample("settings_50_frames.mp4"));
    EXPECT_TRUE(m_dlgShow.ApplySettings());
    EXPECT_TRUE(LogHasPrefix("Vemor_SetPicQuality dwErr="));
    EXPECT_TRUE(m_dlgShow.SetColour(10, 20, 30, 40));
    EXPECT_TRUE(LogHasPrefix("Vemor_SetColor dwErr="));
}

TEST_F(DlgShowTest, ClosingAFileClosesOnlyThePanesShowingIt) {
    ASSERT_TRUE(m_dlgShow.SetLayout(4));
    const QString strA = Sample("close_a.mp4");
    const QString strB = Sample("close_b.mp4");
    PlayIn(0, strA);
    PlayIn(1, strB);
    PlayIn(2, strA);
    EXPECT_TRUE(m_dlgShow.ClosePanesShowingFile(strA));
    EXPECT_EQ(m_dlgShow.GetPlayWnd(0)->GetPlayState(), PLAY_STATE_IDLE);
    EXPECT_EQ(m_dlgShow.GetPlayWnd(1)->GetPlayState(), PLAY_STATE_PLAYING);
    EXPECT_EQ(m_dlgShow.GetPlayWnd(2)->GetPlayState(), PLAY_STATE_IDLE);
    EXPECT_TRUE(m_dlgShow.ClosePanesShowingFile(QStringLiteral("/no/such/file.mp4")));
    EXPECT_EQ(m_dlgShow.GetPlayWnd(1)->GetPlayState(), PLAY_STATE_PLAYING);
}
