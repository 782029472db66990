#pragma once

#include <QString>
#include <cstdint>

// How a speed level reads in the current language: "Playing" at normal
// speed, "Speed * 4" at level 2, "Speed / 2" at level -1. The pane's message
// and the main window's status line say the same.
QString SpeedText(int32_t nSpeedLevel);
