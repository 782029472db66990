#pragma once

// The player's own version, shown by the About box and `orlin --version`.
inline constexpr char ORLIN_VERSION[] = "6.2.0.1";
