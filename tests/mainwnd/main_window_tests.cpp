#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <mutex>
#include <string>
#include <vector>

#include "common/debug_log.h"
#include "controls/bitmap_slider.h"
#include "controls/orlin_message_box.h"
#include "controls/skin_button.h"
#include "controls/skin_picture.h"
#include "controls/slider_moved_event.h"
#include "main_window_fixture.h"
#include "mainwnd/command_ids.h"
#include "mainwnd/control_ids.h"
#include "mainwnd/frame_geometry.h"
#include "mainwnd/main_layout.h"
#include "mainwnd/main_menus.h"
#include "mainwnd/orlin_dlg.h"
#include "playback/dlg_show.h"
#include "playback/engine_api.h"
#include "playback/play_wnd.h"
#include "samplegen/samplegen.h"
#include "settings/settings_file.h"
#include "tools/cut/file_cut_dlg.h"
#include "wait_for.h"

namespace {
// A started main window with one 50-frame recording, its log and its message boxes.
class MainWindowTest : public StartedMainWindow {
protected:
    void Click(int nId) {
        CSkinButton* pButton = m_dlg.GetButton(nId);
        ASSERT_NE(pButton, nullptr) << nId;
        pButton->click();
        QCoreApplication::processEvents();
    }
    bool StatusBecomes(const char* szText) {
        return WaitFor([&] { return m_dlg.GetStatusText() == QString::fromUtf8(szText); });
    }
};
}  // namespace

TEST_F(MainWindowTest, ControlsSitAtTheirLayoutRectanglesInsideTheFrame) {
    QWidget* pClient = m_dlg.GetClientArea();
    EXPECT_EQ(pClient->geometry(), QRect(4, 31, 792, 565));
    const MainLayout layout = ComputeMainLayout({792, 565, 192, true, false});
    for (int nId : {IDC_PANE_BAR, IDC_PLAY_PAUSE, IDC_STOP, IDC_SOUND, IDC_PROGRESS, IDC_VOLUME,
                    IDC_STATUS, IDC_RIGHT_TIME, IDC_PANE_AREA, IDC_PLAYLIST, IDC_TOOLBOX}) {
        ASSERT_NE(m_dlg.GetControl(nId), nullptr) << nId;
        EXPECT_EQ(m_dlg.GetControl(nId)->geometry(), layout.at(nId).rect) << nId;
        EXPECT_TRUE(m_dlg.GetControl(nId)->isVisible()) << nId;
    }
    EXPECT_FALSE(m_dlg.GetButton(IDC_LANGUAGE)->isVisible());
    EXPECT_EQ(m_dlg.GetButton(IDC_PLAY_PAUSE)->toolTip(), QStringLiteral("Play"));
    EXPECT_EQ(m_dlg.GetStatusText(), QStringLiteral("Ready"));

    // Dragging the splitter far left stops at the widest playlist.
    m_dlg.DragSplitter(-60, false);
    m_dlg.DragSplitter(-400, true);
    EXPECT_EQ(m_dlg.GetPlaylistWidth(), PLAYLIST_WIDTH_MAX);
    EXPECT_EQ(m_dlg.GetControl(IDC_PLAYLIST)->geometry().width(), PLAYLIST_WIDTH_MAX);
    EXPECT_EQ(m_dlg.GetControl(IDC_PANE_AREA)->width(), 792 - PLAYLIST_WIDTH_MAX - 5);
}

TEST_F(MainWindowTest, PlayPauseStopButtonsDriveStatusAndLabels) {
    ASSERT_TRUE(m_dlg.OpenInPane(m_strSample));
    ASSERT_TRUE(StatusBecomes("Playing"));
    EXPECT_EQ(m_dlg.GetButton(IDC_PLAY_PAUSE)->toolTip(), QStringLiteral("Pause"));
    EXPECT_EQ(m_dlg.GetProgressSlider()->GetRangeMax(), 200);
    const QRegularExpression label(QStringLiteral("^\\d+/50  00:00:0\\d/00:00:02$"));
    ASSERT_TRUE(WaitFor([&] { return label.match(m_dlg.GetTimeText()).hasMatch(); }))
        << m_dlg.GetTimeText().toStdString();
    EXPECT_EQ(m_dlg.GetPathText(), m_strSample);

    Click(IDC_PLAY_PAUSE);
    EXPECT_TRUE(StatusBecomes("Pause"));
    EXPECT_EQ(Sel()->GetPlayState(), PLAY_STATE_PAUSED);
    Click(IDC_PLAY_PAUSE);
    EXPECT_TRUE(StatusBecomes("Playing"));

    Click(IDC_STOP);
    EXPECT_TRUE(StatusBecomes("Stop"));
    EXPECT_TRUE(m_dlg.GetTimeText().isEmpty());
    EXPECT_EQ(m_dlg.GetPathText(), m_strSample);
    EXPECT_EQ(m_dlg.GetProgressSlider()->GetRangeMax(), 0);
    // A second stop only writes its two lines.
    Click(IDC_STOP);
    EXPECT_EQ(LogCount("COrlinDlg::SyncStop() return 1"), 1);
    EXPECT_EQ(LogCount("COrlinDlg::SyncStop()"), 2);
    EXPECT_EQ(Sel()->GetPlayState(), PLAY_STATE_STOPPED);
}

TEST_F(MainWindowTest, LayoutCommandsFromTheMenuCloseFilesOnlyOnARealChange) {
    ASSERT_TRUE(m_dlg.OpenInPane(m_strSample));
    ASSERT_TRUE(StatusBecomes("Playing"));
    CMainMenus* pMenus = m_dlg.GetMenus();
    pMenus->Item(MenuKind::Main, ID_LAYOUT_1)->trigger();
    EXPECT_EQ(Sel()->GetPlayState(), PLAY_STATE_PLAYING);

    pMenus->Item(MenuKind::Context, ID_LAYOUT_4)->trigger();
    EXPECT_EQ(m_dlg.GetDlgShow()->GetLayout(), 4);
    EXPECT_TRUE(StatusBecomes("Ready"));
    EXPECT_TRUE(m_dlg.GetPathText().isEmpty());

    m_dlg.OnCommand(ID_LAYOUT_16);
    EXPECT_EQ(m_dlg.GetDlgShow()->GetLayout(), 16);
    int nShown = 0;
    for (int i = 0; i < CDlgShow::MAX_PANES; ++i) {
        nShown += m_dlg.GetDlgShow()->GetPlayWnd(i)->isVisible() ? 1 : 0;
    }
    EXPECT_EQ(nShown, 16);
    pMenus->ApplyRule(MenuKind::Main);
    EXPECT_TRUE(pMenus->Item(MenuKind::Main, ID_LAYOUT_16)->isChecked());
    EXPECT_FALSE(pMenus->Item(MenuKind::Main, ID_LAYOUT_1)->isChecked());
    EXPECT_FALSE(pMenus->Item(MenuKind::Main, ID_PLAY_PAUSE)->isEnabled());
}

TEST_F(MainWindowTest, ProgressMovesAreCoalescedToTheNewestPosition) {
    ASSERT_TRUE(m_dlg.OpenInPane(m_strSample));
    ASSERT_TRUE(StatusBecomes("Playing"));
    Click(IDC_PLAY_PAUSE);
    for (int nPos : {20, 60, 100}) {
        QCoreApplication::postEvent(
            &m_dlg, new SliderMovedEvent(ORLIN_MSG_SLIDER_MOVING, IDC_PROGRESS, nPos));
    }
    SpinFor(50);
    EXPECT_EQ(LogCount("COrlinDlg::ProgressSlider SetSelWndFramePos lFrame=25"), 1);
    EXPECT_EQ(LogCount("COrlinDlg::ProgressSlider SetSelWndFramePos lFrame=5"), 0);
}

TEST_F(MainWindowTest, VolumeSoundAndToolCommands) {
    m_dlg.OnCommand(ID_SOUND_UP);
    EXPECT_EQ(m_dlg.GetVolumeSlider()->GetPos(), 32767 + 3276);
    EXPECT_EQ(m_dlg.GetVolume(), 32767 + 3276);
    m_dlg.OnCommand(ID_SOUND_DOWN);
    EXPECT_EQ(m_dlg.GetVolume(), 36043 - 3604);
    Click(IDC_SOUND);
    EXPECT_FALSE(m_dlg.IsSoundOn());
    EXPECT_EQ(m_dlg.GetButton(IDC_SOUND)->toolTip(), QStringLiteral("Mute Off"));

    // Without a file the capture and frame commands refuse silently.
    m_dlg.OnCommand(ID_CAPTURE);
    m_dlg.OnCommand(ID_LAST_FRAME);
    EXPECT_TRUE(m_messages.isEmpty());

    // The side libraries lie beside the program: the conversion command opens
    // its dialog, modal on the main window.
    QString strTitle;
    QTimer::singleShot(0, [&strTitle] {
        QWidget* pModal = QApplication::activeModalWidget();
        if (pModal == nullptr) return;
        strTitle = pModal->windowTitle();
        if (auto* pCancel = pModal->findChild<QPushButton*>(QStringLiteral("button1185"))) {
            pCancel->click();
        }
    });
    m_dlg.OnCommand(ID_CONVERT);
    EXPECT_EQ(strTitle, QStringLiteral("AVI Conversion"));
    EXPECT_TRUE(m_messages.isEmpty());

    // And the merge command opens the merge dialog; its Cancel closes it.
    strTitle.clear();
    QTimer::singleShot(0, [&strTitle] {
        QWidget* pModal = QApplication::activeModalWidget();
        if (pModal == nullptr) return;
        strTitle = pModal->windowTitle();
        if (auto* pCancel = pModal->findChild<QPushButton*>(QStringLiteral("button1187"))) {
            pCancel->click();
        }
    });
    m_dlg.OnCommand(ID_MERGE);
    EXPECT_EQ(strTitle, QStringLiteral("Merge"));
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(MainWindowTest, LanguageCommandRetranslatesMenusAndStatus) {
    m_dlg.OnCommand(ID_LANG_CHINESE);
    QAction* pStop = m_dlg.GetMenus()->Item(MenuKind::Main, ID_STOP);
    EXPECT_NE(pStop->text(), QStringLiteral("Stop"));
    EXPECT_NE(m_dlg.GetStatusText(), QStringLiteral("Ready"));
    EXPECT_EQ(m_dlg.GetMenus()->Item(MenuKind::Main, ID_LANG_PORTUGUESE)->text(),
              QString::fromUtf8("葡萄牙语"));
    m_dlg.OnCommand(ID_LANG_ENGLISH);
    EXPECT_EQ(pStop->text(), QStringLiteral("Stop"));
    EXPECT_EQ(m_dlg.GetStatusText(), QStringLiteral("Ready"));
}

TEST_F(MainWindowTest, CommandsNeedingTheFrameIndexSayWhyTheyRefuse) {
    ScopedEngineOverride restore;
    // The index callback never arrives, so the pane's index stays unbuilt.
    Engine().SetFileRefCallBack = [](int32_t, VemorFileRefCallBack, void*) -> VBOOL { return 1; };
    ASSERT_TRUE(m_dlg.OpenInPane(m_strSample));
    ASSERT_TRUE(StatusBecomes("Playing"));
    Click(IDC_FRAME_BACK);
    Click(IDC_REVERSE);
    m_dlg.OnCommand(ID_CUT);
    ASSERT_EQ(m_messages.size(), 3);
    EXPECT_EQ(m_messages[0], QStringLiteral("Generate file index,please wait..."));
    EXPECT_EQ(m_messages[2], m_messages[0]);
    EXPECT_EQ(m_dlg.GetCutPanel(), nullptr);
    EXPECT_FALSE(Sel()->IsBackPlay());

    // Stopped: steps, speeds and snapshots do nothing and say nothing.
    Click(IDC_STOP);
    m_messages.clear();
    Click(IDC_FRAME_BACK);
    Click(IDC_SPEED_UP);
    m_dlg.OnCommand(ID_NEXT_FRAME);
    EXPECT_TRUE(m_messages.isEmpty());
    EXPECT_EQ(Sel()->GetSpeedLevel(), 0);
    EXPECT_EQ(Sel()->GetPlayState(), PLAY_STATE_STOPPED);
}

TEST_F(MainWindowTest, CutPanelOpensOverTheBottomForOneIndexedPaneOnly) {
    m_dlg.OnCommand(ID_CUT);  // no file: nothing, not even a message
    m_dlg.OnCommand(ID_LAYOUT_4);
    ASSERT_TRUE(m_dlg.OpenInPane(m_strSample));
    ASSERT_TRUE(WaitFor([this] { return Sel()->IsFileRefDone(); }));
    m_dlg.OnCommand(ID_CUT);
    EXPECT_EQ(m_messages, QStringList{"Please maximize the play window!"});
    EXPECT_EQ(m_dlg.GetCutPanel(), nullptr);

    m_dlg.OnCommand(ID_LAYOUT_1);
    ASSERT_TRUE(m_dlg.OpenInPane(m_strSample));
    ASSERT_TRUE(WaitFor([this] { return Sel()->IsFileRefDone(); }));
    m_dlg.OnCommand(ID_CUT);
    CFileCutDlg* pPanel = m_dlg.GetCutPanel();
    ASSERT_NE(pPanel, nullptr);
    EXPECT_TRUE(pPanel->isVisible());
    EXPECT_EQ(pPanel->geometry(), CutPanelRect(m_dlg.rect()));
    EXPECT_TRUE(m_dlg.IsCutPanelShown());
    EXPECT_EQ(Sel()->GetPlayState(), PLAY_STATE_PAUSED);
    EXPECT_EQ(pPanel->GetTotalTime(), 2u);

    QTest::mouseClick(pPanel->GetControl(1136), Qt::LeftButton);
    EXPECT_FALSE(m_dlg.IsCutPanelShown());
    EXPECT_EQ(m_messages.size(), 1);
}

TEST_F(MainWindowTest, OnePlayingPaneLetsTheWindowShrinkAndNarrowHidesTheWideButtons) {
    EXPECT_EQ(m_dlg.minimumSize(), QSize(800, 600));
    ASSERT_TRUE(m_dlg.OpenInPane(m_strSample));
    ASSERT_TRUE(StatusBecomes("Playing"));
    EXPECT_EQ(m_dlg.minimumSize(), QSize(1, 1));
    m_dlg.resize(570, 500);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_dlg.GetClientArea()->width(), 562);
    EXPECT_FALSE(m_dlg.GetButton(IDC_TOOLBOX)->isVisible());
    EXPECT_FALSE(m_dlg.GetButton(IDC_OPEN)->isVisible());
    m_dlg.resize(900, 600);
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_dlg.GetButton(IDC_TOOLBOX)->isVisible());
    m_dlg.OnCommand(ID_LAYOUT_9);
    EXPECT_EQ(m_dlg.minimumSize(), QSize(800, 600));
}

TEST_F(MainWindowTest, CaptionButtonsActOnReleaseOverTheSameButton) {
    const CaptionButtonRects rects = CaptionButtonsFor(m_dlg.width());
    auto mouse = [this](QEvent::Type eType, QPoint pt) {
        QMouseEvent event(eType, QPointF(pt), QPointF(m_dlg.mapToGlobal(pt)), Qt::LeftButton,
                          eType == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(&m_dlg, &event);
    };
    // Pressed on close, released elsewhere: nothing happens.
    mouse(QEvent::MouseButtonPress, rects.close.center());
    mouse(QEvent::MouseButtonRelease, QPoint(300, 15));
    EXPECT_TRUE(m_dlg.isVisible());

    mouse(QEvent::MouseButtonPress, rects.maximize.center());
    mouse(QEvent::MouseButtonRelease, rects.maximize.center());
    EXPECT_TRUE(m_dlg.isMaximized());
    mouse(QEvent::MouseButtonPress, rects.maximize.center());
    mouse(QEvent::MouseButtonRelease, rects.maximize.center());
    EXPECT_FALSE(m_dlg.isMaximized());

    mouse(QEvent::MouseButtonPress, rects.close.center());
    mouse(QEvent::MouseButtonRelease, rects.close.center());
    EXPECT_FALSE(m_dlg.isVisible());
    EXPECT_EQ(m_dlg.result(), QDialog::Rejected);
}

TEST_F(MainWindowTest, SpeedAndReverseButtonsShowInStatusAndTooltips) {
    ASSERT_TRUE(m_dlg.OpenInPane(m_strSample));
    ASSERT_TRUE(StatusBecomes("Playing"));
    ASSERT_TRUE(WaitFor([&] { return Sel()->IsFileRefDone(); }));
    // Paused, so that the file cannot end under the test.
    Click(IDC_PLAY_PAUSE);
    ASSERT_TRUE(StatusBecomes("Pause"));
    Click(IDC_REVERSE);
    EXPECT_TRUE(Sel()->IsBackPlay());
    EXPECT_EQ(m_dlg.GetButton(IDC_REVERSE)->toolTip(), QStringLiteral("Disable Reverse Play"));
    m_dlg.GetMenus()->ApplyRule(MenuKind::Context);
    EXPECT_TRUE(m_dlg.GetMenus()->Item(MenuKind::Context, ID_BACK_PLAY)->isChecked());
    Click(IDC_REVERSE);
    EXPECT_FALSE(Sel()->IsBackPlay());
    EXPECT_EQ(m_dlg.GetButton(IDC_REVERSE)->toolTip(), QStringLiteral("Enable Reverse Play"));

    Click(IDC_SPEED_UP);
    Click(IDC_SPEED_UP);
    EXPECT_EQ(m_dlg.GetSpeedLevel(), 2);
    Click(IDC_PLAY_PAUSE);
    EXPECT_TRUE(StatusBecomes("Speed * 4"));
    Click(IDC_PLAY_PAUSE);
    Click(IDC_SPEED_DOWN);
    Click(IDC_SPEED_DOWN);
    Click(IDC_SPEED_DOWN);
    Click(IDC_PLAY_PAUSE);
    EXPECT_TRUE(StatusBecomes("Speed / 2"));
}

TEST_F(MainWindowTest, ALayoutChangeEndsTheEnlargedPane) {
    m_dlg.OnCommand(ID_LAYOUT_4);
    CPlayWnd* pPane = m_dlg.GetDlgShow()->GetPlayWnd(2);
    QTest::mouseDClick(pPane, Qt::LeftButton, Qt::NoModifier, pPane->rect().center());
    // The button comes up again, so that later tests start with it released.
    QTest::mouseRelease(pPane, Qt::LeftButton, Qt::NoModifier, pPane->rect().center());
    ASSERT_TRUE(m_dlg.GetDlgShow()->IsEnlarged());
    m_dlg.GetMenus()->Item(MenuKind::Main, ID_LAYOUT_9)->trigger();
    EXPECT_FALSE(m_dlg.GetDlgShow()->IsEnlarged());
    int nShown = 0;
    for (int i = 0; i < CDlgShow::MAX_PANES; ++i) {
        nShown += m_dlg.GetDlgShow()->GetPlayWnd(i)->isVisible() ? 1 : 0;
    }
    EXPECT_EQ(nShown, 9);
}

TEST_F(MainWindowTest, PortugueseTextsFitAndNameTheirOwnLanguage) {
    m_dlg.OnCommand(ID_LANG_PORTUGUESE);
    auto* pTitle = static_cast<QLabel*>(m_dlg.GetControl(IDC_PLAYLIST_TITLE));
    const QString strFull = QString::fromUtf8("Lista de reprodução");
    // Either the whole title fits, or it ends in an ellipsis and the tooltip has it all.
    EXPECT_LE(pTitle->fontMetrics().horizontalAdvance(pTitle->text()), pTitle->width());
    if (pTitle->text() != strFull) {
        EXPECT_TRUE(pTitle->text().endsWith(QChar(0x2026))) << pTitle->text().toStdString();
        EXPECT_EQ(pTitle->toolTip(), strFull);
    }
    // A narrow playlist still shows a whole word and the ellipsis.
    m_dlg.DragSplitter(500, true);
    EXPECT_LE(pTitle->fontMetrics().horizontalAdvance(pTitle->text()), pTitle->width());
    EXPECT_EQ(pTitle->toolTip(), strFull);
    EXPECT_EQ(m_dlg.GetMenus()->Item(MenuKind::Main, ID_LANG_PORTUGUESE)->text(),
              QString::fromUtf8("Português"));
    m_dlg.OnCommand(ID_LANG_ENGLISH);
    EXPECT_EQ(pTitle->text(), QStringLiteral("Playlist"));
    EXPECT_TRUE(pTitle->toolTip().isEmpty());
}

TEST_F(MainWindowTest, TheCaptionMenuButtonHasATooltip) {
    const QPoint pt = CaptionButtonsFor(m_dlg.width()).menu.center();
    // The window is activated and the mouse comes from elsewhere, as a user's would.
    m_dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_dlg));
    QTest::mouseMove(&m_dlg, QPoint(300, 15));
    QTest::mouseMove(&m_dlg, pt);
    EXPECT_TRUE(WaitFor([] { return QToolTip::isVisible(); }, 3000));
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Menu"));
    QToolTip::hideText();
}

TEST_F(MainWindowTest, TheLanguageButtonShowsThePictureOfTheLanguage) {
    CSkinButton* pLanguage = m_dlg.GetButton(IDC_LANGUAGE);
    m_dlg.OnCommand(ID_LANG_CHINESE);
    EXPECT_EQ(pLanguage->NormalPicture().toImage(), SkinPicture(239).toImage());
    m_dlg.OnCommand(ID_LANG_ENGLISH);
    EXPECT_EQ(pLanguage->NormalPicture().toImage(), SkinPicture(287).toImage());
}
