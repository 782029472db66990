#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "param_mapping.h"

namespace lumora {

// Unsharp mask on one 8-bit plane: the plane minus a blurred copy, scaled
// and added back wherever the difference exceeds the threshold.
class Sharpen {
public:
    void Apply(uint8_t* plane, int stride, int width, int height, const SharpenValues& values);

private:
    void BlurRows(const uint8_t* plane, int stride, int width, int height, int radius);
    void BlurColumns(int width, int height, int radius);

    std::vector<uint16_t> m_rows;  // row-blurred plane, 8.8 fixed point
    std::vector<uint8_t> m_blur;
    std::vector<uint32_t> m_column;
};

}  // namespace lumora
