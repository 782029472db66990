#pragma once

#include <cstdint>

// Selects one of the embedded language tables; the settings store it as `Language`.
// Codes 1, 2 and 6 are the values stored files have always used, so they never change.
using LanguageCode = int32_t;

inline constexpr LanguageCode LANGUAGE_CHINESE_SIMPLIFIED = 1;
inline constexpr LanguageCode LANGUAGE_ENGLISH = 2;
inline constexpr LanguageCode LANGUAGE_PORTUGUESE = 6;
