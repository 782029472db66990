// Keys pressed on the main window's real controls, through the user's table.

#include <QTest>

#include "controls/skin_button.h"
#include "main_window_fixture.h"
#include "mainwnd/command_ids.h"
#include "mainwnd/control_ids.h"
#include "mainwnd/ih_list_box.h"
#include "mainwnd/playlist_controller.h"

namespace {
class HotKeyDispatchTest : public StartedMainWindow {
protected:
    QWidget* Playlist() { return m_dlg.GetControl(IDC_PLAYLIST); }
    void Press(QWidget* pWidget, Qt::Key eKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(pWidget, eKey, modifiers);
        QCoreApplication::processEvents();
    }
    void Bind(HotKeyAction eAction, uint16_t wKey, uint16_t wModifiers) {
        m_dlg.Settings().stHotKeys[static_cast<size_t>(eAction)] = {wKey, wModifiers};
    }
};
}  // namespace

TEST_F(HotKeyDispatchTest, ShiftSpaceStoredForPlayPauseNeedsShift) {
    OpenPaused();
    Bind(HotKeyAction::PlayOrPause, ' ', HOTKEY_MOD_SHIFT);
    Press(Playlist(), Qt::Key_Space);
    SpinFor(50);
    EXPECT_EQ(Sel()->GetPlayState(), PLAY_STATE_PAUSED);
    EXPECT_EQ(LogCount("OnKeyDown nHotKeyIndex=0"), 0);
    Press(Playlist(), Qt::Key_Space, Qt::ShiftModifier);
    EXPECT_EQ(Sel()->GetPlayState(), PLAY_STATE_PLAYING);
    EXPECT_TRUE(WaitFor([&] { return m_dlg.GetStatusText() == QStringLiteral("Playing"); }));
    EXPECT_EQ(LogCount("OnKeyDown nHotKeyIndex=0"), 1);
    // Alt is read from the keyboard's state when the key is handled.
    Bind(HotKeyAction::PlayOrPause, 'P', HOTKEY_MOD_ALT);
    Press(Playlist(), Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(Sel()->GetPlayState(), PLAY_STATE_PAUSED);
}

TEST_F(HotKeyDispatchTest, TwoEntriesWithOneKeyRunOnlyTheLowerIndex) {
    OpenPaused();
    Bind(HotKeyAction::PlayOrPause, 'M', 0);
    Bind(HotKeyAction::Stop, 'M', 0);
    Press(Playlist(), Qt::Key_M);
    EXPECT_EQ(Sel()->GetPlayState(), PLAY_STATE_PLAYING);
    EXPECT_EQ(LogCount("OnKeyDown nHotKeyIndex=0"), 1);
    EXPECT_EQ(LogCount("OnKeyDown nHotKeyIndex=1"), 0);
    EXPECT_EQ(LogCount("COrlinDlg::SyncStop()"), 0);
}

TEST_F(HotKeyDispatchTest, EscapeStoredInTheTableOnlyLeavesFullScreen) {
    OpenPaused();
    Bind(HotKeyAction::Stop, 27, 0);
    const QRect rcNormal = m_dlg.geometry();
    Press(Playlist(), Qt::Key_Escape);
    EXPECT_EQ(Sel()->GetPlayState(), PLAY_STATE_PAUSED);
    EXPECT_TRUE(m_dlg.isVisible());
    EXPECT_EQ(m_dlg.result(), 0);
    EXPECT_EQ(LogCount("COrlinDlg::SyncStop()"), 0);

    m_dlg.OnCommand(32800);
    ASSERT_TRUE(m_dlg.IsFullScreen());
    Press(Playlist(), Qt::Key_Escape);
    EXPECT_FALSE(m_dlg.IsFullScreen());
    EXPECT_EQ(m_dlg.geometry(), rcNormal);
    EXPECT_EQ(Sel()->GetPlayState(), PLAY_STATE_PAUSED);
    EXPECT_EQ(LogCount("COrlinDlg::SyncStop()"), 0);
}

TEST_F(HotKeyDispatchTest, DefaultArrowsStepFramesFromPlainPressesOnControlsAndPanes) {
    OpenPaused();
    const int nStart = FrameShown();
    ASSERT_GE(nStart, 0);
    // The default binding stores Right with the extended flag.
    ASSERT_EQ(m_dlg.GetSettings().stHotKeys[3].wModifiers, HOTKEY_MOD_EXT);
    Press(Playlist(), Qt::Key_Right);
    EXPECT_TRUE(WaitFor([&] { return FrameShown() == nStart + 1; })) << FrameShown();
    // A pane with the focus forwards the key to the main window (message 4401).
    QTest::mouseClick(Sel(), Qt::LeftButton);
    ASSERT_TRUE(Sel()->hasFocus() || QApplication::focusWidget() == nullptr);
    Press(Sel(), Qt::Key_Right);
    EXPECT_TRUE(WaitFor([&] { return FrameShown() == nStart + 2; })) << FrameShown();
    // Ctrl+Left goes to the start, Ctrl+Right to the end.
    Press(Playlist(), Qt::Key_Right, Qt::ControlModifier);
    EXPECT_TRUE(WaitFor([&] { return FrameShown() == 49; })) << FrameShown();
    Press(Playlist(), Qt::Key_Left, Qt::ControlModifier);
    EXPECT_TRUE(WaitFor([&] { return FrameShown() == 0; })) << FrameShown();
    EXPECT_EQ(LogCount("OnKeyDown nHotKeyIndex=3"), 2);
}

TEST_F(HotKeyDispatchTest, ContainerKeepsSpaceAndNoKeyReachesTheFocusedControl) {
    OpenPaused();
    Press(m_dlg.GetDlgShow(), Qt::Key_Space);
    SpinFor(50);
    EXPECT_EQ(Sel()->GetPlayState(), PLAY_STATE_PAUSED);
    // Other keys pressed on the container are hot keys.
    Press(m_dlg.GetDlgShow(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(Sel()->GetPlayState(), PLAY_STATE_STOPPED);
    // Enter neither closes the window nor reaches a button.
    Press(m_dlg.GetButton(IDC_PLAY_PAUSE), Qt::Key_Return);
    EXPECT_TRUE(m_dlg.isVisible());
    EXPECT_EQ(Sel()->GetPlayState(), PLAY_STATE_STOPPED);
    // Volume keys move the slider by a tenth.
    const int nVolume = m_dlg.GetVolume();
    Press(Playlist(), Qt::Key_Down);
    EXPECT_EQ(m_dlg.GetVolume(), nVolume - nVolume / 10);
}

TEST_F(HotKeyDispatchTest, FrameAndJumpKeysLeaveASynchronisedGroupWhereItIs) {
    m_dlg.OnCommand(ID_LAYOUT_4);
    for (const QString& strPath : {Camera(0, samplegen::Container::Recorder, "k0.imx"),
                                   Camera(1, samplegen::Container::Mp4, "k1.mp4")}) {
        ASSERT_TRUE(m_dlg.AddToPlaylist(strPath));
    }
    m_dlg.GetPlaylist()->GetListBox()->selectAll();
    m_dlg.GetButton(IDC_SYNC)->click();
    m_dlg.GetButton(IDC_PLAY_PAUSE)->click();
    ASSERT_TRUE(WaitFor([&] { return FrameShown() >= 40; }));
    // Space pauses the whole group in this mode too.
    Press(Playlist(), Qt::Key_Space);
    ASSERT_EQ(m_dlg.GetDlgShow()->GetSelState(), PLAY_STATE_PAUSED);
    SpinFor(200);
    const int nPaused = FrameShown();
    ASSERT_GE(nPaused, 40);
    // Stepping or jumping one camera would take it out of step with the others.
    for (auto [eKey, modifiers] :
         {std::pair{Qt::Key_Right, Qt::KeyboardModifiers()},
          std::pair{Qt::Key_Left, Qt::KeyboardModifiers()},
          std::pair{Qt::Key_Right, Qt::KeyboardModifiers(Qt::ControlModifier)},
          std::pair{Qt::Key_Left, Qt::KeyboardModifiers(Qt::ControlModifier)}}) {
        Press(Playlist(), eKey, modifiers);
    }
    SpinFor(300);
    EXPECT_EQ(FrameShown(), nPaused);
    EXPECT_EQ(m_dlg.GetDlgShow()->GetSelState(), PLAY_STATE_PAUSED);
}
