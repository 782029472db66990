// The main window's side of the video enhancement panel: the selected
// pane's block and the panel's refreshes.

#include "enhance/video_enhance_dlg.h"
#include "mainwnd/orlin_dlg.h"
#include "playback/dlg_show.h"
#include "playback/play_wnd.h"

std::optional<VideoEnhanceParams> COrlinDlg::SelectedVieParams() const {
    const CPlayWnd* pSel = m_pDlgShow != nullptr ? m_pDlgShow->GetSelPlayWnd() : nullptr;
    if (pSel == nullptr) return std::nullopt;
    return pSel->GetVIEParams();
}

void COrlinDlg::SetSelectedVieModules(int32_t nModules, bool bEnable) {
    CPlayWnd* pSel = m_pDlgShow != nullptr ? m_pDlgShow->GetSelPlayWnd() : nullptr;
    if (pSel != nullptr) pSel->SetVIEModule(nModules, bEnable);
}

void COrlinDlg::SetSelectedVieParams(const VideoEnhanceParams& block) {
    CPlayWnd* pSel = m_pDlgShow != nullptr ? m_pDlgShow->GetSelPlayWnd() : nullptr;
    if (pSel != nullptr) pSel->SetVIEDynamicParam(&block);
}

void COrlinDlg::RefreshEnhanceIndicators() { RefreshFloatPanel(); }

void COrlinDlg::RefreshEnhancePanel() {
    if (m_pVideoEnhance == nullptr || !m_pVideoEnhance->isVisible()) return;
    m_pVideoEnhance->RefreshTexts();
    m_pVideoEnhance->LoadControls();
}
