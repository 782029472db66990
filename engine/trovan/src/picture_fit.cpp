#include "picture_fit.h"

#include <algorithm>
#include <cmath>

namespace trovan {

namespace {

int EvenAtLeastTwo(double value, int limit) {
    const int even = static_cast<int>(std::lround(value / 2.0)) * 2;
    return std::clamp(even, 2, limit);
}

}  // namespace

FitRect FitPicture(int width, int height, int aspectNum, int aspectDen, int frameWidth,
                   int frameHeight) {
    FitRect rect{0, 0, frameWidth, frameHeight};
    if (width <= 0 || height <= 0) return rect;
    const double aspect = aspectNum > 0 && aspectDen > 0 ? double(aspectNum) / aspectDen : 1.0;
    const double shape = width * aspect / height;
    const double frameShape = double(frameWidth) / frameHeight;
    if (shape > frameShape) {
        rect.height = EvenAtLeastTwo(frameWidth / shape, frameHeight);
    } else {
        rect.width = EvenAtLeastTwo(frameHeight * shape, frameWidth);
    }
    rect.x = (frameWidth - rect.width) / 4 * 2;
    rect.y = (frameHeight - rect.height) / 4 * 2;
    return rect;
}

}  // namespace trovan
