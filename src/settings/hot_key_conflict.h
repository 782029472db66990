#pragma once

#include <cstdint>
#include <utility>

#include "settings/hot_key_binding.h"

// The settings table stores Alt as 1 and Shift as 4; the hot-key field uses
// Shift 1 and Alt 4. Exchanging bits 1 and 4 when exactly one of them is set
// converts either way; Ctrl (2) and the extended flag (8) stay as they are.
uint16_t ExchangeAltShift(uint16_t wModifiers);

// The first pair of rows (a < b) with the same key and modifiers, or {-1, -1}.
// Two rows without a key count as such a pair.
std::pair<int, int> FindHotKeyConflict(const HotKeyTable& table);
