#pragma once

#include <cstdint>

#include "playback/play_state.h"
#include "settings/hot_key_binding.h"

// Matching a key press against the user's hot-key table. Pure logic: the main
// window builds the inputs from the keyboard and runs the action it is given.

// Virtual-key code of Escape: it only ever leaves full screen and is never
// looked up in the table.
inline constexpr uint16_t VK_ESCAPE_KEY = 27;

// The modifier set of a key press in the table's encoding (Ctrl 2, Shift 4, Alt 1).
uint16_t PressedModifiers(bool bCtrl, bool bShift, bool bAlt);

// A stored modifier set as it takes part in a comparison: 8 or more has the
// extended-key flag 8 taken off, so an arrow stored as extended matches a plain press.
uint16_t ComparableModifiers(uint16_t wStored);

// Index of the first entry whose key and modifiers equal the press; -1 for none.
int MatchHotKey(const HotKeyTable& table, uint16_t wVirtualKey, uint16_t wPressedModifiers);

// Whether a matched action may run: the frame steps only outside synchronous
// mode, the jumps to start and end only outside it and while the file plays or pauses.
bool HotKeyActionAllowed(HotKeyAction eAction, bool bSync, PlayState eState);
