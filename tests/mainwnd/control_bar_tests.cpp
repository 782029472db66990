// The control bar driven the way a user drives it: the mouse on the real
// sliders and buttons of a started main window.

#include <QTest>

#include "controls/bitmap_slider.h"
#include "controls/skin_button.h"
#include "main_window_fixture.h"
#include "mainwnd/command_ids.h"
#include "mainwnd/control_ids.h"
#include "mainwnd/main_menus.h"
#include "mainwnd/progress_math.h"

namespace {
void Press(QWidget* pWidget, QPoint pt) {
    QTest::mousePress(pWidget, Qt::LeftButton, Qt::NoModifier, pt);
    QCoreApplication::processEvents();
}
void Release(QWidget* pWidget, QPoint pt) {
    QTest::mouseRelease(pWidget, Qt::LeftButton, Qt::NoModifier, pt);
    QCoreApplication::processEvents();
}

class ControlBarTest : public StartedMainWindow {
protected:
    bool StatusBecomes(const char* szText) {
        return WaitFor([&] { return m_dlg.GetStatusText() == QString::fromUtf8(szText); });
    }
    void ClickButton(int nId) {
        CSkinButton* pButton = m_dlg.GetButton(nId);
        ASSERT_NE(pButton, nullptr) << nId;
        QTest::mouseClick(pButton, Qt::LeftButton, Qt::NoModifier, pButton->rect().center());
        QCoreApplication::processEvents();
    }
    int SeekLines() {
        std::lock_guard lock(m_logMutex);
        return static_cast<int>(std::count_if(m_log.begin(), m_log.end(), [](const std::string& s) {
            return s.rfind("COrlinDlg::ProgressSlider SetSelWndFramePos", 0) == 0;
        }));
    }
    bool MuteChecked() {
        m_dlg.GetMenus()->ApplyRule(MenuKind::Main);
        return m_dlg.GetMenus()->Item(MenuKind::Main, ID_MUTE)->isChecked();
    }
};
}  // namespace

TEST_F(ControlBarTest, PressingTheProgressTrackSeeksOnceAndShowsThatFrame) {
    OpenPaused();
    CBitmapSlider* pProgress = m_dlg.GetProgressSlider();
    const QPoint pt(pProgress->width() * 3 / 4, pProgress->height() / 2);
    Press(pProgress, pt);
    ASSERT_TRUE(WaitFor([&] { return SeekLines() == 1; }));
    const int nFrame = static_cast<int>(FrameForSliderPos(pProgress->GetPos(), 50));
    EXPECT_GT(nFrame, 30);
    EXPECT_EQ(
        LogCount("COrlinDlg::ProgressSlider SetSelWndFramePos lFrame=" + std::to_string(nFrame)),
        1);
    EXPECT_TRUE(WaitFor([&] { return FrameShown() == nFrame; })) << FrameShown();

    // The release reports where the thumb already is: no second seek.
    Release(pProgress, pt);
    SpinFor(100);
    EXPECT_EQ(SeekLines(), 1);
    // Timer 2 keeps the thumb where the picture is (by whole seconds) instead
    // of snapping it back to where it was.
    SpinFor(COrlinDlg::TIMER2_MS + 100);
    EXPECT_EQ(pProgress->GetPos(), 100);
}

TEST_F(ControlBarTest, DraggingTheProgressThumbSeeksWhereItStops) {
    OpenPaused();
    CBitmapSlider* pProgress = m_dlg.GetProgressSlider();
    const int y = pProgress->height() / 2;
    Press(pProgress, QPoint(pProgress->width() / 4, y));
    // The move of a hand holding the button down.
    QMouseEvent move(QEvent::MouseMove, QPointF(pProgress->width() / 2, y),
                     QPointF(pProgress->mapToGlobal(QPoint(pProgress->width() / 2, y))),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(pProgress, &move);
    Release(pProgress, QPoint(pProgress->width() / 2, y));
    const int nFrame = static_cast<int>(FrameForSliderPos(pProgress->GetPos(), 50));
    EXPECT_TRUE(WaitFor([&] { return FrameShown() == nFrame; })) << FrameShown();
    EXPECT_NEAR(nFrame, 25, 2);
}

TEST_F(ControlBarTest, PressingTheVolumeSliderSetsTheVolumeAndItsTooltip) {
    CBitmapSlider* pVolume = m_dlg.GetVolumeSlider();
    Press(pVolume, QPoint(pVolume->width() / 5, pVolume->height() / 2));
    Release(pVolume, QPoint(pVolume->width() / 5, pVolume->height() / 2));
    ASSERT_TRUE(WaitFor([&] { return m_dlg.GetVolume() == pVolume->GetPos(); }));
    EXPECT_LT(m_dlg.GetVolume(), 20000);
    EXPECT_EQ(pVolume->toolTip(), VolumeTipText(pVolume->GetPos()));
    EXPECT_NE(pVolume->toolTip(), QStringLiteral("49"));
}

TEST_F(ControlBarTest, PlayAfterStopOrTheEndPlaysTheFileOfThePaneWithoutAListSelection) {
    // Opened the way a command-line file or a drop opens it: no entry selected.
    m_dlg.SetPlayOrder(PLAY_ORDER_SINGLE_PLAY);
    ASSERT_TRUE(m_dlg.OpenInPane(m_strSample));
    ASSERT_TRUE(StatusBecomes("Playing"));
    ClickButton(IDC_STOP);
    ASSERT_TRUE(StatusBecomes("Stop"));
    ClickButton(IDC_PLAY_PAUSE);
    EXPECT_TRUE(StatusBecomes("Playing"));
    const uint64_t nShown = Sel()->GetRenderWnd()->PresentedCount();
    EXPECT_TRUE(WaitFor([&] { return Sel()->GetRenderWnd()->PresentedCount() > nShown + 2; }));

    // At the end of the file the pane stops; play starts it again.
    ASSERT_TRUE(WaitFor([&] { return Sel()->IsFileRefDone(); }));
    ClickButton(IDC_GOTO_END);
    ASSERT_TRUE(StatusBecomes("Stop"));
    ClickButton(IDC_PLAY_PAUSE);
    EXPECT_TRUE(StatusBecomes("Playing"));
    EXPECT_EQ(Sel()->GetFilePath(), m_strSample);
}

TEST_F(ControlBarTest, WhateverEndsAMuteShowsItOnTheButtonAndTheMenu) {
    ClickButton(IDC_SOUND);
    ASSERT_FALSE(m_dlg.IsSoundOn());
    ASSERT_TRUE(MuteChecked());
    // Toggling the picture quality is not a sound command and keeps the mute.
    m_dlg.OnCommand(ID_HIGH_QUALITY);
    EXPECT_FALSE(m_dlg.IsSoundOn());

    m_dlg.OnCommand(ID_SOUND_UP);
    EXPECT_TRUE(m_dlg.IsSoundOn());
    EXPECT_FALSE(MuteChecked());
    EXPECT_EQ(m_dlg.GetButton(IDC_SOUND)->toolTip(), QStringLiteral("Mute On"));

    ClickButton(IDC_SOUND);
    ASSERT_EQ(m_dlg.GetButton(IDC_SOUND)->toolTip(), QStringLiteral("Mute Off"));
    m_dlg.OnCommand(ID_SOUND_DOWN);
    EXPECT_TRUE(m_dlg.IsSoundOn());
    EXPECT_EQ(m_dlg.GetButton(IDC_SOUND)->toolTip(), QStringLiteral("Mute On"));

    ClickButton(IDC_SOUND);
    m_dlg.ApplyPlayerSettings();
    EXPECT_TRUE(m_dlg.IsSoundOn());
    EXPECT_FALSE(MuteChecked());
}

TEST_F(ControlBarTest, HighQualityMarkStartsFromTheSettingsFile) {
    PlayerSettings stored;
    stored.bHighQuality = false;
    ASSERT_TRUE(SavePlayerSettings(stored, SettingsFilePath()));
    COrlinDlg dlg;
    dlg.OnInitDialog({QStringLiteral("orlin")});
    CMainMenus* pMenus = dlg.GetMenus();
    pMenus->ApplyRule(MenuKind::Main);
    EXPECT_FALSE(pMenus->Item(MenuKind::Main, ID_HIGH_QUALITY)->isChecked());
    EXPECT_FALSE(dlg.GetDlgShow()->GetPlaySettings().bHighQuality);

    // The first toggle turns it on.
    pMenus->Item(MenuKind::Main, ID_HIGH_QUALITY)->trigger();
    pMenus->ApplyRule(MenuKind::Main);
    EXPECT_TRUE(pMenus->Item(MenuKind::Main, ID_HIGH_QUALITY)->isChecked());
    EXPECT_TRUE(dlg.GetDlgShow()->GetPlaySettings().bHighQuality);
    EXPECT_TRUE(dlg.GetSettings().bHighQuality);
}
