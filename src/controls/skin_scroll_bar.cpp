#include "controls/skin_scroll_bar.h"

#include <QMouseEvent>
#include <QPainter>

#include "controls/skin_picture.h"

namespace {
constexpr int kSkinColumns = 9;
}  // namespace

CSkinScrollBar::CSkinScrollBar(Qt::Orientation eOrientation, QWidget* pParent)
    : QWidget(pParent), m_eOrientation(eOrientation) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool CSkinScrollBar::SetSkinBitmap(const QPixmap& skin) {
    if (skin.isNull() || PictureSize(skin).width() < kSkinColumns) return false;
    m_skin = skin;
    m_nCell = PictureSize(skin).width() / kSkinColumns;
    if (IsHorizontal()) {
        resize(width(), m_nCell);
    } else {
        resize(m_nCell, height());
    }
    update();
    return true;
}

void CSkinScrollBar::SetScrollInfo(const SkinScrollInfo& info, bool bRedraw) {
    m_info = info;
    if (bRedraw) update();
}

void CSkinScrollBar::SetScrollPos(int nPos, bool bRedraw) {
    m_info.nPos = nPos;
    if (bRedraw) update();
}

SkinScrollLayout CSkinScrollBar::Layout() const {
    return LayoutSkinScroll(m_nCell, IsHorizontal() ? width() : height(), m_info);
}

int CSkinScrollBar::Along(const QPoint& point) const {
    return IsHorizontal() ? point.x() : point.y();
}

QRect CSkinScrollBar::PartRect(SkinScrollPart ePart) const {
    const QPair<int, int> span = SkinScrollPartSpan(Layout(), ePart);
    const int nLength = std::max(0, span.second - span.first);
    return IsHorizontal() ? QRect(span.first, 0, nLength, height())
                          : QRect(0, span.first, width(), nLength);
}

int CSkinScrollBar::LookOf(SkinScrollPart ePart) const {
    if (ePart == m_ePressed && (m_bPressedInside || m_bDragging)) return LOOK_PRESSED;
    return ePart == m_eHot ? LOOK_HOT : LOOK_NORMAL;
}

void CSkinScrollBar::DrawPart(QPainter& painter, SkinScrollPart ePart, int nLook) const {
    const QRect target = PartRect(ePart);
    if (target.isEmpty() || m_skin.isNull()) return;
    // The skin's cells are laid out in widget pixels; the picture may hold more
    // device pixels for each.
    const qreal d = m_skin.devicePixelRatio();
    const QRect cell = SkinScrollCell(m_nCell, ePart, IsHorizontal(), nLook);
    const QRect source(QPoint(qRound(cell.x() * d), qRound(cell.y() * d)),
                       QSize(qRound(cell.width() * d), qRound(cell.height() * d)));
    if (ePart == SkinScrollPart::PageUp || ePart == SkinScrollPart::PageDown) {
        QPixmap tile = m_skin.copy(source);
        tile.setDevicePixelRatio(d);
        painter.drawTiledPixmap(target, tile);
    } else {
        // Copied when the part is one cell, stretched otherwise.
        painter.drawPixmap(QRectF(target), m_skin, QRectF(source));
    }
}

void CSkinScrollBar::paintEvent(QPaintEvent*) {
    // Drawn off screen and shown in one step.
    QPixmap buffer = WidgetBuffer(*this);
    buffer.fill(QColor(34, 35, 37));
    QPainter painter(&buffer);
    const bool bThumb = Layout().nThumbLength > 0;
    for (SkinScrollPart ePart : {SkinScrollPart::PageUp, SkinScrollPart::PageDown,
                                 SkinScrollPart::ArrowUp, SkinScrollPart::ArrowDown}) {
        DrawPart(painter, ePart,
                 ePart == SkinScrollPart::PageUp || ePart == SkinScrollPart::PageDown
                     ? LOOK_NORMAL
                     : LookOf(ePart));
    }
    if (bThumb && isEnabled())
        DrawPart(painter, SkinScrollPart::Thumb, LookOf(SkinScrollPart::Thumb));
    painter.end();
    QPainter(this).drawPixmap(0, 0, buffer);
}

void CSkinScrollBar::mousePressEvent(QMouseEvent* pEvent) {
    if (pEvent->button() != Qt::LeftButton) return;
    const SkinScrollLayout layout = Layout();
    const SkinScrollPart ePart = HitTestSkinScroll(layout, Along(pEvent->position().toPoint()));
    if (ePart == SkinScrollPart::None) return;
    m_ePressed = ePart;
    if (ePart == SkinScrollPart::Thumb) {
        m_bDragging = true;
        m_nDragStart = Along(pEvent->position().toPoint());
        m_nDragStartPos = m_info.nPos;
        m_info.nTrackPos = m_info.nPos;
        update();
        return;
    }
    m_bPressedInside = true;
    update();
    static constexpr int kCodes[] = {SCROLL_LINE_UP, SCROLL_PAGE_UP, 0, SCROLL_PAGE_DOWN,
                                     SCROLL_LINE_DOWN};
    emit Scrolled(kCodes[static_cast<int>(ePart)], m_info.nPos);
}

void CSkinScrollBar::mouseMoveEvent(QMouseEvent* pEvent) {
    const int nAlong = Along(pEvent->position().toPoint());
    if (m_bDragging) {
        const int nPos =
            SkinScrollDragPos(m_info, Layout(), m_nDragStartPos, nAlong - m_nDragStart);
        if (nPos != m_info.nTrackPos) {
            m_info.nTrackPos = nPos;
            update();
            emit Scrolled(SCROLL_THUMB_TRACK, nPos);
        }
        return;
    }
    const SkinScrollPart eUnder = HitTestSkinScroll(Layout(), nAlong);
    if (m_ePressed != SkinScrollPart::None) {
        const bool bInside = eUnder == m_ePressed;
        if (bInside != m_bPressedInside) {
            m_bPressedInside = bInside;
            update();
        }
        return;
    }
    if (eUnder != m_eHot) {
        m_eHot = eUnder;
        update();
    }
}

void CSkinScrollBar::mouseReleaseEvent(QMouseEvent* pEvent) {
    if (pEvent->button() != Qt::LeftButton) return;
    if (m_bDragging) {
        m_bDragging = false;
        const int nFinal = m_info.nTrackPos;
        emit Scrolled(SCROLL_THUMB_POSITION, nFinal);
        m_info.nTrackPos = -1;
    }
    m_ePressed = SkinScrollPart::None;
    m_bPressedInside = false;
    m_eHot = HitTestSkinScroll(Layout(), Along(pEvent->position().toPoint()));
    update();
}

void CSkinScrollBar::leaveEvent(QEvent*) {
    m_eHot = SkinScrollPart::None;
    update();
}
