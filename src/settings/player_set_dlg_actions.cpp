// What the player settings dialog does while it is open: live colour, the
// speed page, locating by time or frame, and choosing snapshot folders.

#include <QCoreApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QSlider>

#include "controls/bitmap_slider.h"
#include "controls/orlin_message_box.h"
#include "controls/slider_moved_event.h"
#include "lang/language_parser.h"
#include "settings/player_set_dlg.h"
#include "settings/player_set_ids.h"
#include "settings/player_set_rules.h"

namespace {
constexpr int32_t kNeutralColour = 64;
}  // namespace

void CPlayerSetDlg::OnColourMoved() {
    // A fast drag queues many moves; they are handled once, with the
    // positions the sliders have now, which are the newest.
    QCoreApplication::removePostedEvents(this, ORLIN_MSG_SLIDER_MOVING);
    const int ids[] = {IDC_PS_LIGHTNESS, IDC_PS_HUE, IDC_PS_CONTRAST, IDC_PS_SATURATION};
    if (m_pOwner->GetSelPlayState() == PLAY_STATE_IDLE) {
        for (int nId : ids) GetColourSlider(nId)->SetPos(kNeutralColour);
        return;
    }
    m_stColour.nBrightness = GetColourSlider(IDC_PS_LIGHTNESS)->GetPos();
    m_stColour.nHue = GetColourSlider(IDC_PS_HUE)->GetPos();
    m_stColour.nContrast = GetColourSlider(IDC_PS_CONTRAST)->GetPos();
    m_stColour.nSaturation = GetColourSlider(IDC_PS_SATURATION)->GetPos();
    m_pOwner->SetColour(m_stColour);
}

void CPlayerSetDlg::OnColourReset() {
    FetchWarnings();
    if (m_pOwner->GetSelPlayState() == PLAY_STATE_IDLE) return;
    m_stColour = ColourValues();
    for (int nId : {IDC_PS_LIGHTNESS, IDC_PS_HUE, IDC_PS_CONTRAST, IDC_PS_SATURATION}) {
        GetColourSlider(nId)->SetPos(kNeutralColour);
    }
    m_pOwner->SetColour(m_stColour);
}

void CPlayerSetDlg::OnSpeedDirection(bool bSpeedUp) {
    m_nSpeedLevel = SpeedLevelForDirection(bSpeedUp, m_nSpeedLevel);
    m_bSpeedUp = bSpeedUp;
    ShowValues();
}

void CPlayerSetDlg::OnSpeedSlider(int nPos) {
    const PlayState eState = m_pOwner->GetSelPlayState();
    if (eState != PLAY_STATE_PLAYING && eState != PLAY_STATE_PAUSED) {
        // Without a file to speed up the slider keeps showing the current level.
        auto* pSlider = static_cast<QSlider*>(GetControl(IDC_PS_SPEED_SLIDER));
        const QSignalBlocker block(pSlider);
        nPos = std::abs(m_nSpeedLevel);
        pSlider->setValue(nPos);
    }
    m_nSpeedLevel = SpeedLevelFromSlider(m_bSpeedUp, nPos);
}

void CPlayerSetDlg::OnLocate(bool bTime) {
    FetchWarnings();
    if (m_pOwner->IsSyncPlay()) {
        QString strText;
        CLanguageParser::FindString("IDS_PlaySetDlg_UnSupportInSyncMode", strText,
                                    QStringLiteral("Unsupported in synchronous mode!"));
        OrlinMessageBox(this, strText);
        return;
    }
    const PlayState eState = m_pOwner->GetSelPlayState();
    if (eState == PLAY_STATE_IDLE || eState == PLAY_STATE_STOPPED) {
        OrlinMessageBox(this, m_strWarnPlayFirst);
        return;
    }
    const QString strText =
        static_cast<QLineEdit*>(GetControl(bTime ? IDC_PS_TIME_EDIT : IDC_PS_FRAME_EDIT))->text();
    uint32_t nValue = 0;
    const LocateCheck eCheck =
        bTime ? CheckLocateTime(strText, m_pOwner->GetSelFileTime(), &nValue)
              : CheckLocateFrame(strText, m_pOwner->GetSelTotalFrames(), &nValue);
    if (eCheck == LocateCheck::Empty) {
        OrlinMessageBox(this, bTime ? m_strWarnInputTime : m_strWarnInputFrame);
    } else if (eCheck == LocateCheck::Invalid) {
        OrlinMessageBox(this, bTime ? m_strWarnValidTime : m_strWarnValidFrame);
    } else if (bTime) {
        m_nLastTime = static_cast<int32_t>(nValue);
        m_pOwner->SetSelTimePos(nValue);
    } else {
        m_nLastFrame = nValue;
        m_pOwner->SetSelFramePos(nValue);
    }
}

void CPlayerSetDlg::OnBrowse() {
    const QString strFolder = QFileDialog::getExistingDirectory(
        this, m_strWarnSelectFolder, QCoreApplication::applicationDirPath(),
        QFileDialog::ShowDirsOnly);
    if (strFolder.isEmpty()) return;
    const QString strKept = FolderWithoutTrailingSeparator(strFolder);
    if (m_nCurPage == PAGE_CAPTURE) {
        m_strCaptureFolder = strKept;
        static_cast<QLineEdit*>(GetControl(IDC_PS_CAPTURE_FOLDER))->setText(strKept);
    } else {
        m_strConCaptureFolder = strKept;
        static_cast<QLineEdit*>(GetControl(IDC_PS_CON_CAPTURE_FOLDER))->setText(strKept);
    }
}
