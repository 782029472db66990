#include "playback/dlg_show.h"

#include <QKeyEvent>
#include <QPalette>

#include "common/debug_log.h"
#include "playback/engine_api.h"
#include "playback/main_window_link.h"
#include "playback/orlin_messages.h"
#include "playback/pane_layout.h"
#include "playback/play_wnd.h"
#include "playback/sync_repositioner.h"

namespace {
const QColor kBackgroundColour(125, 125, 116);

// Leaving the one-pane layout grows a smaller main window to its normal size.
constexpr int kMinMainWidth = 800;
constexpr int kMinMainHeight = 600;
}  // namespace

CDlgShow::CDlgShow(QWidget* pParent) : QWidget(pParent) {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kBackgroundColour);
    setPalette(pal);
    setAutoFillBackground(true);
    for (int32_t i = 0; i < MAX_PANES; ++i) {
        m_pPlayWnd[i] = new CPlayWnd(i, false, this, this);
        m_pPlayWnd[i]->hide();
    }
}

CDlgShow::~CDlgShow() {
    SettleSyncReposition();
    m_pSyncStart.reset();
    // Its answer is posted to this container.
    if (m_pSyncAnalysis) m_pSyncAnalysis->Wait();
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

bool CDlgShow::SetSyncMode(bool bSync) {
    SettleSyncReposition();
    if (bSync != m_bSync) {
        CloseAllPanes();
        m_bySyncActive.fill(0);
        m_vecSyncFiles.clear();
        m_stEarliestStart = m_stLatestEnd = EmptyFileTimeInfo();
    }
    m_bSync = bSync;
    for (CPlayWnd* pPane : m_pPlayWnd) {
        if (pPane != nullptr) pPane->SetSync(bSync);
    }
    PostPlayStateChanged();
    return true;
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
    if (GridSide(m_nLayout) == 0) return;
    for (CPlayWnd* pPane : m_pPlayWnd) {
        if (pPane != nullptr) pPane->hide();
    }
    for (const PanePlacement& place :
         LayoutPanes(m_nLayout, m_bEnlarged, m_nSelIndex, width(), height())) {
        CPlayWnd* pPane = m_pPlayWnd[place.nIndex];
        if (pPane == nullptr) continue;
        pPane->setGeometry(place.rect);
        pPane->show();
    }
}

bool CDlgShow::SetLayout(int32_t nLayout) {
    if (GridSide(nLayout) == 0 || nLayout == m_nLayout) return false;
    CloseAllPanes();
    if (m_nLayout == 1) {
        QWidget* pMain = window();
        if (pMain != this && (pMain->width() < kMinMainWidth || pMain->height() < kMinMainHeight)) {
            pMain->resize(kMinMainWidth, kMinMainHeight);
        }
    }
    if (m_nSelIndex + 1 > nLayout) m_nSelIndex = 0;
    m_nLayout = nLayout;
    // An enlarged pane belongs to the old grid; the new one shows all its panes.
    m_bEnlarged = false;
    Relayout();
    // The panes chose their look under the old layout.
    for (CPlayWnd* pPane : m_pPlayWnd) {
        if (pPane != nullptr) pPane->UpdateRenderContent();
    }
    PostPlayStateChanged();
    return true;
}

void CDlgShow::SelectPaneAtPoint(QPoint point) {
    const int32_t nIndex = PaneIndexAt(m_nLayout, width(), height(), point);
    if (nIndex >= 0) {
        m_nSelIndex = nIndex;
        PostPlayStateChanged();
    }
    RefreshSelection();
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

void CDlgShow::SetVolume(int32_t nVolume, bool bOn) {
    if (bOn) {
        if (CPlayWnd* pSel = GetSelPlayWnd()) pSel->SetVolume(true, nVolume);
        return;
    }
    for (CPlayWnd* pPane : m_pPlayWnd) {
        if (pPane != nullptr) StopSoundShare(pPane);
    }
}

void CDlgShow::CloseAllPanes() {
    SettleSyncReposition();
    AbandonSyncStart();
    for (CPlayWnd* pPane : m_pPlayWnd) {
        // A pane still opening is idle until its answer comes; closing it
        // gives the open up.
        if (pPane != nullptr && (pPane->IsOpening() || pPane->GetPlayState() != PLAY_STATE_IDLE)) {
            pPane->Reset();
            pPane->Close();
        }
    }
}
