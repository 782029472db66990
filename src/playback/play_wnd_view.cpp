// The pane as a window: its frame, what its render window shows, keys and
// the double click that enlarges it.

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "playback/dlg_show.h"
#include "playback/engine_api.h"
#include "playback/key_message_event.h"
#include "playback/main_window_link.h"
#include "playback/play_wnd.h"
#include "playback/render_wnd.h"

void CPlayWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const bool bSelected = IsSelectedPane();
    painter.setPen(bSelected ? QColor(0, 255, 0) : QColor(0, 0, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, width() - 1, height() - 1);
    const PlayState eState = GetPlayState();
    if (IsPlayingOrPaused(eState) && m_lPort >= 0) {
        Engine().RefreshPlay(m_lPort);
    }
}

void CPlayWnd::resizeEvent(QResizeEvent* pEvent) {
    m_pRenderWnd->setGeometry(1, 1, std::max(0, width() - 2), std::max(0, height() - 2));
    QWidget::resizeEvent(pEvent);
}

void CPlayWnd::UpdateRenderContent() {
    if (IsOpening()) {
        m_pRenderWnd->ClearPicture();
        m_pRenderWnd->SetContent(CRenderWnd::Content::Busy);
        m_pRenderWnd->update();
        return;
    }
    const PlayState eState = GetPlayState();
    if (IsPlayingOrPaused(eState)) {
        m_pRenderWnd->SetContent(CRenderWnd::Content::Picture);
        return;
    }
    // Nothing of the last file may linger behind the idle picture or the black.
    m_pRenderWnd->ClearPicture();
    const bool bOnlyPane =
        m_nSubWndIndex == 0 && (m_pDlgShow == nullptr || m_pDlgShow->GetLayout() == 1);
    if (eState == PLAY_STATE_IDLE && bOnlyPane) {
        m_pRenderWnd->SetContent(CRenderWnd::Content::IdleImage);
    } else {
        m_pRenderWnd->SetContent(CRenderWnd::Content::Black);
    }
    m_pRenderWnd->update();
}

void CPlayWnd::keyPressEvent(QKeyEvent* pEvent) {
    // Keys belong to the main window's hot-key dispatcher, not to the pane.
    QObject* pReceiver = m_pMessageReceiver.load();
    if (pReceiver != nullptr) {
        QCoreApplication::postEvent(pReceiver, new CKeyMessageEvent(*pEvent));
    }
    pEvent->accept();
}

void CPlayWnd::mouseDoubleClickEvent(QMouseEvent* pEvent) {
    if (m_pDlgShow == nullptr) return;
    const bool bOnlyPane = m_pDlgShow->GetLayout() == 1 && m_nSubWndIndex == 0;
    const bool bCutting = m_pMainWnd != nullptr && m_pMainWnd->IsCutPanelShown();
    if (!bOnlyPane && !bCutting) {
        m_pDlgShow->SelectPane(this);
        m_pDlgShow->ToggleEnlarged();
    }
    QWidget::mouseDoubleClickEvent(pEvent);
}
