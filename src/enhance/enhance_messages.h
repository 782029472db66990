#pragma once

#include <QEvent>

// The video enhancement panel asks its owner to hide it.
inline constexpr QEvent::Type ORLIN_MSG_ENHANCE_CLOSED = static_cast<QEvent::Type>(1226);
