#pragma once

namespace trovan {

struct FitRect {
    int x = 0, y = 0, width = 0, height = 0;
};

// Where a picture of `width` x `height` stored pixels, each `aspectNum`:`aspectDen`
// wide, goes inside a frame of square pixels, as large as fits with its shape
// kept and centred. Every value is even, as the halved colour planes need.
FitRect FitPicture(int width, int height, int aspectNum, int aspectDen, int frameWidth,
                   int frameHeight);

}  // namespace trovan
