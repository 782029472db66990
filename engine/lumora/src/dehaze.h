#pragma once

#include <array>

#include "param_mapping.h"
#include "plane_filters.h"
#include "rgb_view.h"

namespace lumora {

// Haze removal by the dark-channel prior. The transmission map is estimated
// on a shrunk copy of the picture and refined there with a guided filter;
// its linear coefficients are then interpolated up to full size, where the
// picture itself guides them (the fast guided filter), so the full-size
// work is a few operations per pixel.
class Dehaze {
public:
    void Apply(const RgbView& picture, const DehazeValues& values);
    void ResetHistory() { m_hasLight = false; }

private:
    void EstimateLight();
    void Refine(float strength);

    std::array<FloatPlane, 3> m_small;
    FloatPlane m_dark, m_guide, m_meanGuide, m_meanT, m_corr, m_var;
    BoxFilter m_box;
    RowUpsampler m_up;
    std::vector<float> m_rowA, m_rowB;
    std::array<float, 3> m_light{};
    bool m_hasLight = false;
    int m_patch = 1;
};

}  // namespace lumora
