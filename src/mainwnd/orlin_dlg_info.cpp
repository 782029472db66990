// The main window's side of the file information and watermark windows.

#include "mainwnd/orlin_dlg.h"
#include "playback/dlg_show.h"
#include "playback/play_wnd.h"
#include "tools/fileinfo/file_info_dlg.h"
#include "tools/watermark/water_mark_dlg.h"

namespace {

// The selected pane's watermark block while its file plays or pauses. A
// stopped or closed pane gives nothing, so the cleared window stays clear.
std::optional<WatermarkRecord> SelectedPaneWatermark(const CDlgShow* pDlgShow) {
    const CPlayWnd* pPane = pDlgShow != nullptr ? pDlgShow->GetSelPlayWnd() : nullptr;
    if (pPane == nullptr) return std::nullopt;
    const PlayState eState = pPane->GetPlayState();
    if (eState != PLAY_STATE_PLAYING && eState != PLAY_STATE_PAUSED) return std::nullopt;
    return pPane->GetWatermark();
}

}  // namespace

void COrlinDlg::ShowFileInfo() {
    if (SelState() == PLAY_STATE_IDLE) return;
    PaneFileInfo stPane;
    if (!m_pDlgShow->GetSelFileInfo(&stPane)) return;
    FileInfoSource source;
    source.strPath = stPane.strPath;
    source.nFrameRate = stPane.nFrameRate;
    source.nWidth = stPane.nWidth;
    source.nHeight = stPane.nHeight;
    source.nFileSeconds = m_pDlgShow->GetSelFileTime();
    CFileInfoDlg dlg(this, source);
    dlg.exec();
}

void COrlinDlg::CreateWaterMarkDlg() {
    m_pWaterMarkDlg = new CWaterMarkDlg(this, [this] { return SelectedPaneWatermark(m_pDlgShow); });
    m_pWaterMarkDlg->hide();
}

void COrlinDlg::ShowWaterMarkDlg() {
    if (m_pWaterMarkDlg == nullptr || m_pDlgShow == nullptr) return;
    // Shown first: the window frame is known only once the window is.
    m_pWaterMarkDlg->show();
    // Bottom-left corner on the pane area's bottom-left corner, size kept.
    QRect rcWindow = m_pWaterMarkDlg->frameGeometry();
    rcWindow.moveBottomLeft(m_pDlgShow->mapToGlobal(m_pDlgShow->rect().bottomLeft()));
    m_pWaterMarkDlg->move(rcWindow.topLeft());
    m_pWaterMarkDlg->raise();
}
