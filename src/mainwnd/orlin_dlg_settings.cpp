// The main window as the player settings dialog's owner: what the dialog reads
// and changes, and the commands that open it on one of its pages.

#include "mainwnd/orlin_dlg.h"
#include "playback/dlg_show.h"
#include "playback/play_wnd.h"
#include "settings/player_set_dlg.h"

void COrlinDlg::OpenPlayerSettings(int nPage) {
    if (m_pDlgShow == nullptr) return;
    CPlayerSetDlg dlg(this, nPage, this);
    dlg.exec();
}

ColourValues COrlinDlg::GetColour() const {
    return ColourValues{m_nBrightness, m_nContrast, m_nSaturation, m_nHue};
}

void COrlinDlg::SetColour(const ColourValues& stColour) {
    m_nBrightness = stColour.nBrightness;
    m_nContrast = stColour.nContrast;
    m_nSaturation = stColour.nSaturation;
    m_nHue = stColour.nHue;
    if (m_pDlgShow != nullptr) {
        m_pDlgShow->SetColour(m_nBrightness, m_nContrast, m_nSaturation, m_nHue);
    }
}

bool COrlinDlg::StepSpeed(bool bFaster) {
    if (m_pDlgShow == nullptr) return false;
    const bool bDone = bFaster ? m_pDlgShow->Fast() : m_pDlgShow->Slow();
    const CPlayWnd* pPane = IsSyncPlay() ? m_pDlgShow->GetPlayWnd(0) : m_pDlgShow->GetSelPlayWnd();
    m_nSpeedLevel = pPane != nullptr ? pPane->GetSpeedLevel() : 0;
    return bDone;
}

bool COrlinDlg::SetSelTimePos(uint32_t nSeconds) {
    return m_pDlgShow != nullptr && m_pDlgShow->SetTimePos(nSeconds);
}

bool COrlinDlg::SetSelFramePos(uint32_t nFrame) {
    return m_pDlgShow != nullptr && m_pDlgShow->SetFramePos(nFrame);
}

uint32_t COrlinDlg::GetSelTotalFrames() const {
    return m_pDlgShow != nullptr ? m_pDlgShow->GetSelTotalFrames() : 0;
}

uint32_t COrlinDlg::GetSelFileTime() const {
    return m_pDlgShow != nullptr ? m_pDlgShow->GetSelFileTime() : 0;
}
