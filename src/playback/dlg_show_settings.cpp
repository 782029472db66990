// The pane container's settings, colour and draw mode for the open panes,
// and the queries on the selected pane.

#include <vector>

#include "common/debug_log.h"
#include "playback/dlg_show.h"
#include "playback/engine_api.h"
#include "playback/play_wnd.h"

bool CDlgShow::SetDrawMode(bool bPlainDraw) {
    if (bPlainDraw == m_bDrawMode) return true;
    for (CPlayWnd* pPane : m_pPlayWnd) {
        if (pPane != nullptr) pPane->ApplyDrawMode(bPlainDraw);
    }
    m_bDrawMode = bPlainDraw;
    return true;
}

namespace {
bool IsOpenForSettings(const CPlayWnd* pPane) {
    const PlayState eState = pPane->GetPlayState();
    return eState != PLAY_STATE_IDLE && eState != PLAY_STATE_STOPPED;
}
}  // namespace

bool CDlgShow::ApplySettings() {
    if (!Guarded()) return false;
    const DlgShowPlaySettings& st = m_stSettings;
    ForEachPaneInLayout([&st](int32_t, CPlayWnd* pPane) {
        const int32_t lPort = pPane->GetPort();
        if (!IsOpenForSettings(pPane) || lPort < 0) return;
        if (!Engine().SetTimerType(lPort, static_cast<uint32_t>(st.nTimerType), 0)) {
            DebugLog("Vemor_SetTimerType dwErr=%d", Engine().GetLastError(lPort));
        }
        if (!Engine().SetDeflash(lPort, st.bDeflash ? 1 : 0)) {
            DebugLog("Vemor_SetDeflash dwErr=%d", Engine().GetLastError(lPort));
        }
        if (!Engine().SetDisplayType(lPort, st.nDisplayType)) {
            DebugLog("Vemor_SetDisplayType dwErr=%d", Engine().GetLastError(lPort));
        }
        if (!Engine().SetPicQuality(lPort, st.bHighQuality ? 1 : 0)) {
            DebugLog("Vemor_SetPicQuality dwErr=%d", Engine().GetLastError(lPort));
        }
        if (!Engine().ThrowBFrameNum(lPort, static_cast<uint32_t>(st.nThrowB))) {
            DebugLog("Vemor_ThrowBFrameNum dwErr=%d", Engine().GetLastError(lPort));
        }
    });
    PostPlayStateChanged();
    return true;
}

bool CDlgShow::SetColour(int32_t nBrightness, int32_t nContrast, int32_t nSaturation,
                         int32_t nHue) {
    if (!Guarded()) return false;
    ForEachPaneInLayout([&](int32_t, CPlayWnd* pPane) {
        const int32_t lPort = pPane->GetPort();
        if (!IsOpenForSettings(pPane) || lPort < 0) return;
        if (!Engine().SetColor(lPort, 0, nBrightness, nContrast, nSaturation, nHue)) {
            DebugLog("Vemor_SetColor dwErr=%d", Engine().GetLastError(lPort));
        }
    });
    PostPlayStateChanged();
    return true;
}

bool CDlgShow::ClosePanesShowingFile(const QString& strPath) {
    SettleSyncReposition();
    std::vector<CPlayWnd*> showing;
    for (CPlayWnd* pPane : m_pPlayWnd) {
        if (pPane == nullptr) continue;
        const PlayState eState = pPane->GetPlayState();
        if (eState != PLAY_STATE_IDLE && eState != PLAY_STATE_OPENED &&
            pPane->GetFilePath() == strPath) {
            showing.push_back(pPane);
        }
    }
    if (showing.empty()) return true;
    if (m_bSync) {
        CloseFile();
        return true;
    }
    for (CPlayWnd* pPane : showing) {
        pPane->Reset();
        pPane->Close();
    }
    PostPlayStateChanged();
    return true;
}

CPlayWnd* CDlgShow::SelPaneForQuery() const {
    if (m_nSelIndex < 0 || m_nSelIndex > MAX_PANES) return nullptr;
    return GetSelPlayWnd();
}

QString CDlgShow::GetSelFilePath() const {
    const CPlayWnd* pSel = SelPaneForQuery();
    return pSel != nullptr ? pSel->GetFilePath() : QString();
}

uint32_t CDlgShow::GetSelTotalFrames() const {
    const CPlayWnd* pSel = SelPaneForQuery();
    if (pSel == nullptr || pSel->GetPort() < 0) return 0;
    return Engine().GetFileTotalFrames(pSel->GetPort());
}

uint32_t CDlgShow::GetSelFileTime() const {
    const CPlayWnd* pSel = SelPaneForQuery();
    if (pSel == nullptr || pSel->GetPort() < 0) return 0;
    return Engine().GetFileTime(pSel->GetPort());
}

bool CDlgShow::GetSelFileInfo(PaneFileInfo* pInfo) const {
    const CPlayWnd* pSel = SelPaneForQuery();
    if (pSel == nullptr || pInfo == nullptr) return false;
    pInfo->strPath = pSel->GetFilePath();
    pInfo->nFrameRate = pSel->GetFrameRate();
    pInfo->nWidth = pSel->GetDisplayWidth();
    pInfo->nHeight = pSel->GetDisplayHeight();
    return true;
}

bool CDlgShow::GetSelNextKeyFramePos(uint32_t nMilliseconds, VemorFramePos* pPos) const {
    CPlayWnd* pSel = SelPaneForQuery();
    if (pSel == nullptr) return false;
    return pSel->CheckNextKeyFramePos(nMilliseconds, pPos);
}
