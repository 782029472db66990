#include "settings/hot_key_conflict.h"

#include <cstddef>

uint16_t ExchangeAltShift(uint16_t wModifiers) {
    const bool bAlt = wModifiers & HOTKEY_MOD_ALT;
    const bool bShift = wModifiers & HOTKEY_MOD_SHIFT;
    if (bAlt == bShift) return wModifiers;
    return static_cast<uint16_t>(wModifiers ^ (HOTKEY_MOD_ALT | HOTKEY_MOD_SHIFT));
}

std::pair<int, int> FindHotKeyConflict(const HotKeyTable& table) {
    for (size_t a = 0; a < table.size(); ++a) {
        for (size_t b = a + 1; b < table.size(); ++b) {
            if (table[a] == table[b]) return {static_cast<int>(a), static_cast<int>(b)};
        }
    }
    return {-1, -1};
}
