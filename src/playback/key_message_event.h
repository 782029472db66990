#pragma once

#include <QEvent>
#include <QKeyEvent>

#include "playback/orlin_messages.h"

// Message 4401: a key press handed on unchanged to the main window's key
// dispatcher by the window that had the focus.
class CKeyMessageEvent : public QEvent {
public:
    explicit CKeyMessageEvent(const QKeyEvent& key)
        : QEvent(ORLIN_MSG_KEY_PRESSED),
          m_nKey(key.key()),
          m_modifiers(key.modifiers()),
          m_nNativeVirtualKey(key.nativeVirtualKey()),
          m_nNativeModifiers(key.nativeModifiers()),
          m_bAutoRepeat(key.isAutoRepeat()) {}

    int Key() const { return m_nKey; }
    Qt::KeyboardModifiers Modifiers() const { return m_modifiers; }
    quint32 NativeVirtualKey() const { return m_nNativeVirtualKey; }
    quint32 NativeModifiers() const { return m_nNativeModifiers; }
    bool IsAutoRepeat() const { return m_bAutoRepeat; }

private:
    int m_nKey;
    Qt::KeyboardModifiers m_modifiers;
    quint32 m_nNativeVirtualKey;
    quint32 m_nNativeModifiers;
    bool m_bAutoRepeat;
};
