#pragma once

#include <QEvent>

// Private messages between the windows, posted as events whose type is the
// message number so that the numbers stay the ones every window agrees on.

// Play state changed; the main window refreshes its controls. No parameters.
inline constexpr QEvent::Type ORLIN_MSG_PLAY_STATE_CHANGED = static_cast<QEvent::Type>(10551);
// A key pressed while a pane or the ruler had the focus (CKeyMessageEvent).
inline constexpr QEvent::Type ORLIN_MSG_KEY_PRESSED = static_cast<QEvent::Type>(4401);
// The pane's file ended; posted by the engine's callback to the pane itself.
inline constexpr QEvent::Type ORLIN_MSG_FILE_END = static_cast<QEvent::Type>(4805);

// Posts a parameterless message; safe from any thread. A null receiver is ignored.
void PostOrlinMessage(QObject* pReceiver, QEvent::Type eType);
