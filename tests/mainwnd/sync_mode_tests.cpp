#include <gtest/gtest.h>

#include <QTest>
#include <QWheelEvent>
#include <algorithm>
#include <vector>

#include "controls/skin_button.h"
#include "main_window_fixture.h"
#include "mainwnd/command_ids.h"
#include "mainwnd/control_ids.h"
#include "mainwnd/ih_list_box.h"
#include "mainwnd/playlist_controller.h"
#include "playback/sync_locate_dlg.h"
#include "playback/sync_ruler_math.h"

namespace {

constexpr int kWaitMs = 15000;

// Four cameras of one event whose recordings start one second apart.
class SyncModeTest : public StartedMainWindow {
protected:
    void Click(int nId) {
        m_dlg.GetButton(nId)->click();
        QCoreApplication::processEvents();
    }
    int PaneFrame(int nPane) {
        const QImage image = m_dlg.GetDlgShow()->GetPlayWnd(nPane)->GetRenderWnd()->LastPicture();
        if (image.isNull()) return -1;
        return samplegen::ReadFrameNumber(image.constBits(), image.width(), image.height(),
                                          static_cast<int>(image.bytesPerLine()));
    }
    // Milliseconds after 12:00:00 of each pane's picture.
    std::vector<int> Instants() {
        std::vector<int> instants;
        for (int i = 0; i < 4; ++i) {
            const int nFrame = PaneFrame(i);
            instants.push_back(nFrame < 0 ? -100000 : i * 1000 + nFrame * 40);
        }
        return instants;
    }
    static int Spread(const std::vector<int>& v) {
        return *std::max_element(v.begin(), v.end()) - *std::min_element(v.begin(), v.end());
    }
};

}  // namespace

TEST_F(SyncModeTest, SyncButtonShowsTheRulerInPlaceOfTheStatusLine) {
    const int nHeight = m_dlg.height();
    Click(IDC_SYNC);
    EXPECT_TRUE(m_dlg.IsSyncMode());
    EXPECT_TRUE(m_dlg.IsSyncRulerShown());
    EXPECT_EQ(m_dlg.height(), nHeight + 109);
    QWidget* pClient = m_dlg.GetClientArea();
    EXPECT_EQ(m_dlg.GetSyncRuler()->geometry(),
              QRect(0, pClient->height() - 129, pClient->width(), 129));
    EXPECT_TRUE(m_dlg.GetSyncRuler()->isVisible());
    EXPECT_FALSE(m_dlg.GetControl(IDC_STATUS)->isVisible());
    EXPECT_EQ(m_dlg.GetButton(IDC_SYNC)->toolTip(), QStringLiteral("Synchronous Mode Off"));
    // Double clicking an entry in this mode only explains what to do.
    EXPECT_FALSE(m_dlg.OpenInPane(m_strSample));

    Click(IDC_SYNC);
    EXPECT_FALSE(m_dlg.IsSyncMode());
    EXPECT_EQ(m_dlg.height(), nHeight);
    EXPECT_FALSE(m_dlg.GetSyncRuler()->isVisible());
    EXPECT_TRUE(m_dlg.GetControl(IDC_STATUS)->isVisible());
}

TEST_F(SyncModeTest, PlayingSelectedEntriesKeepsCamerasInStepAndTheRulerRepositionsThem) {
    m_dlg.OnCommand(ID_LAYOUT_4);
    const QStringList paths = {Camera(0, samplegen::Container::Recorder, "cam0.imx"),
                               Camera(1, samplegen::Container::Mp4, "cam1.mp4"),
                               Camera(2, samplegen::Container::Recorder, "cam2.imx"),
                               Camera(3, samplegen::Container::Mp4, "cam3.mp4")};
    for (const QString& strPath : paths) ASSERT_TRUE(m_dlg.AddToPlaylist(strPath));
    m_dlg.GetPlaylist()->GetListBox()->selectAll();
    Click(IDC_SYNC);
    Click(IDC_PLAY_PAUSE);
    // The group plays once every pane has opened its file.
    ASSERT_TRUE(WaitFor(
        [&] { return m_dlg.GetDlgShow()->GetSelState() == PLAY_STATE_PLAYING; }, kWaitMs));
    // Anti-flicker blends pictures and would smear the frame-number code.
    DlgShowPlaySettings settings = m_dlg.GetDlgShow()->GetPlaySettings();
    settings.bDeflash = false;
    m_dlg.GetDlgShow()->SetPlaySettings(settings);
    m_dlg.GetDlgShow()->ApplySettings();

    ASSERT_TRUE(WaitFor([&] { return PaneFrame(3) >= 5; }, kWaitMs));
    Click(IDC_PLAY_PAUSE);
    SpinFor(300);
    const std::vector<int> playing = Instants();
    EXPECT_LE(Spread(playing), 40);

    // The 500 ms timer puts the cursor on the ruler.
    CSyncLocateDlg* pRuler = m_dlg.GetSyncRuler();
    ASSERT_TRUE(WaitFor([&] { return pRuler->IsCursorShown(); }, kWaitMs));
    // Zoom in fully at the cursor: one pixel is then about two seconds.
    const QPoint ptCursor(pRuler->CursorX(), 60);
    for (int i = 0; i < 59; ++i) {
        QWheelEvent wheel(ptCursor, pRuler->mapToGlobal(ptCursor), QPoint(), QPoint(0, 120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(pRuler, &wheel);
    }
    ASSERT_EQ(pRuler->Zoom().nLevel, 60);
    ASSERT_TRUE(pRuler->IsCursorShown());
    // Drag the cursor's handle two pixels on, about four seconds later.
    const int x = pRuler->CursorX();
    QTest::mousePress(pRuler, Qt::LeftButton, Qt::NoModifier, QPoint(x, 8));
    QTest::mouseMove(pRuler, QPoint(x + 1, 8));
    QTest::mouseRelease(pRuler, Qt::LeftButton, Qt::NoModifier, QPoint(x + 2, 8));
    const QString strTarget = pRuler->CursorText();
    const int nSecond = strTarget.section(':', 2).toInt();
    ASSERT_GE(nSecond, 4) << strTarget.toStdString();
    ASSERT_LE(nSecond, 9) << strTarget.toStdString();
    // Every pane shows the picture recorded at that second.
    EXPECT_TRUE(WaitFor(
        [&] {
            for (int i = 0; i < 4; ++i) {
                if (PaneFrame(i) != (nSecond - i) * 25) return false;
            }
            return true;
        },
        kWaitMs))
        << PaneFrame(0) << " " << PaneFrame(1) << " " << PaneFrame(2) << " " << PaneFrame(3);
}
