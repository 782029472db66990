#include "settings/player_set_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QSlider>

#include "controls/bitmap_slider.h"
#include "controls/my_hot_key_ctrl.h"
#include "controls/orlin_message_box.h"
#include "controls/slider_moved_event.h"
#include "lang/language_parser.h"
#include "settings/hot_key_conflict.h"
#include "settings/player_set_ids.h"
#include "settings/player_set_rules.h"

namespace {
const QColor kBackground(213, 234, 255);
const QColor kFrameLine(176, 216, 255);
const QColor kCurrentText(255, 255, 255);
const QColor kCurrentBack(60, 104, 170);
const QColor kLabelText(0, 0, 0);
const QColor kLabelBack(255, 255, 255);
const QRect kListFrame(QPoint(4, 4), QPoint(136, 330));
const QRect kPageFrame(QPoint(142, 4), QPoint(465, 330));

struct PageHeader {
    const char* szKey;
    const char* szDefault;
};
// The page header's text, by page (index 0 unused).
constexpr PageHeader kPageHeaders[] = {
    {"", ""},
    {"IDS_PlaySetDlg_Options", "Options"},
    {"IDS_PlaySetDlg_HotKey", "HotKey"},
    {"IDS_Global_Locate", "Locate"},
    {"IDS_Global_Speed", "Play Speed"},
    {"IDS_PlaySetDlg_ImageControl", "Image Control"},
    {"IDS_PlaySetDlg_ColorAdjust", "Color Adjust"},
    {"IDS_Global_Capture", "Captrue"},
    {"IDS_Global_ContinuousCapture", "Continuous Capture"},
};

void Check(QWidget* pControl, bool bChecked) {
    if (auto* pButton = qobject_cast<QAbstractButton*>(pControl)) pButton->setChecked(bChecked);
}
}  // namespace

CPlayerSetDlg::CPlayerSetDlg(IPlayerSetOwner* pOwner, int nStartPage, QWidget* pParent)
    : QDialog(pParent), m_pOwner(pOwner) {
    setFixedSize(470, 375);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kBackground);
    setPalette(pal);
    setAutoFillBackground(true);

    const PlayerSettings& stSettings = m_pOwner->Settings();
    m_nLanguage = stSettings.nLanguage;
    m_stColour = m_pOwner->GetColour();
    m_bHighQuality = stSettings.bHighQuality;
    m_bDeflash = stSettings.bDeflash;
    m_nPriority = stSettings.nPriority;
    m_nThrowB = stSettings.nThrowB;
    m_nPlayerTimerPrecision = stSettings.nPlayerTimerPrecision;
    m_nResolution = stSettings.nResolution;
    m_nSpeedLevel = m_nSpeedLevelAtOpen = m_pOwner->GetSpeedLevel();
    m_strCaptureFolder = stSettings.strCaptureFolder;
    m_nCaptureType = stSettings.nCaptureType;
    m_strConCaptureFolder = stSettings.strConCaptureFolder;
    m_nConCaptureType = stSettings.nConCaptureType;

    CreateControls();
    SetCaptions();
    for (int i = 0; i < HOTKEY_ROWS; ++i) {
        const HotKeyBinding& stKey = stSettings.stHotKeys[static_cast<size_t>(i)];
        m_hotKeyCtrls[static_cast<size_t>(i)]->SetHotKey(stKey.wVirtualKey,
                                                         ExchangeAltShift(stKey.wModifiers));
    }
    GetColourSlider(IDC_PS_LIGHTNESS)->SetPos(m_stColour.nBrightness);
    GetColourSlider(IDC_PS_HUE)->SetPos(m_stColour.nHue);
    GetColourSlider(IDC_PS_CONTRAST)->SetPos(m_stColour.nContrast);
    GetColourSlider(IDC_PS_SATURATION)->SetPos(m_stColour.nSaturation);

    m_nCurPage =
        nStartPage >= PAGE_BASIC && nStartPage <= PAGE_CON_CAPTURE ? nStartPage : int(PAGE_BASIC);
    m_bSpeedUp = m_nSpeedLevel >= 0;
    ShowPage(m_nCurPage);
    static_cast<QLineEdit*>(GetControl(IDC_PS_TIME_EDIT))->setText(QStringLiteral("0"));
    static_cast<QLineEdit*>(GetControl(IDC_PS_FRAME_EDIT))->setText(QStringLiteral("0"));
    static_cast<QComboBox*>(GetControl(IDC_PS_CAPTURE_TYPE))->setCurrentIndex(m_nCaptureType);
    static_cast<QComboBox*>(GetControl(IDC_PS_CON_CAPTURE_TYPE))
        ->setCurrentIndex(m_nConCaptureType);
    static_cast<QLineEdit*>(GetControl(IDC_PS_CAPTURE_FOLDER))->setText(m_strCaptureFolder);
    static_cast<QLineEdit*>(GetControl(IDC_PS_CON_CAPTURE_FOLDER))->setText(m_strConCaptureFolder);
    FetchWarnings();
}

void CPlayerSetDlg::ShowPage(int nPage) {
    m_nCurPage = nPage;
    for (const auto& [nId, pages] : m_pagesOf) {
        if (pages.empty()) continue;  // on every page
        const bool bShown = std::find(pages.begin(), pages.end(), nPage) != pages.end();
        m_controls.at(nId)->setVisible(bShown);
    }
    for (size_t i = 0; i < HOTKEY_ROWS; ++i) {
        m_hotKeyLabels[i]->setVisible(nPage == PAGE_HOTKEY);
        m_hotKeyCtrls[i]->setVisible(nPage == PAGE_HOTKEY);
    }
    for (const auto& [nLabelPage, pLabel] : m_pageLabels) {
        QPalette pal = pLabel->palette();
        const bool bCurrent = nLabelPage == nPage;
        pal.setColor(QPalette::WindowText, bCurrent ? kCurrentText : kLabelText);
        pal.setColor(QPalette::Window, bCurrent ? kCurrentBack : kLabelBack);
        pLabel->setPalette(pal);
        pLabel->setAutoFillBackground(true);
    }
    QString strHeader;
    CLanguageParser::FindString(kPageHeaders[nPage].szKey, strHeader,
                                QString::fromUtf8(kPageHeaders[nPage].szDefault));
    static_cast<QLabel*>(GetControl(IDC_PS_PAGE_HEADER))->setText(strHeader);
    ShowValues();
    update();
}

void CPlayerSetDlg::ShowValues() {
    Check(GetControl(IDC_PS_HIGH_QUALITY), m_bHighQuality);
    Check(GetControl(IDC_PS_DEFLASH), m_bDeflash);
    Check(GetControl(IDC_PS_EFFICIENCY_PRIORITY), m_nPriority == 1);
    Check(GetControl(IDC_PS_EFFECT_PRIORITY), m_nPriority == 0);
    Check(GetControl(IDC_PS_DONT_THROW), m_nThrowB == 0);
    Check(GetControl(IDC_PS_THROW_1), m_nThrowB == 1);
    Check(GetControl(IDC_PS_THROW_2), m_nThrowB == 2);
    Check(GetControl(IDC_PS_HIGH_PRECISION), m_nPlayerTimerPrecision == 1);
    Check(GetControl(IDC_PS_LOW_PRECISION), m_nPlayerTimerPrecision == 2);
    Check(GetControl(IDC_PS_NORMAL_RESOLUTION), m_nResolution == 1);
    Check(GetControl(IDC_PS_LOW_RESOLUTION), m_nResolution == 2);
    Check(GetControl(IDC_PS_SPEED_UP), m_bSpeedUp);
    Check(GetControl(IDC_PS_SPEED_DOWN), !m_bSpeedUp);
    auto* pSpeed = static_cast<QSlider*>(GetControl(IDC_PS_SPEED_SLIDER));
    const QSignalBlocker block(pSpeed);
    pSpeed->setValue(std::abs(m_nSpeedLevel));
}

void CPlayerSetDlg::mousePressEvent(QMouseEvent* pEvent) {
    if (pEvent->button() == Qt::LeftButton) {
        const QPoint pt = pEvent->position().toPoint();
        for (const auto& [nPage, pLabel] : m_pageLabels) {
            if (pLabel->geometry().contains(pt)) {
                ShowPage(nPage);
                return;
            }
        }
    }
    QDialog::mousePressEvent(pEvent);
}

void CPlayerSetDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(kFrameLine);
    painter.drawRect(kListFrame);
    painter.drawRect(kPageFrame);
    painter.setPen(Qt::white);
    painter.drawRect(QRect(QPoint(5, 5), QPoint(134, 328)));
    painter.setPen(kFrameLine);
    for (const QLabel* pHeader : m_groupHeaders) {
        painter.drawRect(pHeader->geometry().adjusted(-1, -1, 0, 0));
    }
}

bool CPlayerSetDlg::event(QEvent* pEvent) {
    if (pEvent->type() == ORLIN_MSG_SLIDER_MOVING) {
        const int nId = static_cast<SliderMovedEvent*>(pEvent)->ControlId();
        if (nId >= IDC_PS_LIGHTNESS && nId <= IDC_PS_SATURATION) OnColourMoved();
        return true;
    }
    return QDialog::event(pEvent);
}

void CPlayerSetDlg::OnOK() {
    HotKeyTable table;
    for (size_t i = 0; i < HOTKEY_ROWS; ++i) {
        uint16_t wKey = 0;
        uint16_t wModifiers = 0;
        m_hotKeyCtrls[i]->GetHotKey(wKey, wModifiers);
        table[i] = {wKey, ExchangeAltShift(wModifiers)};
    }
    if (FindHotKeyConflict(table).first >= 0) {
        QString strText;
        CLanguageParser::FindString("IDS_PlaySetDlg_HotKeyConflict", strText,
                                    QStringLiteral("HotKey Conflict!"));
        OrlinMessageBox(this, strText);
        return;
    }
    PlayerSettings& stSettings = m_pOwner->Settings();
    stSettings.stHotKeys = table;
    stSettings.bHighQuality = m_bHighQuality;
    stSettings.bDeflash = m_bDeflash;
    stSettings.nPriority = m_nPriority;
    stSettings.nThrowB = m_nThrowB;
    stSettings.nPlayerTimerPrecision = m_nPlayerTimerPrecision;
    stSettings.nResolution = m_nResolution;
    stSettings.nCaptureType =
        static_cast<QComboBox*>(GetControl(IDC_PS_CAPTURE_TYPE))->currentIndex();
    stSettings.nConCaptureType =
        static_cast<QComboBox*>(GetControl(IDC_PS_CON_CAPTURE_TYPE))->currentIndex();
    stSettings.strCaptureFolder =
        static_cast<QLineEdit*>(GetControl(IDC_PS_CAPTURE_FOLDER))->text();
    stSettings.strConCaptureFolder =
        static_cast<QLineEdit*>(GetControl(IDC_PS_CON_CAPTURE_FOLDER))->text();

    if (m_pOwner->GetSelPlayState() != PLAY_STATE_IDLE) {
        m_pOwner->ApplyPlayerSettings();
        if (!m_pOwner->IsSyncPlay()) {
            // One step at a time from the level the dialog opened with.
            for (int32_t nLevel = m_nSpeedLevelAtOpen; nLevel != m_nSpeedLevel;) {
                const int32_t nStep = SpeedStepTowards(nLevel, m_nSpeedLevel);
                if (!m_pOwner->StepSpeed(nStep > 0)) {
                    // Stays open; a second OK goes on from where the pane stopped.
                    m_nSpeedLevelAtOpen = nLevel;
                    return;
                }
                nLevel += nStep;
            }
        }
    }
    m_pOwner->RefreshPlayState();
    accept();
}
