#include "controls/bitmap_slider.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cstdint>

#include "common/debug_log.h"
#include "controls/skin_picture.h"
#include "controls/slider_moved_event.h"

CBitmapSlider::CBitmapSlider(int nControlId, QWidget* pParent)
    : QWidget(pParent), m_nControlId(nControlId) {
    setFocusPolicy(Qt::StrongFocus);
}

bool CBitmapSlider::SetBitmapChannel(const QPixmap& channel, const QPixmap& active) {
    if (channel.isNull()) {
        DebugLog("CBitmapSlider::SetBitmapChannel id=%d no channel picture", m_nControlId);
        return false;
    }
    m_channel = channel;
    m_channelActive = active;
    m_bThreePiece = false;
    resize(PictureSize(channel));
    update();
    return true;
}

bool CBitmapSlider::SetBitmapChannel(int nChannelId, int nActiveId) {
    const QPixmap channel = SkinPicture(nChannelId);
    const QPixmap active = SkinPicture(nActiveId);
    if (channel.isNull() || active.isNull()) return false;
    return SetBitmapChannel(channel, active);
}

bool CBitmapSlider::SetBitmapChannel(const QString& strChannel, const QString& strActive) {
    const QPixmap channel = SkinPicture(strChannel);
    const QPixmap active = SkinPicture(strActive);
    if (channel.isNull() || active.isNull()) return false;
    return SetBitmapChannel(channel, active);
}

bool CBitmapSlider::SetChannelPieces(const QPixmap& left, const QPixmap& middle,
                                     const QPixmap& right, const QPixmap& active) {
    if (left.isNull() || middle.isNull() || right.isNull()) {
        DebugLog("CBitmapSlider::SetChannelPieces id=%d missing piece", m_nControlId);
        return false;
    }
    m_pieceLeft = left;
    m_pieceMiddle = middle;
    m_pieceRight = right;
    m_channelActive = active;
    m_bThreePiece = true;
    resize(width(), PictureSize(middle).height());
    update();
    return true;
}

bool CBitmapSlider::SetBitmapThumb(const QPixmap& thumb, const QPixmap& active) {
    if (thumb.isNull()) {
        DebugLog("CBitmapSlider::SetBitmapThumb id=%d no thumb picture", m_nControlId);
        return false;
    }
    m_thumb = WithColourKeyMask(thumb);
    m_thumbActive = WithColourKeyMask(active);
    update();
    return true;
}

bool CBitmapSlider::SetBitmapThumb(int nThumbId, int nActiveId) {
    const QPixmap thumb = SkinPicture(nThumbId);
    const QPixmap active = SkinPicture(nActiveId);
    if (thumb.isNull() || active.isNull()) return false;
    return SetBitmapThumb(thumb, active);
}

bool CBitmapSlider::SetBitmapThumb(const QString& strThumb, const QString& strActive) {
    const QPixmap thumb = SkinPicture(strThumb);
    const QPixmap active = SkinPicture(strActive);
    if (thumb.isNull() || active.isNull()) return false;
    return SetBitmapThumb(thumb, active);
}

void CBitmapSlider::SetRange(int nMin, int nMax, bool bRedraw) {
    if (nMax < nMin) {
        DebugLog("CBitmapSlider::SetRange id=%d inverted range %d..%d", m_nControlId, nMin, nMax);
        nMax = nMin;
    }
    m_nMin = nMin;
    m_nMax = nMax;
    m_nPos = ClampSliderPos(m_nPos, m_nMin, m_nMax);
    if (bRedraw) update();
}

void CBitmapSlider::SetPos(int nPos) {
    m_nPos = ClampSliderPos(nPos, m_nMin, m_nMax);
    update();
}

void CBitmapSlider::SetMargin(int nLeft, int nTop, int nRight, int nBottom) {
    m_nMarginLeft = nLeft;
    m_nMarginTop = nTop;
    m_nMarginRight = nRight;
    m_nMarginBottom = nBottom;
    update();
}

void CBitmapSlider::SetVertical(bool bVertical) {
    m_bVertical = bVertical;
    update();
}

void CBitmapSlider::Enable(bool bEnable) { setEnabled(bEnable); }

QSize CBitmapSlider::sizeHint() const {
    if (!m_channel.isNull()) return PictureSize(m_channel);
    return m_thumb.isNull() ? QSize(100, 10) : PictureSize(m_thumb);
}

SliderTrack CBitmapSlider::Track() const {
    const QSize thumb = PictureSize(m_thumb);
    if (m_bVertical) {
        return {height(), thumb.height(), m_nMarginTop, m_nMarginBottom, m_nMin, m_nMax};
    }
    return {width(), thumb.width(), m_nMarginLeft, m_nMarginRight, m_nMin, m_nMax};
}

int CBitmapSlider::Along(const QPointF& point) const {
    return static_cast<int>(m_bVertical ? point.y() : point.x());
}

void CBitmapSlider::Notify(QEvent::Type eType) {
    QObject* pReceiver = m_pNotifyReceiver ? m_pNotifyReceiver.data() : parentWidget();
    if (pReceiver != nullptr) {
        QCoreApplication::postEvent(pReceiver, new SliderMovedEvent(eType, m_nControlId, m_nPos));
    }
}

void CBitmapSlider::mousePressEvent(QMouseEvent* pEvent) {
    if (pEvent->button() != Qt::LeftButton || !isEnabled()) {
        QWidget::mousePressEvent(pEvent);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    m_bDragging = true;
    const int nCursor = Along(pEvent->position());
    m_nDragOffset = SliderDragOffset(Track(), m_nPos, nCursor);
    DragTo(nCursor);
    update();  // the thumb takes its dragged look even when it did not move
}

void CBitmapSlider::mouseMoveEvent(QMouseEvent* pEvent) {
    if (m_bDragging) DragTo(Along(pEvent->position()));
}

void CBitmapSlider::DragTo(int nCursor) {
    const SliderTrack stTrack = Track();
    const int nPixel = ClampSliderPixel(stTrack, nCursor - m_nDragOffset);
    if (nPixel == SliderPosToPixel(stTrack, m_nPos)) return;
    m_nPos = SliderPixelToPos(stTrack, nPixel);
    update();
    Notify(ORLIN_MSG_SLIDER_MOVING);
}

void CBitmapSlider::mouseReleaseEvent(QMouseEvent* pEvent) {
    if (pEvent->button() != Qt::LeftButton || !m_bDragging) {
        QWidget::mouseReleaseEvent(pEvent);
        return;
    }
    m_bDragging = false;
    update();
    Notify(ORLIN_MSG_SLIDER_RELEASED);
}

void CBitmapSlider::keyPressEvent(QKeyEvent* pEvent) {
    // Arithmetic in 64 bits so that a page step at the ends of int cannot wrap.
    int64_t nNew = m_nPos;
    switch (pEvent->key()) {
        case Qt::Key_PageUp:
            nNew -= m_nPage;
            break;
        case Qt::Key_PageDown:
            nNew += m_nPage;
            break;
        case Qt::Key_End:
            nNew = m_nMax;
            break;
        case Qt::Key_Home:
            nNew = m_nMin;
            break;
        case Qt::Key_Left:
        case Qt::Key_Up:
            nNew -= 1;
            break;
        case Qt::Key_Right:
        case Qt::Key_Down:
            nNew += 1;
            break;
        default:
            QWidget::keyPressEvent(pEvent);
            return;
    }
    m_nPos = static_cast<int>(std::clamp<int64_t>(nNew, m_nMin, m_nMax));
    update();
    Notify(ORLIN_MSG_SLIDER_RELEASED);
}

void CBitmapSlider::focusInEvent(QFocusEvent* pEvent) {
    QWidget::focusInEvent(pEvent);
    update();
}

void CBitmapSlider::focusOutEvent(QFocusEvent* pEvent) {
    QWidget::focusOutEvent(pEvent);
    update();
}

void CBitmapSlider::changeEvent(QEvent* pEvent) {
    if (pEvent->type() == QEvent::EnabledChange) {
        if (!isEnabled()) m_bDragging = false;
        update();
    }
    QWidget::changeEvent(pEvent);
}
