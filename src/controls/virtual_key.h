#pragma once

#include <cstdint>

// Hot keys are stored as virtual-key codes (8 Backspace, 13 Enter, 27 Escape,
// 32 Space, 37..40 arrows, 48..57 digits, 65..90 letters, 112.. F1..) with the
// hot-key field's modifier flags below.
inline constexpr uint16_t HOTKEYF_SHIFT = 1;
inline constexpr uint16_t HOTKEYF_CONTROL = 2;
inline constexpr uint16_t HOTKEYF_ALT = 4;
inline constexpr uint16_t HOTKEYF_EXT = 8;  // arrows and the navigation block

// Virtual-key code of a Qt key (Qt::Key value); 0 when it has none.
uint16_t VirtualKeyFromQtKey(int nQtKey);
// The Qt key of a virtual-key code; 0 when there is none.
int QtKeyFromVirtualKey(uint16_t wVirtualKey);
// True for keys that keyboards report as extended (HOTKEYF_EXT).
bool IsExtendedVirtualKey(uint16_t wVirtualKey);
