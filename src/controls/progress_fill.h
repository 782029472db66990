#pragma once

// Arithmetic of the text progress bar, apart from the widget.

// Width of the filled part: trunc((pos - min) / (max - min) * width), kept
// within [0, width]; 0 for an empty or inverted range.
int ProgressFillWidth(int nPos, int nMin, int nMax, int nWidth);

// The percentage the bar prints: trunc((pos - min) / (max - min) * 100) within
// [0, 100]; 0 for an empty or inverted range.
int ProgressPercent(int nPos, int nMin, int nMax);
