#pragma once

#include <cstdint>

// Moves a port to the first or the last picture of its file. A failure is
// logged under `szCaller` with the engine's error and returns false.
bool MovePortToStart(int32_t lPort, const char* szCaller);
bool MovePortToEnd(int32_t lPort, const char* szCaller);
