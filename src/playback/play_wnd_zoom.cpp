// Partial enlargement: the shown part of the picture, its drag and its wheel.

#include <QMouseEvent>
#include <QWheelEvent>

#include "common/debug_log.h"
#include "playback/dlg_show.h"
#include "playback/engine_api.h"
#include "playback/play_wnd.h"
#include "playback/render_wnd.h"
#include "playback/zoom_region.h"

bool CPlayWnd::IsZoomOn() const {
    std::lock_guard lock(m_zoomMutex);
    return m_bZoom;
}

int32_t CPlayWnd::GetZoomPercent() const {
    std::lock_guard lock(m_zoomMutex);
    return m_nZoom;
}

bool CPlayWnd::EnableZoom(bool bOn) {
    const PlayState eState = GetPlayState();
    if (!IsPlayingOrPaused(eState)) return false;
    if (bOn == IsZoomOn()) return false;
    int32_t nWidth = 0;
    int32_t nHeight = 0;
    if (!GetImageSize(&nWidth, &nHeight)) return false;
    {
        std::lock_guard lock(m_zoomMutex);
        m_nZoomPicWidth = nWidth;
        m_nZoomPicHeight = nHeight;
        m_nZoomCx = nWidth / 2;
        m_nZoomCy = nHeight / 2;
        m_nZoom = ZOOM_PERCENT_MIN;
    }
    SetDisplayRegion();
    std::lock_guard lock(m_zoomMutex);
    m_bZoom = bOn;
    return true;
}

// Runs on the user-interface thread and, after a resolution change, on the
// engine's display thread; the zoom fields are read and written under the lock.
bool CPlayWnd::SetDisplayRegion() {
    const int32_t lPort = m_lPort;
    if (lPort < 0) return false;
    int32_t nWidth = 0;
    int32_t nHeight = 0;
    if (!Engine().GetPictureSize(lPort, &nWidth, &nHeight)) {
        DebugLog("GetImageSize fail 2");
        return false;
    }
    ZoomRegion region;
    {
        std::lock_guard lock(m_zoomMutex);
        region = ComputeZoomRegion(nWidth, nHeight, m_nZoomCx, m_nZoomCy, m_nZoom);
        m_nZoomCx = region.cx;
        m_nZoomCy = region.cy;
    }
    if (!Engine().SetDisplayRegion(lPort, 0, &region.rect, m_pRenderWnd->EngineWindow(), 1)) {
        DebugLog("SetDisplayRegion() Fail, Vemor_GetLastError()=%d", Engine().GetLastError(lPort));
        return false;
    }
    Engine().RefreshPlayEx(lPort, 0);
    return true;
}

void CPlayWnd::mousePressEvent(QMouseEvent* pEvent) {
    if (pEvent->button() == Qt::LeftButton) {
        if (m_pDlgShow != nullptr) m_pDlgShow->SelectPane(this);
        if (IsZoomOn()) {
            setCursor(Qt::ClosedHandCursor);
            m_nLastMouseX = pEvent->position().toPoint().x();
            m_nLastMouseY = pEvent->position().toPoint().y();
            m_bDragging = true;
        }
    }
    QWidget::mousePressEvent(pEvent);
}

void CPlayWnd::mouseMoveEvent(QMouseEvent* pEvent) {
    const PlayState eState = GetPlayState();
    if ((pEvent->buttons() & Qt::LeftButton) && m_bDragging && IsZoomOn() &&
        IsPlayingOrPaused(eState)) {
        setCursor(Qt::ClosedHandCursor);
        const QPoint pt = pEvent->position().toPoint();
        {
            // Window pixels are taken as picture pixels: a drag moves the region
            // as far as the mouse moved, whatever the scale.
            std::lock_guard lock(m_zoomMutex);
            m_nZoomCx += m_nLastMouseX - pt.x();
            m_nZoomCy += m_nLastMouseY - pt.y();
        }
        SetDisplayRegion();
        m_nLastMouseX = pt.x();
        m_nLastMouseY = pt.y();
    }
    QWidget::mouseMoveEvent(pEvent);
}

void CPlayWnd::mouseReleaseEvent(QMouseEvent* pEvent) {
    if (pEvent->button() == Qt::LeftButton) {
        m_bDragging = false;
        unsetCursor();
    }
    QWidget::mouseReleaseEvent(pEvent);
}

void CPlayWnd::wheelEvent(QWheelEvent* pEvent) {
    const PlayState eState = GetPlayState();
    if (IsPlayingOrPaused(eState) && IsZoomOn()) {
        {
            std::lock_guard lock(m_zoomMutex);
            if (pEvent->angleDelta().y() > 0) {
                if (m_nZoom < ZOOM_PERCENT_MAX) m_nZoom += ZOOM_WHEEL_STEP;
            } else if (m_nZoom > ZOOM_PERCENT_MIN) {
                m_nZoom -= ZOOM_WHEEL_STEP;
            }
        }
        SetDisplayRegion();
    }
    QWidget::wheelEvent(pEvent);
}
