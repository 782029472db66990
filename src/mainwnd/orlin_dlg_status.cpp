// The main window's play-state refresh, status texts, timer 2 and the
// progress and volume sliders.

#include <QLabel>
#include <QTimer>

#include "common/debug_log.h"
#include "controls/bitmap_slider.h"
#include "controls/my_static.h"
#include "controls/skin_button.h"
#include "mainwnd/control_ids.h"
#include "mainwnd/file_problem_text.h"
#include "mainwnd/orlin_dlg.h"
#include "mainwnd/progress_math.h"
#include "playback/dlg_show.h"
#include "playback/engine_api.h"
#include "playback/lang_text.h"
#include "playback/play_wnd.h"
#include "playback/speed_text.h"
#include "tools/watermark/water_mark_dlg.h"

void COrlinDlg::ReloadStatusTexts() {
    m_strReady = LangText("IDS_MainWnd_Ready", "Ready");
    m_strPause = LangText("IDS_Global_Pause", "Pause");
    m_strStop = LangText("IDS_Global_Stop", "Stop");
    SetPlaylistTitle();
    if (m_pWaterMarkDlg != nullptr) m_pWaterMarkDlg->ReloadTexts();
}

void COrlinDlg::RefreshPlayState() {
    const bool bSync = m_pDlgShow != nullptr && m_pDlgShow->IsSyncMode();
    const CPlayWnd* pSel = m_pDlgShow != nullptr ? m_pDlgShow->GetSelPlayWnd() : nullptr;
    for (int nId : {IDC_FRAME_FORWARD, IDC_FRAME_BACK, IDC_GOTO_START, IDC_GOTO_END, IDC_REVERSE}) {
        if (CSkinButton* pButton = GetButton(nId)) pButton->setEnabled(!bSync);
    }
    m_pProgress->Enable(!bSync);
    const bool bReversing = !bSync && pSel != nullptr && pSel->IsBackPlay();
    if (CSkinButton* pReverse = GetButton(IDC_REVERSE)) {
        pReverse->SetSkin(bReversing ? QStringLiteral("reverse_on") : QStringLiteral("reverse"),
                          pReverse->toolTip());
    }

    ReloadStatusTexts();
    const PlayState eState = SelState();
    // A file opened but never played leaves the status, button and range alone.
    if (eState != PLAY_STATE_OPENED) {
        QString strStatus;
        switch (eState) {
            case PLAY_STATE_PLAYING:
                strStatus = SpeedText(m_nSpeedLevel);
                break;
            case PLAY_STATE_PAUSED:
                strStatus = m_strPause;
                break;
            case PLAY_STATE_STOPPED:
                strStatus = m_strStop;
                break;
            default:
                strStatus = m_strReady;
                break;
        }
        m_pStatus->SetText(strStatus);
        m_pStatus->update();
        if (CSkinButton* pPlay = GetButton(IDC_PLAY_PAUSE)) {
            pPlay->SetSkin(
                eState == PLAY_STATE_PLAYING ? QStringLiteral("pause") : QStringLiteral("play"),
                pPlay->toolTip());
        }
        if (eState == PLAY_STATE_IDLE || eState == PLAY_STATE_STOPPED) {
            m_pProgress->SetRange(0, 0);
            m_pProgress->SetPos(0);
            // An idle pane's label keeps saying why the last file did not play.
            if (eState == PLAY_STATE_IDLE) m_pLeftTime->SetText(m_strFileProblem);
            m_pRightTime->SetText(QString());
            m_pLeftTime->update();
            m_pRightTime->update();
            if (m_pWaterMarkDlg != nullptr) m_pWaterMarkDlg->Clear();
        } else {
            m_pProgress->SetRange(0, bSync ? 0 : PROGRESS_RANGE);
        }
    }
    UpdateMinimumSize();
    // Top-most mode 1 rises and falls with playback.
    ApplyTopMostMode();
    ReloadToolTips();
    RefreshFloatPanel();
    for (int nId : {IDC_PLAYLIST_ADD, IDC_PLAYLIST_DELETE, IDC_PLAYLIST_CLEAR, IDC_PLAY_ORDER,
                    IDC_PLAYLIST_HIDE}) {
        if (CSkinButton* pButton = GetButton(nId)) pButton->update();
    }
}

void COrlinDlg::OnTimer2() {
    if (m_pDlgShow == nullptr) return;
    const PlayState eState = SelState();
    ProgressReading reading;
    const CPlayWnd* pSel = m_pDlgShow->GetSelPlayWnd();
    if (pSel != nullptr && pSel->GetPort() >= 0) {
        const int32_t lPort = pSel->GetPort();
        reading.nTotalFrames = Engine().GetFileTotalFrames(lPort);
        reading.nFileTime = Engine().GetFileTime(lPort);
        reading.nPlayedTime = Engine().GetPlayedTime(lPort);
        reading.nCurrentFrame = Engine().GetCurrentFrameNum(lPort);
    }
    const ProgressView view = ComputeProgress(reading);
    if (!IsPlayingOrPaused(eState)) {
        m_pProgress->SetPos(0);
        m_pProgress->update();
        return;
    }
    if (m_pDlgShow->IsSyncMode()) {
        OnTimer2Sync();
        return;
    }
    if (!m_strFileProblem.isEmpty() && m_fileProblemAge.elapsed() >= FILE_PROBLEM_MS) {
        m_strFileProblem.clear();
    }
    if (m_strFileProblem.isEmpty()) m_pLeftTime->SetText(m_pDlgShow->GetSelFilePath());
    m_pRightTime->SetText(ProgressLabelText(view));
    m_pLeftTime->update();
    m_pRightTime->update();
    // The thumb under the user's mouse is not pulled away from it.
    if (!m_pProgress->IsDragging()) m_pProgress->SetPos(view.nPos);
}

void COrlinDlg::OnSliderMoved(int nControlId, int nPos) {
    // Bursts of moves are coalesced: only the newest position of each slider
    // is acted on, once the queue holds no more of them.
    m_pendingSlider[nControlId] = nPos;
    if (m_bSliderFlushQueued) return;
    m_bSliderFlushQueued = true;
    QTimer::singleShot(0, this, &COrlinDlg::FlushSliderMoves);
}

void COrlinDlg::FlushSliderMoves() {
    m_bSliderFlushQueued = false;
    const std::map<int, int> pending = std::move(m_pendingSlider);
    m_pendingSlider.clear();
    for (const auto& [nId, nPos] : pending) {
        if (nId == IDC_VOLUME) {
            m_nVolume = nPos;
            if (m_bSoundOn && m_pDlgShow != nullptr) m_pDlgShow->SetVolume(nPos, true);
            m_pVolume->setToolTip(VolumeTipText(nPos));
        } else if (nId == IDC_PROGRESS) {
            const PlayState eState = SelState();
            if (eState == PLAY_STATE_IDLE || eState == PLAY_STATE_STOPPED ||
                m_pDlgShow == nullptr) {
                continue;
            }
            const uint32_t nFrame = FrameForSliderPos(nPos, m_pDlgShow->GetSelTotalFrames());
            m_pDlgShow->SetFramePos(nFrame);
            DebugLog("COrlinDlg::ProgressSlider SetSelWndFramePos lFrame=%d",
                     static_cast<int>(nFrame));
        }
    }
}

void COrlinDlg::ShowFileProblem(const QString& strPath, const MediaFileCheck& check) {
    m_strFileProblem = FileProblemText(strPath, check);
    m_fileProblemAge.start();
    DebugLog("COrlinDlg::ShowFileProblem %s", qUtf8Printable(m_strFileProblem));
    m_pLeftTime->SetText(m_strFileProblem);
    m_pLeftTime->update();
}

QString COrlinDlg::GetStatusText() const { return m_pStatus->GetText(); }

QString COrlinDlg::GetTimeText() const { return m_pRightTime->GetText(); }

QString COrlinDlg::GetPathText() const { return m_pLeftTime->GetText(); }
