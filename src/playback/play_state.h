#pragma once

#include <cstdint>

// Play state of a pane; the container reports its selected pane's state with
// the same numbers.
enum PlayState : int32_t {
    PLAY_STATE_IDLE = 0,  // no file
    PLAY_STATE_PLAYING = 1,
    PLAY_STATE_PAUSED = 2,
    PLAY_STATE_STOPPED = 3,
    PLAY_STATE_OPENED = 4,  // file open, never played since
};

// A file is shown and can be stepped, sought and captured.
inline bool IsPlayingOrPaused(PlayState eState) {
    return eState == PLAY_STATE_PLAYING || eState == PLAY_STATE_PAUSED;
}

// Speed levels: +n plays 2^n times faster, -n 2^n times slower.
inline constexpr int32_t SPEED_LEVEL_MAX = 4;
inline constexpr int32_t SPEED_LEVEL_MIN = -4;
