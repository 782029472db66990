#include "mainwnd/splitter_bar.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
const QColor kLineColour(60, 60, 60);
}  // namespace

CSplitterBar::CSplitterBar(QWidget* pParent, DragHandler onDrag)
    : QWidget(pParent), m_onDrag(std::move(onDrag)) {
    setCursor(Qt::SizeHorCursor);
}

void CSplitterBar::Place(const QRect& zone, int nLineWidth) {
    m_nLineWidth = nLineWidth;
    setGeometry(zone);
}

void CSplitterBar::SetActive(bool bActive) {
    m_bActive = bActive;
    setCursor(bActive ? Qt::SizeHorCursor : Qt::ArrowCursor);
}

void CSplitterBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(width() - m_nLineWidth, 0, m_nLineWidth, height(), kLineColour);
}

void CSplitterBar::mousePressEvent(QMouseEvent* pEvent) {
    if (!m_bActive || pEvent->button() != Qt::LeftButton) return;
    m_bDragging = true;
    m_nStartX = pEvent->globalPosition().toPoint().x();
}

void CSplitterBar::mouseMoveEvent(QMouseEvent* pEvent) {
    if (!m_bDragging) return;
    m_onDrag(pEvent->globalPosition().toPoint().x() - m_nStartX, false);
}

void CSplitterBar::mouseReleaseEvent(QMouseEvent* pEvent) {
    if (!m_bDragging || pEvent->button() != Qt::LeftButton) return;
    m_bDragging = false;
    m_onDrag(pEvent->globalPosition().toPoint().x() - m_nStartX, true);
}
