#pragma once

#include <cstdint>

#include "playback/main_window_link.h"

// The commands that choose the play order (menus 142, 294 and 308).
inline constexpr int32_t ID_SINGLE_PLAY = 32797;
inline constexpr int32_t ID_LIST_PLAY = 32798;
inline constexpr int32_t ID_SINGLE_REPEAT = 32820;
inline constexpr int32_t ID_LIST_REPEAT = 32799;

// The command that shows eOrder; 0 for a value that is no play order.
int32_t PlayOrderCommand(PlayOrder eOrder);
// The play order a command chooses; false for any other command.
bool PlayOrderFromCommand(int32_t nCommand, PlayOrder* pOrder);
