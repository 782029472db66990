#include "sound_placement.h"

namespace trovan {

SoundPlacement PlaceSound(int64_t blockTimeUs, int64_t writtenFrames, int rate,
                          int64_t toleranceFrames) {
    // Rounded to the nearest sample frame.
    const int64_t due = (blockTimeUs * rate + (blockTimeUs >= 0 ? 500000 : -500000)) / 1000000;
    SoundPlacement placement;
    if (due > writtenFrames + toleranceFrames) {
        placement.silenceFrames = due - writtenFrames;
    } else if (due < writtenFrames - toleranceFrames || due < 0) {
        placement.skipFrames = writtenFrames - due;
    }
    return placement;
}

}  // namespace trovan
