#pragma once

#include <cstdint>

namespace trovan {

// How a block of sound joins what is written so far, so the sound stays with
// the pictures: a gap before the block becomes silence, sound that overlaps
// what is written (or lies before the first picture) is cut off. Differences
// under `toleranceFrames` are left alone, as resampling and rounding make them.
struct SoundPlacement {
    int64_t silenceFrames = 0;  // written before the block
    int64_t skipFrames = 0;     // left out from the block's start
};

SoundPlacement PlaceSound(int64_t blockTimeUs, int64_t writtenFrames, int rate,
                          int64_t toleranceFrames);

}  // namespace trovan
