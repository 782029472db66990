#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QTest>

#include "controls/bitmap_slider.h"
#include "lang/language_code.h"
#include "enhance/video_enhance_dlg.h"
#include "main_window_fixture.h"
#include "mainwnd/command_ids.h"
#include "mainwnd/float_dlg.h"
#include "mainwnd/main_menus.h"
#include "mainwnd/side_library.h"
#include "playback/engine_folder.h"

namespace {

class EnhanceWindowTest : public StartedMainWindow {
protected:
    CVideoEnhance* Panel() { return m_dlg.GetVideoEnhance(); }
    void Tick(int nBoxId) {
        QCheckBox* pBox = Panel()->GetEnableBox(nBoxId);
        QTest::mouseClick(pBox, Qt::LeftButton, {}, QPoint(8, pBox->height() / 2));
        QCoreApplication::processEvents();
    }
    bool IndicatorShown(int nId) { return !m_dlg.GetFloatDlg()->GetIndicator(nId)->isHidden(); }
    // Mean of the picture the selected pane shows.
    double PictureMean() {
        const QImage image = Sel()->GetRenderWnd()->LastPicture().convertToFormat(QImage::Format_Grayscale8);
        double sum = 0;
        for (int y = 0; y < image.height(); ++y) {
            const uchar* line = image.constScanLine(y);
            for (int x = 0; x < image.width(); ++x) sum += line[x];
        }
        return image.isNull() ? 0 : sum / (image.width() * image.height());
    }
};

TEST_F(EnhanceWindowTest, CommandOpensThePanelOnlyWithTheLibraryBesideTheEngine) {
    EXPECT_TRUE(EnhanceLibraryIn(EngineFolder()));
    EXPECT_FALSE(EnhanceLibraryIn(m_dir.path()));
    EXPECT_EQ(NeedLibraryText(QStringLiteral("liblumora.so")), QStringLiteral("Need liblumora.so"));

    // The tool menus open it, without a file too; the item rests while it is open.
    EXPECT_FALSE(Panel()->isVisible());
    CMainMenus* pMenus = m_dlg.GetMenus();
    QAction* pItem = pMenus->Item(MenuKind::Main, ID_VIDEO_ENHANCE);
    ASSERT_NE(pItem, nullptr);
    ASSERT_NE(pMenus->Item(MenuKind::ToolBox, ID_VIDEO_ENHANCE), nullptr);
    pMenus->ApplyRule(MenuKind::Main);
    ASSERT_TRUE(pItem->isEnabled());
    pItem->trigger();
    EXPECT_TRUE(Panel()->isVisible());
    EXPECT_TRUE(m_messages.isEmpty());
    pMenus->ApplyRule(MenuKind::Main);
    EXPECT_FALSE(pItem->isEnabled());

    // A language change while it is open reaches its texts.
    m_dlg.ApplyLanguage(LANGUAGE_PORTUGUESE);
    EXPECT_EQ(Panel()->GetEnableBox(1462)->text(),
              QString::fromUtf8("Ativar Remo\xC3\xA7\xC3\xA3o de n\xC3\xA9voa"));
    m_dlg.ApplyLanguage(LANGUAGE_ENGLISH);
    EXPECT_EQ(Panel()->GetEnableBox(1462)->text(), QStringLiteral("Enable Dehaze"));

    // Its close button hands the panel back to the main window.
    Panel()->close();
    ASSERT_TRUE(WaitFor([&] { return !Panel()->isVisible(); }));
    pMenus->ApplyRule(MenuKind::Main);
    EXPECT_TRUE(pItem->isEnabled());
}

TEST_F(EnhanceWindowTest, PanelEnhancesTheSelectedPaneAndFollowsTheSelection) {
    EXPECT_EQ(Sel()->GetVIEParams(), DefaultVieParams());
    OpenPaused();
    const int nFrame = FrameShown();
    const double plainMean = PictureMean();
    m_dlg.OnCommand(ID_VIDEO_ENHANCE);
    Panel()->ShowPage(0);
    // Brightness up two pages, then adjustment on: the paused picture brightens.
    for (int i = 0; i < 2; ++i) QTest::keyClick(Panel()->GetSlider(1426), Qt::Key_PageDown);
    QCoreApplication::processEvents();
    const int32_t nBright = GetVieField(Sel()->GetVIEParams(), VIE_FIELD_ADJ_BRIGHT);
    EXPECT_GT(nBright, 40);
    Tick(1467);
    EXPECT_EQ(GetVieField(Sel()->GetVIEParams(), VIE_FIELD_MODULES), VIE_ADJ);
    EXPECT_TRUE(WaitFor([&] { return PictureMean() > plainMean + 15; }));
    EXPECT_EQ(FrameShown(), nFrame);
    EXPECT_TRUE(IndicatorShown(CFloatDlg::IDC_FIRST_VIE_INDICATOR));
    EXPECT_FALSE(IndicatorShown(CFloatDlg::IDC_FIRST_VIE_INDICATOR + 3));
    EXPECT_EQ(LogCount("Vemor_SetVIEDynamicParam() Fail m_lPort=0, dwErrorCode=18"), 0);

    // Reset: every module off, the picture as decoded again.
    QTest::mouseClick(Panel()->GetControl(CVideoEnhance::IDC_RESET), Qt::LeftButton);
    EXPECT_EQ(Sel()->GetVIEParams(), DefaultVieParams());
    EXPECT_TRUE(WaitFor([&] { return std::abs(PictureMean() - plainMean) < 1; }))
        << PictureMean() << " " << plainMean;
    EXPECT_EQ(FrameShown(), nFrame);
    EXPECT_FALSE(IndicatorShown(CFloatDlg::IDC_FIRST_VIE_INDICATOR));

    // Another pane has its own, default block, reloaded into the panel.
    Tick(1460);
    ASSERT_TRUE(m_dlg.GetDlgShow()->SetLayout(4));
    m_dlg.GetDlgShow()->SelectPaneByIndex(1);
    ASSERT_TRUE(WaitFor([&] { return !Panel()->GetEnableBox(1460)->isChecked(); }));
    EXPECT_FALSE(IndicatorShown(CFloatDlg::IDC_FIRST_VIE_INDICATOR + 3));
    EXPECT_EQ(Sel()->GetVIEParams(), DefaultVieParams());
    Panel()->ShowPage(3);
    QTest::keyClick(Panel()->GetSlider(1429), Qt::Key_End);
    QCoreApplication::processEvents();
    EXPECT_EQ(GetVieField(Sel()->GetVIEParams(), VIE_FIELD_DENOISE_LEVEL), 255);
    // And back: the first pane's block again.
    m_dlg.GetDlgShow()->SelectPaneByIndex(0);
    ASSERT_TRUE(WaitFor([&] { return Panel()->GetEnableBox(1460)->isChecked(); }));
    EXPECT_EQ(Panel()->GetSlider(1429)->GetPos(), 60);
    EXPECT_TRUE(IndicatorShown(CFloatDlg::IDC_FIRST_VIE_INDICATOR + 3));
}

}  // namespace
