// The pane's engine callbacks. They run on the engine's threads: they only
// touch the pane's shared fields (atomics and the small locks), draw on the
// picture they are handed, re-issue the display region, and post messages.

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstring>

#include "common/debug_log.h"
#include "playback/dlg_show.h"
#include "playback/engine_api.h"
#include "playback/orlin_messages.h"
#include "playback/play_wnd.h"
#include "playback/render_wnd.h"
#include "playback/zoom_region.h"

namespace {
// Where the message text goes on the picture, in the pane's widget pixels.
const QRectF kMessageRect(10, 10, 1010, 40);
constexpr int kMessagePointSize = 10;
const QColor kMessageColour(255, 255, 0);  // opaque yellow
const QColor kMessageOutline(20, 20, 20);
constexpr qreal kMessageOutlineWidth = 3.0;

QFont MessageFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Arial.ttf"), QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(kMessagePointSize);
    font.setWeight(QFont::Normal);
    return font;
}

bool IsPictureFrame(int32_t nType) {
    return nType == VIDMUX_FRAME_VIDEO_UYVY || nType == VIDMUX_FRAME_VIDEO_YV12 ||
           nType == VIDMUX_FRAME_VIDEO_RGB32;
}
}  // namespace

void CPlayWnd::RegisterCallBacks() {
    const int32_t lPort = m_lPort;
    Engine().SetDisplayCallBackEx(lPort, &CPlayWnd::DisplayCallBack, this);
    ApplyDrawMode(m_pDlgShow == nullptr || m_pDlgShow->GetDrawMode());
    Engine().SetFileRefCallBack(lPort, &CPlayWnd::FileRefCallBack, this);
    Engine().SetCheckWatermarkCallBack(lPort, &CPlayWnd::WatermarkCallBack, this);
    Engine().SetDecCallBackExMend(lPort, &CPlayWnd::DecCallBack, nullptr, 0, this);
    Engine().SetFileEndCallback(lPort, &CPlayWnd::FileEndCallBack, this);
    Engine().SetEncTypeChangeCallBack(lPort, &CPlayWnd::EncTypeChangeCallBack, this);
}

void CPlayWnd::UnregisterCallBacks() {
    const int32_t lPort = m_lPort;
    if (lPort < 0) return;
    Engine().SetDisplayCallBackEx(lPort, nullptr, nullptr);
    Engine().RegisterDrawFun(lPort, nullptr, nullptr);
    Engine().RegisterIVSDrawFunCB(lPort, nullptr, nullptr);
    Engine().SetFileRefCallBack(lPort, nullptr, nullptr);
    Engine().SetCheckWatermarkCallBack(lPort, nullptr, nullptr);
    Engine().SetDecCallBackExMend(lPort, nullptr, nullptr, 0, nullptr);
    Engine().SetFileEndCallback(lPort, nullptr, nullptr);
    Engine().SetEncTypeChangeCallBack(lPort, nullptr, nullptr);
}

void CPlayWnd::ApplyDrawMode(bool bPlainDraw) {
    const int32_t lPort = m_lPort;
    if (lPort < 0) return;
    if (bPlainDraw) {
        Engine().RegisterIVSDrawFunCB(lPort, nullptr, nullptr);
        Engine().RegisterDrawFun(lPort, &CPlayWnd::DrawCallBack, this);
    } else {
        Engine().RegisterDrawFun(lPort, nullptr, nullptr);
        Engine().RegisterIVSDrawFunCB(lPort, &CPlayWnd::IVSDrawCallBack, this);
    }
}

void CPlayWnd::DisplayCallBack(const VemorDisplayInfo* pstDisplayInfo) {
    if (pstDisplayInfo == nullptr || pstDisplayInfo->nUser == nullptr) return;
    auto* pThis = static_cast<CPlayWnd*>(pstDisplayInfo->nUser);
    const int32_t nOldWidth = pThis->m_nDisplayWidth;
    const int32_t nOldHeight = pThis->m_nDisplayHeight;
    if (pstDisplayInfo->nWidth == nOldWidth && pstDisplayInfo->nHeight == nOldHeight) return;
    DebugLog(
        "CPlayWnd::DisplayCallBack() Resolution change pstDisplayInfo->nWidth=%d, "
        "pstDisplayInfo->nHeight=%d",
        pstDisplayInfo->nWidth, pstDisplayInfo->nHeight);
    bool bResetZoom = false;
    if (pstDisplayInfo->nWidth != nOldWidth && pstDisplayInfo->nHeight != nOldHeight) {
        std::lock_guard lock(pThis->m_zoomMutex);
        if (pThis->m_bZoom) {
            pThis->m_nZoom = ZOOM_PERCENT_MIN;
            bResetZoom = true;
        }
    }
    if (bResetZoom) pThis->SetDisplayRegion();
    pThis->m_nDisplayWidth = pstDisplayInfo->nWidth;
    pThis->m_nDisplayHeight = pstDisplayInfo->nHeight;
}

void CPlayWnd::DrawMessageText(VemorDrawContext* hDc) const {
    if (hDc == nullptr || hDc->pixels == nullptr || hDc->width <= 0 || hDc->height <= 0 ||
        hDc->stride < hDc->width * 4) {
        return;
    }
    QString strText;
    {
        std::lock_guard lock(m_messageMutex);
        strText = m_strMessage;
    }
    if (strText.isEmpty()) return;
    QImage image(hDc->pixels, hDc->width, hDc->height, hDc->stride, QImage::Format_RGB32);
    // The picture holds the pane's device pixels; the text keeps its size on a dense screen.
    if (m_pRenderWnd != nullptr) image.setDevicePixelRatio(m_pRenderWnd->RenderRatio());
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(kMessageRect);
    static const QFont font = MessageFont();
    // Yellow letters with a dark outline stay readable on white and on yellow.
    QPainterPath path;
    path.addText(kMessageRect.left(), kMessageRect.top() + QFontMetricsF(font).ascent(), font,
                 strText);
    painter.strokePath(path, QPen(kMessageOutline, kMessageOutlineWidth, Qt::SolidLine,
                                  Qt::RoundCap, Qt::RoundJoin));
    painter.fillPath(path, kMessageColour);
}

void CPlayWnd::DrawCallBack(int32_t, VemorDrawContext* hDc, void* pUser) {
    if (pUser != nullptr) static_cast<CPlayWnd*>(pUser)->DrawMessageText(hDc);
}

void CPlayWnd::IVSDrawCallBack(int32_t, VemorDrawContext* hDc, void*, int32_t, void* pUser) {
    if (pUser != nullptr) static_cast<CPlayWnd*>(pUser)->DrawMessageText(hDc);
}

void CPlayWnd::FileRefCallBack(int32_t nPort, void* pUser) {
    if (pUser == nullptr) return;
    auto* pThis = static_cast<CPlayWnd*>(pUser);
    pThis->m_bFileRefDone = true;
    pThis->PostPlayStateChanged();
    DebugLog("File Ref Created m_nSubWndIndex=%d m_lPort=%d", pThis->m_nSubWndIndex, nPort);
}

void CPlayWnd::WatermarkCallBack(int32_t, const uint8_t** ppWatermark, void* pUser) {
    if (pUser == nullptr || ppWatermark == nullptr || *ppWatermark == nullptr) return;
    auto* pThis = static_cast<CPlayWnd*>(pUser);
    // Two 32-bit values followed by 9 bytes.
    constexpr size_t kWatermarkBytes = 2 * sizeof(uint32_t) + 9;
    std::lock_guard lock(pThis->m_watermarkMutex);
    memcpy(pThis->m_byWatermark.data(), *ppWatermark, kWatermarkBytes);
}

void CPlayWnd::DecCallBack(int32_t, const uint8_t*, int32_t, const VemorFrameInfo* pFrameInfo,
                           void* pUser, int32_t) {
    if (pUser == nullptr || pFrameInfo == nullptr) return;
    if (IsPictureFrame(pFrameInfo->nType)) {
        static_cast<CPlayWnd*>(pUser)->m_nFrameRate = pFrameInfo->nFrameRate;
    }
}

void CPlayWnd::FileEndCallBack(int32_t, void* pUser) {
    if (pUser == nullptr) return;
    auto* pThis = static_cast<CPlayWnd*>(pUser);
    if (pThis->m_nPlayState != PLAY_STATE_PLAYING) return;
    // Handled on the user-interface thread; the cut panel check happens there too,
    // because widgets are not read from here.
    PostOrlinMessage(pThis, ORLIN_MSG_FILE_END);
}

void CPlayWnd::EncTypeChangeCallBack(int32_t, void*) {}
