// Drawing of CBitmapSlider. Qt's backing store already buffers the widget, so
// every paint draws the whole control: channel first, then the thumb.

#include <QPainter>

#include "controls/bitmap_slider.h"

namespace {

// Channel pictures are drawn column for column; a picture of another size than
// the control (the layout may widen it) is first stretched to the control.
QPixmap FitTo(const QPixmap& picture, const QSize& size) {
    if (picture.isNull() || picture.size() == size) return picture;
    return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace

void CBitmapSlider::PaintChannel(QPainter& painter, int nThumbCentre) {
    const QRect client = rect();
    const bool bActive = !m_channelActive.isNull() && isEnabled();

    if (m_bThreePiece) {
        const int nLeftW = m_pieceLeft.width();
        const int nRightW = m_pieceRight.width();
        painter.drawPixmap(0, (height() - m_pieceLeft.height()) / 2, m_pieceLeft);
        painter.drawPixmap(width() - nRightW, (height() - m_pieceRight.height()) / 2, m_pieceRight);
        painter.drawPixmap(QRect(nLeftW, 0, std::max(0, width() - nLeftW - nRightW), height()),
                           m_pieceMiddle);
        if (bActive && nThumbCentre > 2) {
            painter.drawPixmap(QRect(2, 1, nThumbCentre - 2, m_channelActive.height()),
                               m_channelActive);
        }
        return;
    }
    if (m_channel.isNull()) return;

    const QPixmap channel = FitTo(m_channel, client.size());
    if (!bActive) {
        painter.drawPixmap(0, 0, channel);
        return;
    }
    const QPixmap active = FitTo(m_channelActive, client.size());
    QRect before;
    QRect after;
    if (m_bVertical) {
        before = QRect(0, 0, width(), nThumbCentre);
        after = QRect(0, nThumbCentre, width(), height() - nThumbCentre);
    } else {
        before = QRect(0, 0, nThumbCentre, height());
        after = QRect(nThumbCentre, 0, width() - nThumbCentre, height());
    }
    painter.drawPixmap(after, channel, after);
    painter.drawPixmap(before, active, before);
}

void CBitmapSlider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int nCentre = SliderPosToPixel(Track(), m_nPos);
    PaintChannel(painter, nCentre);

    if (m_thumb.isNull() || !isEnabled()) return;
    const QPixmap& thumb = m_bDragging && !m_thumbActive.isNull() ? m_thumbActive : m_thumb;
    const QPoint topLeft = m_bVertical ? QPoint(m_nMarginLeft, nCentre - m_thumb.height() / 2)
                                       : QPoint(nCentre - m_thumb.width() / 2, m_nMarginTop);
    painter.drawPixmap(topLeft, thumb);
}
