#include "mainwnd/hot_key_match.h"

#include <cstddef>

uint16_t PressedModifiers(bool bCtrl, bool bShift, bool bAlt) {
    uint16_t wModifiers = 0;
    if (bCtrl) wModifiers |= HOTKEY_MOD_CTRL;
    if (bShift) wModifiers |= HOTKEY_MOD_SHIFT;
    if (bAlt) wModifiers |= HOTKEY_MOD_ALT;
    return wModifiers;
}

uint16_t ComparableModifiers(uint16_t wStored) {
    return wStored >= HOTKEY_MOD_EXT ? static_cast<uint16_t>(wStored - HOTKEY_MOD_EXT) : wStored;
}

int MatchHotKey(const HotKeyTable& table, uint16_t wVirtualKey, uint16_t wPressedModifiers) {
    for (size_t i = 0; i < table.size(); ++i) {
        if (table[i].wVirtualKey == wVirtualKey &&
            ComparableModifiers(table[i].wModifiers) == wPressedModifiers) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool HotKeyActionAllowed(HotKeyAction eAction, bool bSync, PlayState eState) {
    const bool bPlayable = IsPlayingOrPaused(eState);
    switch (eAction) {
        case HotKeyAction::FrameBackward:
        case HotKeyAction::FrameForward:
            return !bSync;
        case HotKeyAction::GotoStart:
        case HotKeyAction::GotoEnd:
            return !bSync && bPlayable;
        default:
            return true;
    }
}
