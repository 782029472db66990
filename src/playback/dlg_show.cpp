#include "playback/dlg_show.h"

#include <QKeyEvent>
#include <QPalette>

#include "common/debug_log.h"
#include "playback/engine_api.h"
#include "playback/main_window_link.h"
#include "playback/orlin_messages.h"
#include "playback/play_wnd.h"

namespace {
const QColor kBackgroundColour(125, 125, 116);

bool IsPlayingOrPaused(PlayState eState) {
    return eState == PLAY_STATE_PLAYING || eState == PLAY_STATE_PAUSED;
}
}  // namespace

CDlgShow::CDlgShow(QWidget* pParent) : QWidget(pParent) {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kBackgroundColour);
    setPalette(pal);
    setAutoFillBackground(true);
    m_pPlayWnd[0] = new CPlayWnd(0, false, this, this);
    m_pPlayWnd[0]->hide();
}

CDlgShow::~CDlgShow() {
    // Panes free their engine ports as they go; they must go before the main
    // window they post to.
    for (CPlayWnd*& pPane : m_pPlayWnd) {
        delete pPane;
        pPane = nullptr;
    }
}

void CDlgShow::SetMainWnd(IMainWindowLink* pMainWnd) {
    m_pMainWnd = pMainWnd;
    for (CPlayWnd* pPane : m_pPlayWnd) {
        if (pPane != nullptr) pPane->SetMainWnd(pMainWnd);
    }
}

CPlayWnd* CDlgShow::GetPlayWnd(int32_t nIndex) const {
    if (nIndex < 0 || nIndex >= MAX_PANES) return nullptr;
    return m_pPlayWnd[nIndex];
}

bool CDlgShow::IsSyncActive(int32_t nIndex) const {
    return nIndex >= 0 && nIndex < MAX_PANES && m_bySyncActive[nIndex] != 0;
}

void CDlgShow::SetSyncActive(int32_t nIndex, bool bActive) {
    if (nIndex >= 0 && nIndex < MAX_PANES) m_bySyncActive[nIndex] = bActive ? 1 : 0;
}

void CDlgShow::SetSyncMode(bool bSync) {
    if (bSync == m_bSync) return;
    CloseAllPanes();
    m_bSync = bSync;
    m_bySyncActive.fill(0);
    for (CPlayWnd* pPane : m_pPlayWnd) {
        if (pPane != nullptr) pPane->SetSync(bSync);
    }
}

bool CDlgShow::SetDrawMode(bool bPlainDraw) {
    if (bPlainDraw == m_bDrawMode) return true;
    for (CPlayWnd* pPane : m_pPlayWnd) {
        if (pPane != nullptr) pPane->ApplyDrawMode(bPlainDraw);
    }
    m_bDrawMode = bPlainDraw;
    return true;
}

template <typename Fn>
void CDlgShow::ForEachPaneInLayout(Fn fn) const {
    for (int32_t i = 0; i < m_nLayout && i < MAX_PANES; ++i) {
        if (m_pPlayWnd[i] != nullptr) fn(i, m_pPlayWnd[i]);
    }
}

bool CDlgShow::Guarded() const { return m_nLayout >= 1 && m_nLayout <= MAX_PANES && m_pMainWnd; }

void CDlgShow::PostPlayStateChanged() const {
    if (m_pMainWnd != nullptr) {
        PostOrlinMessage(m_pMainWnd->MessageReceiver(), ORLIN_MSG_PLAY_STATE_CHANGED);
    }
}

void CDlgShow::SelectPane(CPlayWnd* pPane) {
    for (int32_t i = 0; i < m_nLayout && i < MAX_PANES; ++i) {
        if (m_pPlayWnd[i] != nullptr && m_pPlayWnd[i] == pPane) {
            m_nSelIndex = i;
            PostPlayStateChanged();
            break;
        }
    }
    RefreshSelection();
}

void CDlgShow::SelectPaneByIndex(int32_t nIndex) {
    if (nIndex < 0 || nIndex >= m_nLayout) return;
    m_nSelIndex = nIndex;
    PostPlayStateChanged();
    RefreshSelection();
}

void CDlgShow::StopSoundShare(CPlayWnd* pPane) const {
    const int32_t lPort = pPane->GetPort();
    if (lPort >= 0 && !Engine().StopSoundShare(lPort)) {
        DebugLog("CPlayWnd::SetVolume() Vemor_StopSoundShare Fail dwErr=%d",
                 Engine().GetLastError(lPort));
    }
}

void CDlgShow::RefreshSelection() {
    ForEachPaneInLayout([](int32_t, CPlayWnd* pPane) { pPane->update(); });
    for (CPlayWnd* pPane : m_pPlayWnd) {
        if (pPane != nullptr) StopSoundShare(pPane);
    }
    CPlayWnd* pSel = GetSelPlayWnd();
    if (pSel == nullptr) return;
    if (m_pMainWnd != nullptr && m_pMainWnd->IsSoundOn()) {
        pSel->SetVolume(true, m_pMainWnd->GetVolume());
    } else {
        StopSoundShare(pSel);
    }
    pSel->setFocus();
}

void CDlgShow::ToggleEnlarged() {
    m_bEnlarged = !m_bEnlarged;
    Relayout();
}

void CDlgShow::resizeEvent(QResizeEvent* pEvent) {
    QWidget::resizeEvent(pEvent);
    Relayout();
}

void CDlgShow::Relayout() {
    for (CPlayWnd* pPane : m_pPlayWnd) {
        if (pPane != nullptr) pPane->hide();
    }
    // One pane, or the enlarged selected pane, covers the whole area.
    CPlayWnd* pShown = (m_nLayout == 1) ? m_pPlayWnd[0] : (m_bEnlarged ? GetSelPlayWnd() : nullptr);
    if (pShown == nullptr) return;
    pShown->setGeometry(0, 0, width(), height());
    pShown->show();
}

void CDlgShow::keyPressEvent(QKeyEvent* pEvent) {
    // Space, Escape and F1 would trigger the dialog's own handling; they are swallowed.
    switch (pEvent->key()) {
        case Qt::Key_Space:
        case Qt::Key_Escape:
        case Qt::Key_F1:
            pEvent->accept();
            return;
        default:
            QWidget::keyPressEvent(pEvent);
    }
}

bool CDlgShow::PlayPause() {
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
    CPlayWnd* pSel = GetSelPlayWnd();
    if (m_bSync || pSel == nullptr) return false;
    pSel->FrameForward(false);
    PostPlayStateChanged();
    return true;
}

bool CDlgShow::BackPlay(bool bOn) {
    CPlayWnd* pSel = GetSelPlayWnd();
    if (m_bSync || pSel == nullptr) return false;
    const bool bDone = pSel->BackPlay(bOn);
    PostPlayStateChanged();
    return bDone;
}

bool CDlgShow::GoToStart() {
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
    CPlayWnd* pSel = GetSelPlayWnd();
    if (m_bSync || pSel == nullptr) return false;
    pSel->SetFramePos(nFrame);
    PostPlayStateChanged();
    return true;
}

bool CDlgShow::SetTimePos(uint32_t nSeconds) {
    CPlayWnd* pSel = GetSelPlayWnd();
    if (m_bSync || pSel == nullptr) return false;
    pSel->SetTimePos(nSeconds);
    PostPlayStateChanged();
    return true;
}

bool CDlgShow::OpenAndPlay(const QString& strPath) {
    CPlayWnd* pSel = GetSelPlayWnd();
    if (m_bSync || pSel == nullptr) return false;
    pSel->Open(strPath);
    pSel->PlayNotSync();
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

void CDlgShow::SetVolume(int32_t nVolume, bool bOn) {
    if (bOn) {
        if (CPlayWnd* pSel = GetSelPlayWnd()) pSel->SetVolume(true, nVolume);
        return;
    }
    for (CPlayWnd* pPane : m_pPlayWnd) {
        if (pPane != nullptr) StopSoundShare(pPane);
    }
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

void CDlgShow::CloseAllPanes() {
    for (CPlayWnd* pPane : m_pPlayWnd) {
        if (pPane != nullptr && pPane->GetPlayState() != PLAY_STATE_IDLE) {
            pPane->Reset();
            pPane->Close();
        }
    }
}
