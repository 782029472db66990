#pragma once

#include <QEvent>
#include <QPoint>

// Message 2486: playlist entries are being dragged; carries the cursor in
// screen coordinates. The receiver shows the drag preview there while the
// drag lasts and hides it otherwise.
inline constexpr QEvent::Type ORLIN_MSG_DRAG_LIST_ITEM = static_cast<QEvent::Type>(2486);

class CDragMoveEvent : public QEvent {
public:
    explicit CDragMoveEvent(QPoint ptScreen)
        : QEvent(ORLIN_MSG_DRAG_LIST_ITEM), m_ptScreen(ptScreen) {}
    QPoint ScreenPos() const { return m_ptScreen; }

private:
    QPoint m_ptScreen;
};
