// The player settings dialog on a started main window, driven through its controls.

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include "controls/bitmap_slider.h"
#include "controls/my_hot_key_ctrl.h"
#include "controls/skin_button.h"
#include "main_window_fixture.h"
#include "mainwnd/command_ids.h"
#include "mainwnd/control_ids.h"
#include "mainwnd/float_dlg.h"
#include "mainwnd/hot_key_match.h"
#include "playback/engine_api.h"
#include "settings/player_set_dlg.h"
#include "settings/player_set_ids.h"

namespace {
class PlayerSetDlgTest : public StartedMainWindow {
protected:
    // Runs `check` on the modal settings dialog that `open` shows, then cancels it.
    void WithModalDialog(const std::function<void()>& open,
                         const std::function<void(CPlayerSetDlg*)>& check) {
        bool bSeen = false;
        QTimer::singleShot(0, [&] {
            auto* pDlg = qobject_cast<CPlayerSetDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(pDlg, nullptr);
            bSeen = true;
            check(pDlg);
            pDlg->reject();
        });
        open();
        EXPECT_TRUE(bSeen);
    }
    void Click(CPlayerSetDlg& dlg, int nId) {
        auto* pButton = qobject_cast<QAbstractButton*>(dlg.GetControl(nId));
        ASSERT_NE(pButton, nullptr) << nId;
        ASSERT_TRUE(pButton->isVisible()) << nId;
        QTest::mouseClick(pButton, Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    void Type(CPlayerSetDlg& dlg, int nId, const char* szText) {
        auto* pEdit = static_cast<QLineEdit*>(dlg.GetControl(nId));
        pEdit->clear();
        QTest::keyClicks(pEdit, QString::fromUtf8(szText));
    }
    // Presses on the slider's track at a fraction of its width.
    void PressSlider(CBitmapSlider* pSlider, double dFraction) {
        const QPoint pt(static_cast<int>(pSlider->width() * dFraction), pSlider->height() / 2);
        QTest::mousePress(pSlider, Qt::LeftButton, {}, pt);
        QTest::mouseRelease(pSlider, Qt::LeftButton, {}, pt);
        QCoreApplication::processEvents();
    }
    double MeanBrightness() {
        const QImage image =
            Sel()->GetRenderWnd()->LastPicture().convertToFormat(QImage::Format_Grayscale8);
        double dSum = 0;
        for (int y = 0; y < image.height(); ++y) {
            const uchar* pLine = image.constScanLine(y);
            for (int x = 0; x < image.width(); ++x) dSum += pLine[x];
        }
        return dSum / (image.width() * image.height());
    }
    QString LastMessage() { return m_messages.isEmpty() ? QString() : m_messages.last(); }
};
}  // namespace

TEST_F(PlayerSetDlgTest, EachCommandOpensItsPageAndThePageListSwitchesPages) {
    m_dlg.SetColour({100, 30, 70, 20});
    WithModalDialog([&] { m_dlg.OnCommand(ID_COLOUR_ADJUST); },
                    [](CPlayerSetDlg* pDlg) {
                        EXPECT_EQ(pDlg->GetCurPage(), CPlayerSetDlg::PAGE_COLOUR);
                        EXPECT_EQ(pDlg->GetColourSlider(IDC_PS_LIGHTNESS)->GetPos(), 100);
                        EXPECT_EQ(pDlg->GetColourSlider(IDC_PS_CONTRAST)->GetPos(), 30);
                        EXPECT_EQ(pDlg->GetColourSlider(IDC_PS_SATURATION)->GetPos(), 70);
                        EXPECT_EQ(pDlg->GetColourSlider(IDC_PS_HUE)->GetPos(), 20);
                        EXPECT_TRUE(pDlg->GetColourSlider(IDC_PS_HUE)->isVisible());
                        EXPECT_FALSE(pDlg->GetHotKeyCtrl(0)->isVisible());
                        EXPECT_EQ(
                            static_cast<QLabel*>(pDlg->GetControl(IDC_PS_PAGE_HEADER))->text(),
                            QStringLiteral("Color Adjust"));
                        // A click on a page label shows that page; a click elsewhere changes
                        // nothing.
                        const QRect rcHotKey = pDlg->GetControl(IDC_PS_PAGE_HOTKEY)->geometry();
                        QTest::mouseClick(pDlg, Qt::LeftButton, {}, rcHotKey.center());
                        EXPECT_EQ(pDlg->GetCurPage(), CPlayerSetDlg::PAGE_HOTKEY);
                        EXPECT_TRUE(pDlg->GetHotKeyCtrl(8)->isVisible());
                        EXPECT_EQ(pDlg->GetHotKeyCtrl(8)->text(), QStringLiteral("Ctrl + O"));
                        QTest::mouseClick(pDlg, Qt::LeftButton, {},
                                          pDlg->GetControl(IDC_PS_GROUP_PLAY)->geometry().center());
                        EXPECT_EQ(pDlg->GetCurPage(), CPlayerSetDlg::PAGE_HOTKEY);
                    });
    const std::pair<int, int> commands[] = {{ID_PLAYER_SETTING, CPlayerSetDlg::PAGE_BASIC},
                                            {ID_HOT_KEY, CPlayerSetDlg::PAGE_HOTKEY},
                                            {ID_LOCATE, CPlayerSetDlg::PAGE_LOCATE},
                                            {ID_IMAGE_CONTROL, CPlayerSetDlg::PAGE_IMAGE_CONTROL}};
    for (const auto& [nCommand, nPage] : commands) {
        WithModalDialog([&] { m_dlg.OnCommand(nCommand); },
                        [&](CPlayerSetDlg* pDlg) { EXPECT_EQ(pDlg->GetCurPage(), nPage); });
    }
    WithModalDialog(
        [&] {
            QTest::mouseClick(m_dlg.GetFloatDlg()->GetButton(CFloatDlg::IDC_PLAYER_SETTING),
                              Qt::LeftButton);
        },
        [](CPlayerSetDlg* pDlg) { EXPECT_EQ(pDlg->GetCurPage(), CPlayerSetDlg::PAGE_BASIC); });
}

TEST_F(PlayerSetDlgTest, ConflictingOrTwoEmptyRowsKeepTheDialogOpenAndChangeNothing) {
    CPlayerSetDlg dlg(&m_dlg, CPlayerSetDlg::PAGE_HOTKEY, &m_dlg);
    dlg.show();
    QTest::keyClick(dlg.GetHotKeyCtrl(1), Qt::Key_O, Qt::ControlModifier);
    Click(dlg, IDC_PS_OK);
    EXPECT_EQ(LastMessage(), QStringLiteral("HotKey Conflict!"));
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), 0);
    EXPECT_EQ(m_dlg.GetSettings().stHotKeys[1], (HotKeyBinding{'S', HOTKEY_MOD_CTRL}));

    QTest::keyClick(dlg.GetHotKeyCtrl(1), Qt::Key_Q, Qt::ControlModifier);
    dlg.GetHotKeyCtrl(4)->SetHotKey(0, 0);
    dlg.GetHotKeyCtrl(5)->SetHotKey(0, 0);
    m_messages.clear();
    Click(dlg, IDC_PS_OK);
    EXPECT_EQ(LastMessage(), QStringLiteral("HotKey Conflict!"));
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(m_dlg.GetSettings().stHotKeys[4].wVirtualKey, 38);
}

TEST_F(PlayerSetDlgTest, KeysEnteredInTheRowsAreStoredInTheFilesForm) {
    CPlayerSetDlg dlg(&m_dlg, CPlayerSetDlg::PAGE_HOTKEY, &m_dlg);
    dlg.show();
    QTest::keyClick(dlg.GetHotKeyCtrl(8), Qt::Key_P, Qt::AltModifier);
    QTest::keyClick(dlg.GetHotKeyCtrl(3), Qt::Key_PageDown);
    // Escape chooses Escape as a key instead of closing the dialog.
    QTest::keyClick(dlg.GetHotKeyCtrl(7), Qt::Key_Escape);
    EXPECT_TRUE(dlg.isVisible());
    Click(dlg, IDC_PS_OK);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    const HotKeyTable& table = m_dlg.GetSettings().stHotKeys;
    EXPECT_EQ(table[8], (HotKeyBinding{'P', HOTKEY_MOD_ALT}));
    EXPECT_EQ(table[8].ToStoredValue(), (1 << 16) | 80);
    EXPECT_EQ(table[3], (HotKeyBinding{34, HOTKEY_MOD_EXT}));
    EXPECT_EQ(table[7], (HotKeyBinding{27, 0}));
    const QString strFile = m_dir.filePath(QStringLiteral("settings.xml"));
    ASSERT_TRUE(SavePlayerSettings(m_dlg.GetSettings(), strFile));
    QFile file(strFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("<AddFiles>65616</AddFiles>"));

    // Page Down, stored as an extended key, matches a plain press.
    EXPECT_EQ(MatchHotKey(table, 34, PressedModifiers(false, false, false)), 3);
}

TEST_F(PlayerSetDlgTest, SpeedPageStepsOneLevelAtATimeOnOk) {
    {
        // Without a file the slider stays at the current level.
        CPlayerSetDlg dlg(&m_dlg, CPlayerSetDlg::PAGE_SPEED, &m_dlg);
        dlg.show();
        auto* pSlider = static_cast<QSlider*>(dlg.GetControl(IDC_PS_SPEED_SLIDER));
        QTest::keyClick(pSlider, Qt::Key_Right);
        EXPECT_EQ(pSlider->value(), 0);
        EXPECT_EQ(dlg.GetSpeedLevel(), 0);
        dlg.reject();
    }
    OpenPaused();
    CPlayerSetDlg dlg(&m_dlg, CPlayerSetDlg::PAGE_SPEED, &m_dlg);
    dlg.show();
    EXPECT_TRUE(static_cast<QAbstractButton*>(dlg.GetControl(IDC_PS_SPEED_UP))->isChecked());
    Click(dlg, IDC_PS_SPEED_DOWN);
    auto* pSlider = static_cast<QSlider*>(dlg.GetControl(IDC_PS_SPEED_SLIDER));
    QTest::keyClick(pSlider, Qt::Key_Right);
    QTest::keyClick(pSlider, Qt::Key_Right);
    EXPECT_EQ(dlg.GetSpeedLevel(), -2);
    EXPECT_EQ(Sel()->GetSpeedLevel(), 0);  // nothing before OK
    Click(dlg, IDC_PS_OK);
    EXPECT_EQ(Sel()->GetSpeedLevel(), -2);
    EXPECT_EQ(m_dlg.GetSpeedLevel(), -2);
    // Back up: the opening level is now -2; choosing Speed Up turns it to +2.
    CPlayerSetDlg again(&m_dlg, CPlayerSetDlg::PAGE_SPEED, &m_dlg);
    again.show();
    EXPECT_TRUE(static_cast<QAbstractButton*>(again.GetControl(IDC_PS_SPEED_DOWN))->isChecked());
    Click(again, IDC_PS_SPEED_UP);
    EXPECT_EQ(again.GetSpeedLevel(), 2);
    Click(again, IDC_PS_OK);
    EXPECT_EQ(Sel()->GetSpeedLevel(), 2);
}

TEST_F(PlayerSetDlgTest, LocateAcceptsTheDurationRefusesTheFrameCountAndSaysWhy) {
    CPlayerSetDlg dlg(&m_dlg, CPlayerSetDlg::PAGE_LOCATE, &m_dlg);
    dlg.show();
    Click(dlg, IDC_PS_TIME_LOCATE);
    EXPECT_EQ(LastMessage(), QStringLiteral("Please Play a File First"));
    OpenPaused();
    const uint32_t nDuration = m_dlg.GetSelFileTime();
    ASSERT_GT(nDuration, 0u);
    m_messages.clear();
    Type(dlg, IDC_PS_FRAME_EDIT, "20");
    Click(dlg, IDC_PS_FRAME_LOCATE);
    EXPECT_TRUE(WaitFor([&] { return FrameShown() == 20; })) << FrameShown();
    Type(dlg, IDC_PS_TIME_EDIT, "0");
    Click(dlg, IDC_PS_TIME_LOCATE);
    EXPECT_TRUE(WaitFor([&] { return FrameShown() == 0; })) << FrameShown();
    Type(dlg, IDC_PS_TIME_EDIT, QByteArray::number(nDuration).constData());
    Click(dlg, IDC_PS_TIME_LOCATE);
    EXPECT_TRUE(m_messages.isEmpty()) << LastMessage().toStdString();

    Type(dlg, IDC_PS_TIME_EDIT, QByteArray::number(nDuration + 1).constData());
    Click(dlg, IDC_PS_TIME_LOCATE);
    EXPECT_EQ(LastMessage(), QStringLiteral("Please Input a Valid Time!"));
    Type(dlg, IDC_PS_FRAME_EDIT, "50");
    Click(dlg, IDC_PS_FRAME_LOCATE);
    EXPECT_EQ(LastMessage(), QStringLiteral("Please Input a Valid Frame Number!"));
    Type(dlg, IDC_PS_FRAME_EDIT, "-3");
    Click(dlg, IDC_PS_FRAME_LOCATE);
    EXPECT_EQ(LastMessage(), QStringLiteral("Please Input a Valid Frame Number!"));
    Type(dlg, IDC_PS_FRAME_EDIT, "");
    Click(dlg, IDC_PS_FRAME_LOCATE);
    EXPECT_EQ(LastMessage(), QStringLiteral("Please Put in a Frame Number!"));
    Type(dlg, IDC_PS_TIME_EDIT, "");
    Click(dlg, IDC_PS_TIME_LOCATE);
    EXPECT_EQ(LastMessage(), QStringLiteral("Please Put in a Time!"));
    EXPECT_TRUE(dlg.isVisible());

    m_dlg.OnCommand(ID_STOP);
    Type(dlg, IDC_PS_FRAME_EDIT, "5");
    Click(dlg, IDC_PS_FRAME_LOCATE);
    EXPECT_EQ(LastMessage(), QStringLiteral("Please Play a File First"));
}

TEST_F(PlayerSetDlgTest, ColourIsLiveWithAFileSnapsBackWithoutOneAndCancelKeepsIt) {
    {
        CPlayerSetDlg dlg(&m_dlg, CPlayerSetDlg::PAGE_COLOUR, &m_dlg);
        dlg.show();
        CBitmapSlider* pLightness = dlg.GetColourSlider(IDC_PS_LIGHTNESS);
        PressSlider(pLightness, 0.95);
        EXPECT_TRUE(WaitFor([&] { return pLightness->GetPos() == 64; }));
        Click(dlg, IDC_PS_COLOUR_RESET);
        EXPECT_EQ(m_dlg.GetColour().nBrightness, 64);
        dlg.reject();
    }
    OpenPaused();
    const double dBefore = MeanBrightness();
    CPlayerSetDlg dlg(&m_dlg, CPlayerSetDlg::PAGE_COLOUR, &m_dlg);
    dlg.show();
    PressSlider(dlg.GetColourSlider(IDC_PS_LIGHTNESS), 0.98);
    EXPECT_GT(m_dlg.GetColour().nBrightness, 120);
    // The paused picture is drawn again with the new colour.
    EXPECT_TRUE(WaitFor([&] { return MeanBrightness() > dBefore + 20; }))
        << dBefore << " -> " << MeanBrightness();
    // Other edits are dropped by Cancel; the colour stays.
    QTest::mouseClick(&dlg, Qt::LeftButton, {},
                      dlg.GetControl(IDC_PS_PAGE_BASIC)->geometry().center());
    Click(dlg, IDC_PS_DEFLASH);
    Click(dlg, IDC_PS_CANCEL);
    EXPECT_TRUE(m_dlg.GetSettings().bDeflash);
    EXPECT_GT(m_dlg.GetColour().nBrightness, 120);

    CPlayerSetDlg reset(&m_dlg, CPlayerSetDlg::PAGE_COLOUR, &m_dlg);
    reset.show();
    EXPECT_GT(reset.GetColourSlider(IDC_PS_LIGHTNESS)->GetPos(), 120);
    Click(reset, IDC_PS_COLOUR_RESET);
    EXPECT_EQ(reset.GetColourSlider(IDC_PS_LIGHTNESS)->GetPos(), 64);
    EXPECT_EQ(m_dlg.GetColour().nBrightness, 64);
    EXPECT_TRUE(WaitFor([&] { return std::abs(MeanBrightness() - dBefore) < 3; }));
}

TEST_F(PlayerSetDlgTest, FolderChosenAtTheRootIsStoredAsSlashAndTypesFollowTheCombos) {
    CPlayerSetDlg dlg(&m_dlg, CPlayerSetDlg::PAGE_CAPTURE, &m_dlg);
    dlg.show();
    QTimer::singleShot(0, [] {
        auto* pPicker = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(pPicker, nullptr);
        EXPECT_EQ(pPicker->windowTitle(), QStringLiteral("Please Select a Folder:"));
        pPicker->setDirectory(QStringLiteral("/"));
        // The picker's own "Choose" button, as a user would press it.
        QMetaObject::invokeMethod(pPicker, "accept", Qt::DirectConnection);
    });
    Click(dlg, IDC_PS_BROWSE);
    EXPECT_EQ(static_cast<QLineEdit*>(dlg.GetControl(IDC_PS_CAPTURE_FOLDER))->text(),
              QStringLiteral("/"));
    static_cast<QComboBox*>(dlg.GetControl(IDC_PS_CON_CAPTURE_TYPE))->setCurrentIndex(1);
    Click(dlg, IDC_PS_OK);
    EXPECT_EQ(m_dlg.GetSettings().strCaptureFolder, QStringLiteral("/"));
    EXPECT_EQ(m_dlg.GetSettings().nConCaptureType, 1);
    EXPECT_EQ(m_dlg.GetSettings().nCaptureType, 0);
}
