#include "controls/skin_button.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "common/debug_log.h"
#include "controls/skin_picture.h"

namespace {
constexpr int kHoverCheckMs = 100;
constexpr qreal kDisabledOpacity = 0.35;
}  // namespace

CSkinButton::CSkinButton(QWidget* pParent) : QAbstractButton(pParent) {
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    m_hoverTimer.setInterval(kHoverCheckMs);
    connect(&m_hoverTimer, &QTimer::timeout, this, &CSkinButton::CheckHover);
}

bool CSkinButton::SetSkin(const QPixmap& pressed, const QPixmap& hover, const QPixmap& normal,
                          const QString& strToolTip) {
    if (pressed.isNull() || hover.isNull() || normal.isNull()) {
        DebugLog("CSkinButton::SetSkin missing picture, tip=%s", qUtf8Printable(strToolTip));
        return false;
    }
    m_pressed = pressed;
    m_hover = hover;
    m_normal = normal;
    SetToolTipText(strToolTip);
    resize(PictureSize(normal));
    m_bHover = false;
    update();
    return true;
}

bool CSkinButton::SetSkin(int nPressedId, int nHoverId, int nNormalId, const QString& strToolTip) {
    return SetSkin(SkinPicture(nPressedId), SkinPicture(nHoverId), SkinPicture(nNormalId),
                   strToolTip);
}

bool CSkinButton::SetSkin(const QString& strName, const QString& strToolTip) {
    const SkinButtonPictures set = SkinButtonSet(strName);
    return SetSkin(set.pressed, set.hover, set.normal, strToolTip);
}

void CSkinButton::SetToolTipText(const QString& strToolTip) { setToolTip(strToolTip); }

QSize CSkinButton::sizeHint() const {
    return m_normal.isNull() ? QSize(16, 16) : PictureSize(m_normal);
}

void CSkinButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!isEnabled()) {
        painter.setOpacity(kDisabledOpacity);
        painter.drawPixmap(0, 0, m_normal);
        return;
    }
    const QPixmap& picture = (isDown() || isChecked()) ? m_pressed : m_bHover ? m_hover : m_normal;
    painter.drawPixmap(0, 0, picture);
}

void CSkinButton::mouseMoveEvent(QMouseEvent* pEvent) {
    if (!m_bHover && !isDown() && rect().contains(pEvent->position().toPoint())) {
        m_bHover = true;
        m_hoverTimer.start();
        update();
    }
    QAbstractButton::mouseMoveEvent(pEvent);
}

void CSkinButton::mousePressEvent(QMouseEvent* pEvent) {
    m_bHover = false;
    QAbstractButton::mousePressEvent(pEvent);
}

void CSkinButton::CheckHover() {
    const bool bInside = rect().contains(mapFromGlobal(QCursor::pos()));
    if (bInside && isVisible()) {
        // Tooltips come up after one tick rather than Qt's longer default delay,
        // but never over a menu this button (or another) has opened.
        if (QApplication::activePopupWidget() != nullptr) {
            if (m_bTipShown) QToolTip::hideText();
            return;
        }
        if (!m_bTipShown && !toolTip().isEmpty()) {
            QToolTip::showText(QCursor::pos(), toolTip(), this, rect());
            m_bTipShown = true;
        }
        return;
    }
    m_hoverTimer.stop();
    m_bHover = false;
    m_bTipShown = false;
    update();
}

bool CSkinButton::event(QEvent* pEvent) {
    switch (pEvent->type()) {
        case QEvent::ToolTip:
            return true;  // shown by CheckHover
        case QEvent::EnabledChange:
        case QEvent::Hide:
            if (!isEnabled() || !isVisible()) {
                m_hoverTimer.stop();
                m_bHover = false;
                m_bTipShown = false;
            }
            break;
        default:
            break;
    }
    return QAbstractButton::event(pEvent);
}
