#include "playback/render_wnd.h"

#include <QMetaObject>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
#include <cstring>

#include "common/debug_log.h"
#include "controls/skin_picture.h"
#include "playback/process_uptime.h"

namespace {
constexpr const char* kIdleImagePath = ":/bitmaps/144.png";
// Logged once per process: how long start-up took to put a picture on screen.
std::atomic<bool> g_bFirstPictureLogged{false};
}  // namespace

// What the engine is handed as the window: it draws through the gate, and a
// detached gate lets nothing through, so a port that is still closing can
// neither draw into a pane that shows another file nor into one destroyed.
struct CRenderWnd::EngineWindowGate {
    explicit EngineWindowGate(CRenderWnd* pWnd) : pWnd(pWnd) {
        window.user = this;
        window.get_size = &CRenderWnd::GetSizeThunk;
        window.present = &CRenderWnd::PresentThunk;
        window.post_message = nullptr;
    }
    void Detach() {
        std::lock_guard lock(mutex);
        pWnd = nullptr;
    }

    VemorRenderWindow window{};
    std::mutex mutex;
    CRenderWnd* pWnd;
};

CRenderWnd::CRenderWnd(QWidget* pParent)
    : QWidget(pParent), m_pEngineWindow(std::make_shared<EngineWindowGate>(this)) {
    setObjectName(QStringLiteral("render%1").arg(CTRL_ID));
    // The pane handles the mouse (selection, zoom drag); the picture is passive.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

CRenderWnd::~CRenderWnd() { m_pEngineWindow->Detach(); }

VemorRenderWindow* CRenderWnd::EngineWindow() { return &m_pEngineWindow->window; }

std::shared_ptr<void> CRenderWnd::DetachEngine() {
    std::shared_ptr<EngineWindowGate> pOld = m_pEngineWindow;
    pOld->Detach();
    m_pEngineWindow = std::make_shared<EngineWindowGate>(this);
    return pOld;
}

int32_t CRenderWnd::GetSizeThunk(void* pUser, int32_t* pWidth, int32_t* pHeight) {
    auto* pGate = static_cast<EngineWindowGate*>(pUser);
    std::lock_guard lock(pGate->mutex);
    return pGate->pWnd != nullptr ? pGate->pWnd->GetSize(pWidth, pHeight) : 0;
}

int32_t CRenderWnd::GetSize(int32_t* pWidth, int32_t* pHeight) const {
    const int32_t nWidth = m_nWidth.load();
    const int32_t nHeight = m_nHeight.load();
    if (nWidth <= 0 || nHeight <= 0) return 0;
    *pWidth = nWidth;
    *pHeight = nHeight;
    return 1;
}

void CRenderWnd::PresentThunk(void* pUser, const uint8_t* pPixels, int32_t nWidth, int32_t nHeight,
                              int32_t nStride) {
    auto* pGate = static_cast<EngineWindowGate*>(pUser);
    std::lock_guard lock(pGate->mutex);
    if (pGate->pWnd != nullptr) pGate->pWnd->Present(pPixels, nWidth, nHeight, nStride);
}

void CRenderWnd::Present(const uint8_t* pPixels, int32_t nWidth, int32_t nHeight, int32_t nStride) {
    if (pPixels == nullptr || nWidth <= 0 || nHeight <= 0 || nStride < nWidth * 4) return;
    {
        // The picture is copied into the spare buffer and only the swap
        // happens under the lock the window's painting takes: a port thread
        // that loses its processor in the middle of a copy must not hold
        // the window's thread up with it. The spare is never shared: the
        // window paints the shown picture under the lock and copies it whole.
        std::lock_guard presentLock(m_presentMutex);
        if (m_imgSpare.width() != nWidth || m_imgSpare.height() != nHeight) {
            m_imgSpare = QImage(nWidth, nHeight, QImage::Format_RGB32);
        }
        for (int32_t y = 0; y < nHeight; ++y) {
            memcpy(m_imgSpare.scanLine(y), pPixels + size_t(y) * nStride, size_t(nWidth) * 4);
        }
        std::lock_guard lock(m_pictureMutex);
        std::swap(m_imgPicture, m_imgSpare);
    }
    ++m_nPresented;
    if (!m_bRepaintQueued.exchange(true)) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_bRepaintQueued = false;
                update();
            },
            Qt::QueuedConnection);
    }
}

void CRenderWnd::SetContent(Content eContent) {
    if (m_eContent == eContent) return;
    m_eContent = eContent;
    update();
}

void CRenderWnd::ClearPicture() {
    std::lock_guard lock(m_pictureMutex);
    m_imgPicture = QImage();
}

QImage CRenderWnd::LastPicture() const {
    std::lock_guard lock(m_pictureMutex);
    return m_imgPicture.copy();
}

void CRenderWnd::resizeEvent(QResizeEvent* pEvent) {
    const qreal dRatio = devicePixelRatioF();
    m_dRatio = dRatio;
    m_nWidth = qRound(pEvent->size().width() * dRatio);
    m_nHeight = qRound(pEvent->size().height() * dRatio);
    QWidget::resizeEvent(pEvent);
}

void CRenderWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (m_eContent == Content::IdleImage) {
        PaintIdleImage(painter);
        return;
    }
    if (m_eContent == Content::Busy) {
        PaintBusy(painter);
        return;
    }
    if (m_eContent != Content::Picture) return;
    std::lock_guard lock(m_pictureMutex);
    if (m_imgPicture.isNull()) return;
    // Until the engine renders at a new size the last picture is stretched.
    painter.drawImage(rect(), m_imgPicture);
    if (!g_bFirstPictureLogged.exchange(true)) {
        DebugLog("First picture on screen %lld ms after process start",
                 static_cast<long long>(ProcessUptimeMs()));
    }
}

void CRenderWnd::PaintIdleImage(QPainter& painter) {
    static const QPixmap idle = ResourcePicture(QString::fromLatin1(kIdleImagePath));
    if (idle.isNull()) return;
    const QSize size = PictureSize(idle);
    if (size.width() <= width() && size.height() <= height()) {
        painter.drawPixmap((width() - size.width()) / 2, (height() - size.height()) / 2, idle);
    } else {
        painter.drawPixmap(rect(), idle);
    }
}

void CRenderWnd::PaintBusy(QPainter& painter) {
    // Three grey dots in the middle: the file is being opened.
    const int nDot = std::max(2, std::min(width(), height()) / 40);
    const QPoint centre = rect().center();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(128, 128, 128));
    for (int i = -1; i <= 1; ++i) {
        painter.drawEllipse(centre + QPoint(i * nDot * 3, 0), nDot, nDot);
    }
}
