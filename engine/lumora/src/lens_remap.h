#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "param_mapping.h"

namespace lumora {

// Lens distortion correction and zoom through a table that gives, for each
// output pixel, where to read the source and the bilinear weights. The
// table is built when the plane size or the parameters change.
class LensRemap {
public:
    // Remaps one plane in place; `fill` is written where the source lies
    // outside the picture.
    void Apply(uint8_t* plane, int stride, int width, int height, const LensValues& values,
               uint8_t fill);

private:
    struct Entry {
        int32_t offset;  // y0 * width + x0 in the packed copy, -1 outside
        uint8_t wx, wy;  // weights of the right and lower neighbours, /256
        uint8_t dx, dy;  // 1 when that neighbour exists, 0 on the last column / row
    };
    void Build(int width, int height, const LensValues& values);

    std::vector<Entry> m_table;
    std::vector<uint8_t> m_copy;
    int m_width = 0, m_height = 0;
    LensValues m_values;
};

}  // namespace lumora
