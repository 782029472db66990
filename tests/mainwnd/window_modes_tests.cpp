// Full screen, size and top-most modes and the floating panel on a started window.

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include "controls/skin_button.h"
#include "main_window_fixture.h"
#include "mainwnd/command_ids.h"
#include "mainwnd/control_ids.h"
#include "mainwnd/float_dlg.h"
#include "mainwnd/main_layout.h"

namespace {
class WindowModesTest : public StartedMainWindow {
protected:
    QRect PaneAreaOnScreen() {
        QWidget* pPanes = m_dlg.GetDlgShow();
        return QRect(pPanes->mapToGlobal(QPoint(0, 0)), pPanes->size());
    }
    QRect Screen() { return m_dlg.screen()->geometry(); }
    CSkinButton* FloatButton(int nId) { return m_dlg.GetFloatDlg()->GetButton(nId); }
    void ClickFloat(int nId) {
        QTest::mouseClick(FloatButton(nId), Qt::LeftButton);
        QCoreApplication::processEvents();
    }
};
}  // namespace

TEST_F(WindowModesTest, FullScreenPutsThePaneAreaOverTheScreenAndEveryWayOutRestores) {
    m_dlg.move(40, 30);
    const QRect rcNormal = m_dlg.geometry();
    CFloatDlg* pPanel = m_dlg.GetFloatDlg();
    // The panel is the strip above the pane area.
    const QRect rcPanes = m_dlg.GetDlgShow()->geometry();
    EXPECT_EQ(pPanel->geometry(), QRect(rcPanes.x(), rcPanes.y() - 26, rcPanes.width(), 26));
    EXPECT_TRUE(pPanel->isVisible());

    // Possible without a file; the pane area covers the screen but the 5-pixel frame inset.
    m_dlg.OnCommand(ID_FULL_SCREEN);
    ASSERT_TRUE(m_dlg.IsFullScreen());
    EXPECT_EQ(PaneAreaOnScreen(), Screen().adjusted(5, 5, -5, -5));
    EXPECT_FALSE(pPanel->isVisible());
    EXPECT_EQ(FloatButton(CFloatDlg::IDC_FULL_SCREEN)->toolTip(), QStringLiteral("Full Screen"));

    // A double click on a pane leaves it again.
    QTest::mouseDClick(Sel(), Qt::LeftButton);
    EXPECT_FALSE(m_dlg.IsFullScreen());
    EXPECT_EQ(m_dlg.geometry(), rcNormal);
    EXPECT_TRUE(pPanel->isVisible());
    EXPECT_EQ(pPanel->geometry().width(), m_dlg.GetDlgShow()->width());

    // The panel's button enters, the command leaves.
    ClickFloat(CFloatDlg::IDC_FULL_SCREEN);
    EXPECT_TRUE(m_dlg.IsFullScreen());
    m_dlg.OnCommand(ID_FULL_SCREEN);
    EXPECT_FALSE(m_dlg.IsFullScreen());
    EXPECT_EQ(m_dlg.geometry(), rcNormal);

    // Stop leaves full screen, with the normal controls in place.
    OpenPaused();
    m_dlg.OnCommand(ID_FULL_SCREEN);
    ASSERT_TRUE(m_dlg.IsFullScreen());
    m_dlg.OnCommand(ID_STOP);
    EXPECT_FALSE(m_dlg.IsFullScreen());
    EXPECT_EQ(m_dlg.geometry(), rcNormal);
    EXPECT_TRUE(m_dlg.GetControl(IDC_PROGRESS)->isVisible());
    EXPECT_TRUE(m_dlg.GetControl(IDC_PLAYLIST)->isVisible());
    EXPECT_FALSE(m_dlg.GetButton(IDC_LANGUAGE)->isVisible());
}

TEST_F(WindowModesTest, SizeModesFitThePictureOnlyWhileOnePanePlaysOrPauses) {
    const QRect rcStart = m_dlg.geometry();
    m_dlg.OnCommand(ID_DOUBLE_SIZE);
    EXPECT_EQ(m_dlg.geometry(), rcStart);
    EXPECT_EQ(m_dlg.GetWindowSizeMode(), 1);

    OpenPaused();
    const int nExtraWidth = m_dlg.GetPlaylistWidth() + 13;
    const auto centred = [&](QSize size) {
        return QRect(Screen().x() + (Screen().width() - size.width()) / 2,
                     Screen().y() + (Screen().height() - size.height()) / 2, size.width(),
                     size.height());
    };
    m_dlg.OnCommand(ID_DOUBLE_SIZE);
    EXPECT_EQ(m_dlg.geometry(), centred(QSize(320 + nExtraWidth, 240 + 121)));
    EXPECT_EQ(m_dlg.GetWindowSizeMode(), 2);
    // Below 800 x 600 while one file plays: the window may shrink that far.
    m_dlg.OnCommand(ID_QUARTER_SIZE);
    EXPECT_EQ(m_dlg.geometry(), centred(QSize(40 + nExtraWidth, 30 + 121)));
    // Narrow: the open, playlist and tool box buttons hide.
    EXPECT_FALSE(m_dlg.GetButton(IDC_OPEN)->isVisible());

    // A size mode leaves full screen without going back to the saved place.
    m_dlg.OnCommand(ID_FULL_SCREEN);
    m_dlg.OnCommand(ID_NORMAL_SIZE);
    EXPECT_FALSE(m_dlg.IsFullScreen());
    EXPECT_EQ(m_dlg.geometry(), centred(QSize(160 + nExtraWidth, 120 + 121)));
    EXPECT_TRUE(m_dlg.GetFloatDlg()->isVisible());

    // Four panes: ignored.
    m_dlg.OnCommand(ID_LAYOUT_4);
    m_dlg.resize(900, 700);
    ASSERT_TRUE(m_dlg.OpenInPane(m_strSample));
    ASSERT_TRUE(WaitFor([&] { return Sel()->GetPlayState() == PLAY_STATE_PLAYING; }));
    m_dlg.OnCommand(ID_HALF_SIZE);
    EXPECT_EQ(m_dlg.size(), QSize(900, 700));
    EXPECT_EQ(m_dlg.GetWindowSizeMode(), 1);
}

TEST_F(WindowModesTest, TopMostOnlyWhilePlayingRisesAndFallsWithPlayback) {
    OpenPaused();
    const QRect rcBefore = m_dlg.geometry();
    m_dlg.OnCommand(ID_TOP_PLAYING);
    EXPECT_FALSE(m_dlg.IsTopMost());
    QTest::mouseClick(m_dlg.GetButton(IDC_PLAY_PAUSE), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return m_dlg.GetStatusText() == QStringLiteral("Playing"); }));
    EXPECT_TRUE(m_dlg.IsTopMost());
    EXPECT_TRUE(m_dlg.isVisible());
    EXPECT_EQ(m_dlg.geometry(), rcBefore);
    QTest::mouseClick(m_dlg.GetButton(IDC_PLAY_PAUSE), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return m_dlg.GetStatusText() == QStringLiteral("Pause"); }));
    EXPECT_FALSE(m_dlg.IsTopMost());
    EXPECT_EQ(m_dlg.geometry(), rcBefore);
    // Always: also while paused. Never: not even while playing.
    m_dlg.OnCommand(ID_TOP_ALWAYS);
    EXPECT_TRUE(m_dlg.IsTopMost());
    m_dlg.OnCommand(ID_TOP_NEVER);
    EXPECT_FALSE(m_dlg.IsTopMost());
}

TEST_F(WindowModesTest, FloatingPanelCyclesTopMostAndTogglesPartZoom) {
    const auto tip = [&](int nId) { return FloatButton(nId)->toolTip(); };
    EXPECT_EQ(tip(CFloatDlg::IDC_TOP_MOST), QStringLiteral("Never"));
    ClickFloat(CFloatDlg::IDC_TOP_MOST);
    EXPECT_EQ(m_dlg.GetTopMostMode(), 1);
    EXPECT_EQ(tip(CFloatDlg::IDC_TOP_MOST), QStringLiteral("Only Playing"));
    ClickFloat(CFloatDlg::IDC_TOP_MOST);
    EXPECT_EQ(m_dlg.GetTopMostMode(), 2);
    EXPECT_EQ(tip(CFloatDlg::IDC_TOP_MOST), QStringLiteral("Always"));
    EXPECT_TRUE(m_dlg.IsTopMost());
    ClickFloat(CFloatDlg::IDC_TOP_MOST);
    EXPECT_EQ(m_dlg.GetTopMostMode(), 0);
    EXPECT_FALSE(m_dlg.IsTopMost());

    EXPECT_EQ(tip(CFloatDlg::IDC_PLAYER_SETTING), QStringLiteral("Player Setting"));
    EXPECT_EQ(tip(CFloatDlg::IDC_PART_ZOOM), QStringLiteral("Part"));
    ClickFloat(CFloatDlg::IDC_PART_ZOOM);  // no file: nothing to zoom
    EXPECT_EQ(tip(CFloatDlg::IDC_PART_ZOOM), QStringLiteral("Part"));
    OpenPaused();
    ClickFloat(CFloatDlg::IDC_PART_ZOOM);
    EXPECT_TRUE(Sel()->IsZoomOn());
    EXPECT_EQ(tip(CFloatDlg::IDC_PART_ZOOM), QStringLiteral("Cancel Part"));
    // The panel follows the pane area when the playlist hides.
    m_dlg.TogglePlaylist();
    EXPECT_EQ(m_dlg.GetFloatDlg()->width(), m_dlg.GetDlgShow()->width());
}
