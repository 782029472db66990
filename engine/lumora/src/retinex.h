#pragma once

#include <array>

#include "param_mapping.h"
#include "plane_filters.h"
#include "rgb_view.h"

namespace lumora {

// Multi-scale Retinex with colour restoration. Each pixel's log intensity
// is compared with the log of its surround, a Gaussian average at three
// sizes. The surrounds are smooth, so they are computed on a shrunk copy
// and interpolated; the output is spread around mid-grey by the statistics
// of the shrunk copy's result.
class Retinex {
public:
    Retinex();
    void Apply(const RgbView& picture, const RetinexValues& values);

private:
    std::array<FloatPlane, 3> m_small, m_surround;
    FloatPlane m_blur;
    BoxFilter m_box;
    RowUpsampler m_up;
    std::array<std::vector<float>, 3> m_rows;
    std::array<float, 256> m_log{};      // log(1 + v)
    std::array<float, 766> m_logMean{};  // log(1 + sum / 3)
};

}  // namespace lumora
