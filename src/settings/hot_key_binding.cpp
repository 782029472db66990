#include "settings/hot_key_binding.h"

namespace {

constexpr uint16_t VK_SPACE = 32;
constexpr uint16_t VK_LEFT = 37;
constexpr uint16_t VK_UP = 38;
constexpr uint16_t VK_RIGHT = 39;
constexpr uint16_t VK_DOWN = 40;

}  // namespace

int32_t HotKeyBinding::ToStoredValue() const {
    return static_cast<int32_t>((static_cast<uint32_t>(wModifiers) << 16) | wVirtualKey);
}

HotKeyBinding HotKeyBinding::FromStoredValue(int32_t nValue) {
    // The high half is taken with an arithmetic shift, so -1 gives 65535 / 65535.
    return HotKeyBinding{static_cast<uint16_t>(nValue & 0xFFFF),
                         static_cast<uint16_t>(nValue >> 16)};
}

const char* HotKeyActionName(HotKeyAction eAction) {
    switch (eAction) {
        case HotKeyAction::PlayOrPause:
            return "PlayOrPause";
        case HotKeyAction::Stop:
            return "Stop";
        case HotKeyAction::FrameBackward:
            return "FrameBackward";
        case HotKeyAction::FrameForward:
            return "FrameForward";
        case HotKeyAction::VolumeUp:
            return "VolumeUp";
        case HotKeyAction::VolumeDown:
            return "VolumeDown";
        case HotKeyAction::GotoStart:
            return "GotoStart";
        case HotKeyAction::GotoEnd:
            return "GotoEnd";
        case HotKeyAction::AddFiles:
            return "AddFiles";
    }
    return "";
}

HotKeyTable DefaultHotKeyTable() {
    return HotKeyTable{{
        {VK_SPACE, 0},
        {'S', HOTKEY_MOD_CTRL},
        {VK_LEFT, HOTKEY_MOD_EXT},
        {VK_RIGHT, HOTKEY_MOD_EXT},
        {VK_UP, HOTKEY_MOD_EXT},
        {VK_DOWN, HOTKEY_MOD_EXT},
        {VK_LEFT, HOTKEY_MOD_CTRL | HOTKEY_MOD_EXT},
        {VK_RIGHT, HOTKEY_MOD_CTRL | HOTKEY_MOD_EXT},
        {'O', HOTKEY_MOD_CTRL},
    }};
}
