#pragma once

#include <QEvent>

// Messages of the cut: the progress window's Cancel (8147, no value), and the
// work thread's progress (percent) and end (a CutMessage), posted to the panel.
inline constexpr QEvent::Type CUT_MSG_CANCEL = static_cast<QEvent::Type>(8147);
inline constexpr QEvent::Type CUT_MSG_PROGRESS = static_cast<QEvent::Type>(8148);
inline constexpr QEvent::Type CUT_MSG_DONE = static_cast<QEvent::Type>(8149);

// `nSerial` tells which cut sent it, so that a late message of an earlier
// cut is not taken for the current one.
class CCutValueEvent : public QEvent {
public:
    CCutValueEvent(QEvent::Type eType, int nValue, int nSerial)
        : QEvent(eType), m_nValue(nValue), m_nSerial(nSerial) {}
    int Value() const { return m_nValue; }
    int Serial() const { return m_nSerial; }

private:
    int m_nValue;
    int m_nSerial;
};
