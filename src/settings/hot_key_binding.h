#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Modifier flags of a stored binding. Shift and Alt are the other way round in the
// hot-key edit control, which converts when it reads or fills a binding.
inline constexpr uint16_t HOTKEY_MOD_ALT = 1;
inline constexpr uint16_t HOTKEY_MOD_CTRL = 2;
inline constexpr uint16_t HOTKEY_MOD_SHIFT = 4;
// Set for keys the keyboard reports as extended (the arrows); key matching ignores it.
inline constexpr uint16_t HOTKEY_MOD_EXT = 8;

// The order is the order of the hot-key table, of key dispatch and of the rows of
// the hot-key settings page.
enum class HotKeyAction : int {
    PlayOrPause = 0,
    Stop,
    FrameBackward,
    FrameForward,
    VolumeUp,
    VolumeDown,
    GotoStart,
    GotoEnd,
    AddFiles,
};

inline constexpr size_t HOTKEY_ACTION_COUNT = 9;

// One action's key: a virtual-key code (32 Space, 37..40 arrows, 65..90 letters;
// 0 = no key) and HOTKEY_MOD_* flags.
struct HotKeyBinding {
    uint16_t wVirtualKey = 0;
    uint16_t wModifiers = 0;

    // The settings file's form: (modifiers << 16) | virtual key as a signed 32-bit number.
    int32_t ToStoredValue() const;
    static HotKeyBinding FromStoredValue(int32_t nValue);

    friend bool operator==(const HotKeyBinding&, const HotKeyBinding&) = default;
};

using HotKeyTable = std::array<HotKeyBinding, HOTKEY_ACTION_COUNT>;

// Element name of the action in the settings file's "HotKeys" section.
const char* HotKeyActionName(HotKeyAction eAction);

HotKeyTable DefaultHotKeyTable();
