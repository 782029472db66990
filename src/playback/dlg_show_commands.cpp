// The pane container's playback commands: the selected pane outside
// synchronous mode, the active panes of the layout inside it.

#include "common/debug_log.h"
#include "playback/dlg_show.h"
#include "playback/play_wnd.h"

bool CDlgShow::PlayPause() {
    // The group was playing before a repositioning still in flight: pausing
    // is what the user sees as the next step.
    if (m_bResumeAfterReposition && IsSyncRepositioning()) return Pause();
    CPlayWnd* pRef = m_bSync ? m_pPlayWnd[0] : GetSelPlayWnd();
    if (pRef == nullptr) return false;
    switch (pRef->GetPlayState()) {
        case PLAY_STATE_PLAYING:
            return Pause();
        case PLAY_STATE_PAUSED:
        case PLAY_STATE_STOPPED:
            return Play();
        default:
            return false;
    }
}

bool CDlgShow::Play() {
    SettleSyncReposition();
    if (!Guarded()) return false;
    if (!m_bSync) {
        CPlayWnd* pSel = GetSelPlayWnd();
        if (pSel == nullptr) return false;
        const PlayState eState = pSel->GetPlayState();
        if (eState == PLAY_STATE_IDLE || eState == PLAY_STATE_PLAYING) return false;
        pSel->Play();
    } else {
        ForEachPaneInLayout([this](int32_t i, CPlayWnd* pPane) {
            const PlayState eState = pPane->GetPlayState();
            if (eState != PLAY_STATE_IDLE && eState != PLAY_STATE_PLAYING && IsSyncActive(i)) {
                pPane->Play();
            }
        });
    }
    PostPlayStateChanged();
    return true;
}

bool CDlgShow::Pause() {
    SettleSyncReposition();
    // The group being formed stays paused when it is complete.
    if (m_pSyncStart) m_pSyncStart->bPlay = false;
    if (!m_bSync) {
        CPlayWnd* pSel = GetSelPlayWnd();
        if (pSel == nullptr) return false;
        pSel->Pause();
    } else {
        ForEachPaneInLayout([](int32_t, CPlayWnd* pPane) {
            if (pPane->GetPlayState() == PLAY_STATE_PLAYING) pPane->Pause();
        });
    }
    PostPlayStateChanged();
    return true;
}

bool CDlgShow::Stop() {
    SettleSyncReposition();
    AbandonSyncStart();
    if (!Guarded()) {
        DebugLog("CDlgShow::SyncStop() return 1");
        return false;
    }
    if (!m_bSync) {
        CPlayWnd* pSel = GetSelPlayWnd();
        if (pSel == nullptr) return false;
        pSel->Stop();
    } else {
        for (int32_t i = 0; i < m_nLayout && i < MAX_PANES; ++i) {
            CPlayWnd* pPane = m_pPlayWnd[i];
            if (pPane == nullptr) {
                DebugLog("CDlgShow::SyncStop() return 2");
                continue;
            }
            const PlayState eState = pPane->GetPlayState();
            if (eState != PLAY_STATE_IDLE && eState != PLAY_STATE_STOPPED) {
                pPane->Stop();
            } else {
                DebugLog("CDlgShow::SyncStop() return 3");
            }
        }
    }
    PostPlayStateChanged();
    return true;
}

bool CDlgShow::CloseFile() {
    SettleSyncReposition();
    AbandonSyncStart();
    if (!Guarded()) return false;
    if (!m_bSync) {
        CPlayWnd* pSel = GetSelPlayWnd();
        if (pSel == nullptr) return false;
        if (pSel->GetPlayState() != PLAY_STATE_IDLE) {
            pSel->Reset();
            pSel->Close();
        }
    } else {
        ForEachPaneInLayout([](int32_t, CPlayWnd* pPane) {
            if (pPane->GetPlayState() != PLAY_STATE_IDLE) {
                pPane->Reset();
                pPane->Close();
            }
        });
    }
    PostPlayStateChanged();
    return true;
}

bool CDlgShow::Fast() {
    SettleSyncReposition();
    if (!m_bSync) {
        CPlayWnd* pSel = GetSelPlayWnd();
        if (pSel == nullptr) return false;
        if (IsPlayingOrPaused(pSel->GetPlayState())) pSel->Fast();
    } else {
        ForEachPaneInLayout([](int32_t, CPlayWnd* pPane) {
            if (IsPlayingOrPaused(pPane->GetPlayState())) pPane->Fast();
        });
    }
    PostPlayStateChanged();
    return true;
}

bool CDlgShow::Slow() {
    SettleSyncReposition();
    if (!m_bSync) {
        CPlayWnd* pSel = GetSelPlayWnd();
        if (pSel == nullptr) return false;
        if (IsPlayingOrPaused(pSel->GetPlayState())) pSel->Slow();
    } else {
        ForEachPaneInLayout([](int32_t, CPlayWnd* pPane) {
            if (IsPlayingOrPaused(pPane->GetPlayState())) pPane->Slow();
        });
    }
    PostPlayStateChanged();
    return true;
}

bool CDlgShow::BackOneFrame() {
    SettleSyncReposition();
    CPlayWnd* pSel = GetSelPlayWnd();
    if (m_bSync || pSel == nullptr) return false;
    pSel->FrameForward(false);
    PostPlayStateChanged();
    return true;
}

bool CDlgShow::BackPlay(bool bOn) {
    SettleSyncReposition();
    CPlayWnd* pSel = GetSelPlayWnd();
    if (m_bSync || pSel == nullptr) return false;
    const bool bDone = pSel->BackPlay(bOn);
    PostPlayStateChanged();
    return bDone;
}

bool CDlgShow::GoToStart() {
    SettleSyncReposition();
    if (!Guarded()) return false;
    if (!m_bSync) {
        CPlayWnd* pSel = GetSelPlayWnd();
        if (pSel == nullptr) return false;
        pSel->GoToStart();
    }
    PostPlayStateChanged();
    return true;
}

bool CDlgShow::GoToEnd() {
    SettleSyncReposition();
    if (!Guarded()) return false;
    if (!m_bSync) {
        CPlayWnd* pSel = GetSelPlayWnd();
        if (pSel == nullptr) return false;
        pSel->GoToEnd();
    }
    PostPlayStateChanged();
    return true;
}

bool CDlgShow::SetFramePos(uint32_t nFrame) {
    SettleSyncReposition();
    CPlayWnd* pSel = GetSelPlayWnd();
    if (m_bSync || pSel == nullptr) return false;
    pSel->SetFramePos(nFrame);
    PostPlayStateChanged();
    return true;
}

bool CDlgShow::SetTimePos(uint32_t nSeconds) {
    SettleSyncReposition();
    CPlayWnd* pSel = GetSelPlayWnd();
    if (m_bSync || pSel == nullptr) return false;
    pSel->SetTimePos(nSeconds);
    PostPlayStateChanged();
    return true;
}

bool CDlgShow::OpenAndPlay(const QString& strPath, std::function<void(CPlayWnd*)> fnPlaying) {
    SettleSyncReposition();
    CPlayWnd* pSel = GetSelPlayWnd();
    if (m_bSync || pSel == nullptr) return false;
    // The pane is this container's child: it and the container outlive the answer.
    pSel->OpenInBackground(strPath, [this, pSel, fnPlaying = std::move(fnPlaying)](bool) {
        pSel->PlayNotSync();
        if (fnPlaying) fnPlaying(pSel);
        PostPlayStateChanged();
    });
    PostPlayStateChanged();
    return true;
}

int32_t CDlgShow::Capture(int32_t nImageType, const QString& strFolder) {
    CPlayWnd* pSel = GetSelPlayWnd();
    if (pSel == nullptr) return CPlayWnd::CAPTURE_FAIL;
    const int32_t nResult = pSel->Capture(nImageType, strFolder);
    PostPlayStateChanged();
    return nResult;
}

int32_t CDlgShow::ContinuousCapture(bool bOn, int32_t nImageType, const QString& strFolder) {
    CPlayWnd* pSel = GetSelPlayWnd();
    if (pSel == nullptr) return 0;
    const int32_t nResult = pSel->ContinuousCapture(bOn, nImageType, strFolder);
    PostPlayStateChanged();
    return nResult;
}

PlayState CDlgShow::GetSelState() const {
    if (!m_bSync) {
        const CPlayWnd* pSel = GetSelPlayWnd();
        return pSel != nullptr ? pSel->GetPlayState() : PLAY_STATE_IDLE;
    }
    if (m_nLayout == 0) return PLAY_STATE_STOPPED;
    bool bAnyPaused = false;
    bool bAnyPlaying = false;
    ForEachPaneInLayout([&](int32_t, CPlayWnd* pPane) {
        bAnyPlaying |= pPane->GetPlayState() == PLAY_STATE_PLAYING;
        bAnyPaused |= pPane->GetPlayState() == PLAY_STATE_PAUSED;
    });
    if (bAnyPlaying) return PLAY_STATE_PLAYING;
    return bAnyPaused ? PLAY_STATE_PAUSED : PLAY_STATE_STOPPED;
}
