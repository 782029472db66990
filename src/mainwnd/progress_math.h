#pragma once

#include <QString>
#include <cstdint>

// Arithmetic of the progress slider, the time label and the volume steps.

inline constexpr int PROGRESS_RANGE = 200;
inline constexpr int VOLUME_MAX = 65535;

// What timer 2 reads from the engine for the selected pane.
struct ProgressReading {
    uint32_t nTotalFrames = 0;
    uint32_t nFileTime = 0;      // seconds
    uint32_t nPlayedTime = 0;    // seconds
    uint32_t nCurrentFrame = 0;  // UINT32_MAX: no frame shown yet
};

struct ProgressView {
    int nPos = 0;  // 0..200
    uint32_t nFrame = 0;
    uint32_t nTotalFrames = 0;
    uint32_t nPlayedTime = 0;  // as shown; may exceed the file time
    uint32_t nFileTime = 0;
};

ProgressView ComputeProgress(const ProgressReading& reading);

// "frame/total  hh:mm:ss/hh:mm:ss".
QString ProgressLabelText(const ProgressView& view);

// The frame a slider position asks for; 200 asks for one past the last frame.
uint32_t FrameForSliderPos(int nPos, uint32_t nTotalFrames);

// One tenth more or less; a volume below 10 does not move.
int VolumeUp(int nVolume);
int VolumeDown(int nVolume);

// The volume tooltip: the volume in percent.
QString VolumeTipText(int nVolume);
