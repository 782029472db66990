// Drawing of CBitmapSlider. Qt's backing store already buffers the widget, so
// every paint draws the whole control: channel first, then the thumb.

#include <QPainter>

#include "controls/bitmap_slider.h"
#include "controls/skin_picture.h"

namespace {

// Channel pictures are drawn column for column; a picture of another size than
// the control (the layout may widen it) is first stretched to the control, in
// the device pixels of the screen it is drawn on so that it stays sharp there.
QPixmap FitTo(const QPixmap& picture, const QSize& size, qreal dRatio) {
    if (picture.isNull() ||
        (PictureSize(picture) == size && qFuzzyCompare(picture.devicePixelRatio(), dRatio))) {
        return picture;
    }
    QPixmap fitted = picture.scaled((QSizeF(size) * dRatio).toSize(), Qt::IgnoreAspectRatio,
                                    Qt::SmoothTransformation);
    fitted.setDevicePixelRatio(dRatio);
    return fitted;
}

// The part of a fitted picture under `area`, in the picture's own pixels.
QRectF SourceOf(const QRect& area, const QPixmap& picture) {
    const qreal d = picture.devicePixelRatio();
    return {area.x() * d, area.y() * d, area.width() * d, area.height() * d};
}

}  // namespace

void CBitmapSlider::PaintChannel(QPainter& painter, int nThumbCentre) {
    const QRect client = rect();
    const bool bActive = !m_channelActive.isNull() && isEnabled();

    if (m_bThreePiece) {
        const QSize left = PictureSize(m_pieceLeft);
        const QSize right = PictureSize(m_pieceRight);
        const int nLeftW = left.width();
        const int nRightW = right.width();
        painter.drawPixmap(0, (height() - left.height()) / 2, m_pieceLeft);
        painter.drawPixmap(width() - nRightW, (height() - right.height()) / 2, m_pieceRight);
        painter.drawPixmap(QRect(nLeftW, 0, std::max(0, width() - nLeftW - nRightW), height()),
                           m_pieceMiddle);
        if (bActive && nThumbCentre > 2) {
            painter.drawPixmap(QRect(2, 1, nThumbCentre - 2, PictureSize(m_channelActive).height()),
                               m_channelActive);
        }
        return;
    }
    if (m_channel.isNull()) return;

    const qreal dRatio = painter.device()->devicePixelRatio();
    const QPixmap channel = FitTo(m_channel, client.size(), dRatio);
    if (!bActive) {
        painter.drawPixmap(0, 0, channel);
        return;
    }
    const QPixmap active = FitTo(m_channelActive, client.size(), dRatio);
    QRect before;
    QRect after;
    if (m_bVertical) {
        before = QRect(0, 0, width(), nThumbCentre);
        after = QRect(0, nThumbCentre, width(), height() - nThumbCentre);
    } else {
        before = QRect(0, 0, nThumbCentre, height());
        after = QRect(nThumbCentre, 0, width() - nThumbCentre, height());
    }
    painter.drawPixmap(QRectF(after), channel, SourceOf(after, channel));
    painter.drawPixmap(QRectF(before), active, SourceOf(before, active));
}

void CBitmapSlider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int nCentre = SliderPosToPixel(Track(), m_nPos);
    PaintChannel(painter, nCentre);

    if (m_thumb.isNull() || !isEnabled()) return;
    const QPixmap& thumb = m_bDragging && !m_thumbActive.isNull() ? m_thumbActive : m_thumb;
    const QSize size = PictureSize(m_thumb);
    const QPoint topLeft = m_bVertical ? QPoint(m_nMarginLeft, nCentre - size.height() / 2)
                                       : QPoint(nCentre - size.width() / 2, m_nMarginTop);
    painter.drawPixmap(topLeft, thumb);
}
