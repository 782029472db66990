#pragma once

#include <QEvent>

// The bitmap slider's notifications to its parent, posted as events whose type
// is the message number.
// The thumb moved under the mouse (while dragging or after a click beside it).
inline constexpr QEvent::Type ORLIN_MSG_SLIDER_MOVING = static_cast<QEvent::Type>(10449);
// The mouse button was released, or a key moved the thumb.
inline constexpr QEvent::Type ORLIN_MSG_SLIDER_RELEASED = static_cast<QEvent::Type>(10450);

class SliderMovedEvent : public QEvent {
public:
    SliderMovedEvent(QEvent::Type eType, int nControlId, int nPos)
        : QEvent(eType), m_nControlId(nControlId), m_nPos(nPos) {}

    int ControlId() const { return m_nControlId; }
    int Position() const { return m_nPos; }

private:
    int m_nControlId;
    int m_nPos;
};
