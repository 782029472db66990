#pragma once

#include <QEvent>

// Messages the main window receives besides the play-state, key, slider and
// playlist-drag messages declared with their senders.

// Sent by bar 1069; coalesced and otherwise ignored.
inline constexpr QEvent::Type ORLIN_MSG_BAR_1069 = static_cast<QEvent::Type>(1069);
// The video enhancement panel closes: ORLIN_MSG_ENHANCE_CLOSED.
#include "enhance/enhance_messages.h"
