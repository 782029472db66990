#include "controls/progress_fill.h"

#include <algorithm>
#include <cmath>

namespace {
int Fraction(int nPos, int nMin, int nMax, int nWhole) {
    if (nMax <= nMin || nWhole <= 0) return 0;
    const double dFilled = (double(nPos) - nMin) * nWhole / (double(nMax) - nMin);
    return static_cast<int>(std::clamp(std::trunc(dFilled), 0.0, double(nWhole)));
}
}  // namespace

int ProgressFillWidth(int nPos, int nMin, int nMax, int nWidth) {
    return Fraction(nPos, nMin, nMax, nWidth);
}

int ProgressPercent(int nPos, int nMin, int nMax) { return Fraction(nPos, nMin, nMax, 100); }
